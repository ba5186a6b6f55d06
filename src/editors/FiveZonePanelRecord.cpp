#include "editors/FiveZonePanelRecord.h"

#include "link/Frames.h"
#include "model/BitHelpers.h"
#include "model/ZoneTypes.h"

namespace tesmira {

namespace {

constexpr FiveZonePanelRecord::Bytes kDefaults = {0x07, 0x17, 0x05, 0x14, 0x06, 0x15, 0x02,
                                                  0x0F, 0x03, 0x04, 0x00, 0x00, 0x01, 0x00,
                                                  0x80, 0x00, 0x78, 0x00, 0x00, 0x00};

constexpr std::array<std::string_view, 3> kInterfaces = {"Отключено", "Velmar ППМ, Quell",
                                                         "RS-485"};

std::size_t ZoneTypeCount() {
    return ZoneTypeSelection(FiveZonePanelRecord::kZoneTypeSelector)->size();
}

} // namespace

const FiveZonePanelRecord::Bytes& FiveZonePanelRecord::Defaults() {
    return kDefaults;
}

std::span<const std::string_view> FiveZonePanelRecord::InterfaceTexts() {
    return kInterfaces;
}

std::optional<FiveZonePanelRecord::ZoneView> FiveZonePanelRecord::Zone(int zone) const {
    if (!ValidZone(zone))
        return std::nullopt;
    const std::uint8_t type = bytes_[ZoneByte(zone)];
    return ZoneView{PositionIn(type, ZoneTypeCount()), type != kZoneTypeOff,
                    ZoneEventSelection(bytes_[ZoneByte(zone) + 1])};
}

std::optional<int> FiveZonePanelRecord::InterfaceIndex() const {
    return PositionIn(bytes_[kInterface], kInterfaces.size());
}

bool FiveZonePanelRecord::HasOption(Option option) const {
    return BitIsSet(bytes_[kOptions], static_cast<int>(option));
}

std::string FiveZonePanelRecord::SirenTimeText() const {
    return tesmira::SirenTimeText(std::span(bytes_).subspan<kSirenTime, 2>());
}

std::optional<int> FiveZonePanelRecord::BuzzerIndex() const {
    return BuzzerIndexOfValue(bytes_[kBuzzer]);
}

std::optional<int> FiveZonePanelRecord::TouchMemoryModeIndex() const {
    return PositionIn(bytes_[kTouchMemory], TouchMemoryModeTexts().size());
}

FiveZonePanelRecord::TransmissionView FiveZonePanelRecord::TransmissionVisibility() const {
    const std::uint8_t interface = bytes_[kInterface];
    return {interface == kInterfaceRs485, interface == kInterfaceRadio || GsmOn()};
}

std::optional<FiveZonePanelRecord::ZoneView> FiveZonePanelRecord::SetZoneType(int zone, int code) {
    if (!ValidZone(zone) || code < 0 || static_cast<std::size_t>(code) >= ZoneTypeCount())
        return std::nullopt;
    const auto type = static_cast<std::uint8_t>(code);
    StoreZoneType(bytes_[ZoneByte(zone)], bytes_[ZoneByte(zone) + 1], type);
    return Zone(zone);
}

void FiveZonePanelRecord::SetZoneEvent(int zone, std::uint8_t eventIndex) {
    if (ValidZone(zone))
        bytes_[ZoneByte(zone) + 1] = eventIndex;
}

FiveZonePanelRecord::TransmissionView FiveZonePanelRecord::SetInterface(int position) {
    StorePosition(bytes_[kInterface], position, kInterfaces.size());
    return TransmissionVisibility();
}

FiveZonePanelRecord::TransmissionView FiveZonePanelRecord::SetGsm(bool on) {
    bytes_[kGsm] = on ? 1 : 0;
    return TransmissionVisibility();
}

void FiveZonePanelRecord::SetNetworkNumber(int number) {
    if (number >= kNetworkNumberMin && number <= kNetworkNumberMax)
        bytes_[kNetworkNumber] = static_cast<std::uint8_t>(number);
}

void FiveZonePanelRecord::SetOption(Option option, bool on) {
    AssignBit(bytes_[kOptions], static_cast<int>(option), on);
}

std::optional<std::string> FiveZonePanelRecord::SetSirenTimeFromText(std::string_view text) {
    return StoreSirenTime(std::span(bytes_).subspan<kSirenTime, 2>(), text);
}

void FiveZonePanelRecord::SetBuzzerFromIndex(int index) {
    StoreBuzzerChoice(bytes_[kBuzzer], bytes_[kOptions], index);
}

bool FiveZonePanelRecord::SetTouchMemoryMode(int position) {
    StorePosition(bytes_[kTouchMemory], position, TouchMemoryModeTexts().size());
    return LineShortVisible();
}

std::size_t FiveZonePanelRecord::WriteFrame(std::span<std::uint8_t> tx) const {
    return WriteShortWriteFrame(tx, kType33, bytes_);
}

} // namespace tesmira
