// Fuzzes the record rules of every device type with the bytes a reply and a file bring. The first
// byte is the type; the rest is taken as a received reply and, behind a file header of that type
// and with its CRC byte computed, as a configuration file. A record comes only from inside its
// frame or its file, a refused one changes nothing, a record opened from a file saves and opens
// again unchanged (type 30's direction block, type 32's caption block with it), and what the
// controls show can be worked out for any record.
#include "FuzzCheck.h"
#include "editors/FiveZonePanelRecord.h"
#include "editors/PanelRecord.h"
#include "editors/RepeaterRecord34.h"
#include "editors/RepeaterRecord35.h"
#include "editors/TwoLoopRecord.h"
#include "gsm/GsmConfig.h"
#include "link/Crc8.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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
        (void)r.ChannelCheckText(check);
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

// The reply as the editor takes it: the record from the payload offset, and nothing from outside
// the frame that was received.
template <typename Record> void CheckReply(Span reply, Record& record) {
    auto bytes = record.bytes();
    const auto before = bytes;
    const bool loaded = CopyReplyRecord(reply, bytes);
    const std::size_t frame = ExpectedFrameLength(reply);
    const std::size_t at = reply.empty() ? 0 : reply[0] == 0x7E ? 5 : reply[0] == 0x14 ? 6 : 0;
    Require(loaded == (at != 0 && frame <= reply.size() && at + bytes.size() < frame));
    if (!loaded) {
        Require(bytes == before);
        return;
    }
    Require(
        std::equal(bytes.begin(), bytes.end(), reply.begin() + static_cast<std::ptrdiff_t>(at)));
    record.Assign(bytes);
    Show(record);
}

void CheckGsmReply(Span reply) {
    GsmConfig config;
    const GsmRecord::Bytes before = config.record.bytes();
    if (config.LoadFromReply(reply) != GsmReplyOutcome::Loaded) {
        Require(config.record.bytes() == before);
        return;
    }
    const std::size_t frame = std::min(reply.size(), ExpectedFrameLength(reply));
    const Span block = config.captions.block();
    Require(kGsmReplyCaptionsAt + block.size() < frame);
    Require(std::equal(block.begin(), block.end(), reply.begin() + kGsmReplyCaptionsAt));
    Show(config);
}

ConfigFile Opened(const ConfigFile& writer) {
    ConfigFile reader;
    reader.LoadFromBytes(writer.Image());
    return reader;
}

// Whether the file's first record, behind the header and its length field, is `record`.
bool IsFirstRecord(Span file, Span record) {
    return file.size() > 5 + record.size() && file[3] * 256u + file[4] == record.size() &&
           std::equal(record.begin(), record.end(), file.begin() + 5);
}

// A one-record type: the record is the file's first, of exactly the record's size.
template <typename Record> void CheckFile(ConfigFile& reader, Span file, Record& record) {
    auto bytes = record.bytes();
    if (reader.ReadRecord(bytes, bytes.size()) == 0)
        return;
    Require(IsFirstRecord(file, bytes));
    record.Assign(bytes);
    Show(record);
}

void CheckPanelFile(ConfigFile& reader, Span file, std::uint8_t type) {
    PanelRecord record(type);
    const PanelRecord before = record;
    if (!record.LoadFromFile(reader)) {
        Require(record.bytes() == before.bytes() &&
                record.directions().bytes() == before.directions().bytes());
        return;
    }
    Require(IsFirstRecord(file, record.bytes()));
    Show(record);
    ConfigFile writer(type);
    for (Span block : record.FileBlocks())
        writer.AddRecord(block);
    ConfigFile reopened = Opened(writer);
    PanelRecord again(type);
    Require(again.LoadFromFile(reopened) && again.bytes() == record.bytes());
    if (record.FileBlocks().size() == 2)
        Require(again.directions().bytes() == record.directions().bytes());
}

void CheckGsmFile(ConfigFile& reader) {
    GsmConfig config;
    const GsmRecord::Bytes before = config.record.bytes();
    const Bytes beforeBlock(config.captions.block().begin(), config.captions.block().end());
    bool loaded = false;
    try {
        loaded = config.LoadFromFile(reader);
    } catch (const ConfigFileError&) {
    }
    const Span block = config.captions.block();
    if (!loaded) {
        Require(config.record.bytes() == before &&
                std::equal(block.begin(), block.end(), beforeBlock.begin(), beforeBlock.end()));
        return;
    }
    Show(config);
    ConfigFile writer(GsmRecord::kType);
    config.SaveTo(writer);
    ConfigFile reopened = Opened(writer);
    GsmConfig again;
    Require(again.LoadFromFile(reopened) && again.record.bytes() == config.record.bytes());
    const Span blockAgain = again.captions.block();
    Require(std::equal(block.begin(), block.end(), blockAgain.begin(), blockAgain.end()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t type = data[0];
    const Span rest(data + 1, std::min(size - 1, kReceiveBufferSize));

    // The file: header, the fuzzed records, CRC.
    Bytes file = {ConfigFile::kFormatVersion, 0, type};
    file.insert(file.end(), rest.begin(),
                rest.begin() + static_cast<std::ptrdiff_t>(
                                   std::min(rest.size(), ConfigFile::kBufferSize - 4)));
    file.push_back(Crc8(file));
    ConfigFile reader;
    bool opened = false;
    try {
        reader.LoadFromBytes(file);
        opened = true;
    } catch (const ConfigFileError&) {
    }

    switch (type) {
    case TwoLoopRecord::kType26:
    case TwoLoopRecord::kType27: {
        TwoLoopRecord reply(type), fromFile(type);
        CheckReply(rest, reply);
        if (opened)
            CheckFile(reader, file, fromFile);
        break;
    }
    case PanelRecord::kType30:
    case PanelRecord::kType31: {
        PanelRecord reply(type);
        CheckReply(rest, reply);
        if (opened)
            CheckPanelFile(reader, file, type);
        break;
    }
    case GsmRecord::kType:
        CheckGsmReply(rest);
        if (opened)
            CheckGsmFile(reader);
        break;
    case FiveZonePanelRecord::kType33: {
        FiveZonePanelRecord reply, fromFile;
        CheckReply(rest, reply);
        if (opened)
            CheckFile(reader, file, fromFile);
        break;
    }
    case RepeaterRecord34::kType: {
        RepeaterRecord34 reply, fromFile;
        CheckReply(rest, reply);
        if (opened)
            CheckFile(reader, file, fromFile);
        break;
    }
    case RepeaterRecord35::kType: {
        RepeaterRecord35 reply, fromFile;
        CheckReply(rest, reply);
        if (opened)
            CheckFile(reader, file, fromFile);
        break;
    }
    default:
        break;
    }
    return 0;
}
