// Fuzzes what each type's configuration takes from a reply and from a file, where the configs
// target does not look. The first byte is the type; the rest is taken as a received reply and,
// behind a file header of that type and with its CRC byte computed, as a configuration file. A
// reply is taken exactly when its frame holds the whole record, and every block comes from inside
// the frame at its place (type 32's caption block too); a file's record is its first block as it
// stands; and what the controls show can be worked out for any record taken. Whether a refusal
// changes nothing and what is taken loads back from its image, configs checks.
#include "FuzzCheck.h"
#include "app/DeviceConfigs.h"
#include "editors/RecordConfigs.h"
#include "gsm/GsmDeviceConfig.h"
#include "link/Crc8.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace {

using namespace tesmira;
using Bytes = std::vector<std::uint8_t>;
using Span = std::span<const std::uint8_t>;

using tesmira::fuzz::Require;

// What each editor's RecordToControls asks of its record.
void Show(const TwoLoopRecord& r) {
    for (int loop = 1; loop <= TwoLoopRecord::kLoopCount; ++loop)
        (void)r.LoopTypeIndex(loop), (void)r.LoopEventEnabled(loop), (void)r.LoopEvent(loop);
    (void)r.LetterIndex(), (void)r.AlarmCountIndex(), (void)r.NormCountIndex();
    (void)r.ChannelCheckIndex(), (void)r.DelayText(TwoLoopRecord::Delay::Entry);
    (void)r.DelayText(TwoLoopRecord::Delay::Exit);
}

void Show(PanelRecord& r) {
    for (int zone = 1; zone <= PanelRecord::kZoneCount; ++zone)
        Require(r.Zone(zone).has_value()); // the editor shows every zone without asking
    (void)r.ShownBoxes(), (void)r.RefreshPartitionDependency(), (void)r.InterfaceVisibility();
    for (auto relay :
         {PanelRecord::Relay::Alarm, PanelRecord::Relay::Fire, PanelRecord::Relay::Control})
        (void)r.RelayModeIndex(relay);
    (void)r.InterfaceIndex(), (void)r.LampModeIndex(), (void)r.LedModeIndex();
    (void)r.BuzzerIndex(), (void)r.SirenTimeText(), (void)r.TouchMemoryModeIndex();
    (void)r.InternalPartitionIndex();
    if (r.HasGsm())
        (void)r.GsmPage();
}

void Show(const FiveZonePanelRecord& r) {
    for (int zone = 1; zone <= 5; ++zone)
        Require(r.Zone(zone).has_value());
    (void)r.InterfaceIndex(), (void)r.SirenTimeText(), (void)r.BuzzerIndex();
    (void)r.TouchMemoryModeIndex(), (void)r.TransmissionVisibility();
}

void Show(const RepeaterRecord34& r) {
    (void)r.TransmissionIndex(), (void)r.ReceiveLetterIndex(), (void)r.SystemNumberText();
    (void)r.ChannelCheckText(), (void)r.RelayModeIndex(Relay::Alarm);
    (void)r.RelayModeIndex(Relay::Fire);
}

void Show(const RepeaterRecord35& r) {
    (void)r.ReceiveLetterIndex(), (void)r.TransmissionModeIndex(), (void)r.TransmitLetterView();
    for (auto check :
         {RepeaterRecord35::ChannelCheck::Stavel, RepeaterRecord35::ChannelCheck::Site})
        (void)r.ChannelCheckPeriod(check), (void)r.ChannelCheckText(check);
    for (int zone = 1; zone <= RepeaterRecord35::kZoneCount; ++zone)
        (void)r.ZoneTypeIndex(zone), (void)r.ZoneEvent(zone);
    (void)r.DelayText(RepeaterRecord35::Delay::Entry),
        (void)r.DelayText(RepeaterRecord35::Delay::Exit);
    (void)r.RelayModeIndex(Relay::Alarm), (void)r.RelayModeIndex(Relay::Fire);
}

void Show(const GsmConfig& c) {
    const GsmRecord& r = c.record;
    (void)r.DeviceNumberText(), (void)r.InputFormatIndex(), (void)r.ProtocolIndex();
    (void)r.TestIntervalText(), (void)r.PortText(), (void)r.AddressText();
    for (auto sim : {GsmRecord::Sim::Sim1, GsmRecord::Sim::Sim2})
        (void)r.BalanceCodeText(sim), (void)r.ThresholdText(sim);
}

// Each editor's record (type 32: its whole configuration), as its RecordToControls sees it.
void ShowRecord(DeviceConfig& config) {
    if (auto* c = dynamic_cast<TwoLoopConfig*>(&config))
        Show(c->record);
    else if (auto* c = dynamic_cast<PanelConfig*>(&config))
        Show(c->record);
    else if (auto* c = dynamic_cast<FiveZonePanelConfig*>(&config))
        Show(c->record);
    else if (auto* c = dynamic_cast<RepeaterConfig34*>(&config))
        Show(c->record);
    else if (auto* c = dynamic_cast<RepeaterConfig35*>(&config))
        Show(c->record);
    else if (auto* c = dynamic_cast<GsmDeviceConfig*>(&config))
        Show(c->gsm);
    else
        Require(false); // a type this fuzzer does not know yet
}

// Where a reply's frame holds the file blocks it brings: the record right after the short (7E) or
// long (14) header; type 32's caption block over the end of its record's copy.
std::vector<std::size_t> BlockPlaces(std::uint8_t type, Span reply) {
    const std::size_t at = reply.empty() ? 0 : reply[0] == 0x7E ? 5 : reply[0] == 0x14 ? 6 : 0;
    if (type == GsmRecord::kType)
        return {at, kGsmReplyCaptionsAt};
    return {at};
}

bool HoldsAt(Span outer, std::size_t at, Span block) {
    return at + block.size() <= outer.size() &&
           std::equal(block.begin(), block.end(), outer.begin() + static_cast<std::ptrdiff_t>(at));
}

void CheckReply(std::uint8_t type, Span reply) {
    const auto config = MakeDeviceConfig(type);
    const bool taken = config->LoadFromReply(reply).Taken();
    const std::size_t frame = std::min(reply.size(), ExpectedFrameLength(reply));
    const std::vector<std::size_t> places = BlockPlaces(type, reply);
    const auto blocks = config->FileBlocks();
    // A one-record type takes every frame that holds its record before the CRC.
    if (type != GsmRecord::kType)
        Require(taken == (places[0] != 0 && ExpectedFrameLength(reply) <= reply.size() &&
                          places[0] + blocks[0].size() < frame));
    if (!taken)
        return;
    // Type 30's direction block stays as it was: no reply holds it.
    Require(places[0] != 0 && blocks.size() >= places.size());
    for (std::size_t i = 0; i < places.size(); ++i)
        Require(places[i] + blocks[i].size() < frame && HoldsAt(reply, places[i], blocks[i]));
    ShowRecord(*config);
}

// The file's first record is the configuration's first block, behind the header and its length.
void CheckFile(std::uint8_t type, Span file) {
    const auto config = MakeDeviceConfig(type);
    if (!config->LoadImage(file).Taken())
        return;
    const Span first = config->FileBlocks().front();
    Require(file[3] * 256u + file[4] == first.size() && HoldsAt(file, 5, first));
    ShowRecord(*config);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || !MakeDeviceConfig(data[0]))
        return 0;
    const std::uint8_t type = data[0];
    const Span rest(data + 1, std::min(size - 1, kReceiveBufferSize));
    CheckReply(type, rest);

    // The file: header, the fuzzed records, CRC.
    Bytes file = {ConfigFile::kFormatVersion, 0, type};
    file.insert(file.end(), rest.begin(),
                rest.begin() + static_cast<std::ptrdiff_t>(
                                   std::min(rest.size(), ConfigFile::kBufferSize - 4)));
    file.push_back(Crc8(file));
    CheckFile(type, file);
    return 0;
}
