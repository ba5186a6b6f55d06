#include "editors/PanelRecord.h"

#include "link/Frames.h"
#include "model/BitHelpers.h"
#include "model/ConfigFile.h"
#include "model/TextHelpers.h"
#include "model/ZoneTypes.h"

namespace tesmira {

namespace {

constexpr PanelRecord::Bytes kDefaults = {
    0x38, 0x17, 0x1E, 0x1E, 0x28, 0x14, 0x00, 0x00, 0x28, 0x14, 0x00, 0x00, 0x28, 0x14, 0x00,
    0x00, 0x08, 0x10, 0x00, 0x00, 0x10, 0x0F, 0x00, 0x00, 0x18, 0x04, 0x00, 0x00, 0x18, 0x04,
    0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x33, 0x10, 0x00, 0x80, 0x01, 0x10, 0x01, 0x00,
    0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0xFF, 0x00, 0x78, 0x00, 0x00, 0x00};

constexpr std::array<std::string_view, 8> kPartitionTexts = {"1", "2", "3", "4",
                                                             "5", "6", "7", "8"};
constexpr std::array<std::string_view, 11> kLampModeTexts = {
    "Отключено в норме",
    "Горит если взят раздел 1",
    "Горит если взят раздел 2",
    "Горит если взят раздел 3",
    "Горит если взят раздел 4",
    "Горит если взят раздел 5",
    "Горит если взят раздел 6",
    "Горит если взят раздел 7",
    "Горит если взят раздел 8",
    "Горит если все разделы взяты",
    "Горит если взят хоть один из разделов"};
constexpr std::array<std::string_view, 9> kLedModeTexts = {
    "Отключен в норме",         "Горит если взят раздел 1", "Горит если взят раздел 2",
    "Горит если взят раздел 3", "Горит если взят раздел 4", "Горит если взят раздел 5",
    "Горит если взят раздел 6", "Горит если взят раздел 7", "Горит если взят раздел 8"};

constexpr PanelRecord::Message kGsmWarning = {
    "Недоступно", "Извините, пока в программаторе не реализована\r\nподдержка GSM-Vantiq"};

// Fields of a zone's settings byte and of the other packed bytes.
constexpr int kPartitionShift = 0;
constexpr std::uint8_t kPartitionMask = 0x07;
constexpr int kTypeShift = 3;
constexpr std::uint8_t kTypeMask = 0x0F;
constexpr int kRequeryBit = 7;
constexpr int kHighNibble = 4;
constexpr int kLowNibble = 0;
constexpr std::uint8_t kNibble = 0x0F;

constexpr std::uint8_t kZoneTypeTechnical = 4;
constexpr std::uint8_t kZoneTypeDoor = 7;

std::uint8_t Field(std::uint8_t byte, int shift, std::uint8_t mask) {
    return static_cast<std::uint8_t>((byte >> shift) & mask);
}

void SetField(std::uint8_t& byte, int shift, std::uint8_t mask, std::uint8_t value) {
    byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | ((value & mask) << shift));
}

bool IsFireType(std::uint8_t type) {
    return type == 3 || type == 8;
}

bool IsGuardType(std::uint8_t type) {
    return type == 5 || type == 6 || type == 7;
}

// Both relays of byte 37 and the control relay in the high nibble of byte 38.
std::size_t RelayByte(PanelRecord::Relay relay) {
    return relay == PanelRecord::Relay::Control ? PanelRecord::kControlRelay
                                                : PanelRecord::kRelayModes;
}

Nibble RelayNibble(PanelRecord::Relay relay) {
    return relay == PanelRecord::Relay::Fire ? Nibble::Low : Nibble::High;
}

bool IsMonitorTag(int tag) {
    return tag == PanelRecord::kMonitorRelay3 || tag == PanelRecord::kMonitorRelay4 ||
           tag == PanelRecord::kMonitorSiren || tag == PanelRecord::kMonitorLamp;
}

} // namespace

// Where the two types differ; everything else is the same.
struct PanelRecord::Traits {
    std::size_t interfaceCount;
    bool gsm;                 // GSM page: bytes 44, 45 and the direction block
    bool networkNumber;       // byte 43 at interface RS-485
    bool guardlessPartitions; // byte 33 recomputed
};

const PanelRecord::Traits& PanelRecord::traits() const {
    static constexpr Traits kType30Traits = {4, true, true, true};
    static constexpr Traits kType31Traits = {3, false, false, false};
    return type_ == kType30 ? kType30Traits : kType31Traits;
}

bool PanelRecord::DependencyView::Enabled(int partition) const {
    return partition >= 2 && partition <= kPartitionCount && BitIsSet(enabledMask, partition - 1);
}

const PanelRecord::Message& PanelRecord::GsmWarning() {
    return kGsmWarning;
}

const PanelRecord::Bytes& PanelRecord::Defaults() {
    return kDefaults;
}

PanelRecord::PanelRecord(std::uint8_t type) : type_(type), bytes_(kDefaults) {}

bool PanelRecord::HasGsm() const {
    return traits().gsm;
}

std::span<const std::string_view> PanelRecord::PartitionTexts() {
    return kPartitionTexts;
}

std::span<const std::string_view> PanelRecord::LampModeTexts() {
    return kLampModeTexts;
}

std::span<const std::string_view> PanelRecord::LedModeTexts() {
    return kLedModeTexts;
}

std::span<const std::string_view> PanelRecord::InterfaceTexts() const {
    return std::span<const std::string_view>(InterfaceNames()).first(traits().interfaceCount);
}

std::uint8_t PanelRecord::ZoneType(int zone) const {
    return Field(bytes_[ZoneByte(zone)], kTypeShift, kTypeMask);
}

std::optional<PanelRecord::ZoneView> PanelRecord::Zone(int zone) const {
    if (!ValidZone(zone))
        return std::nullopt;
    const std::size_t at = ZoneByte(zone);
    const std::uint8_t type = ZoneType(zone);
    const std::size_t typeCount = ZoneTypeSelection(kZoneTypeSelector)->size();
    ZoneView view;
    view.partitionIndex = Field(bytes_[at], kPartitionShift, kPartitionMask);
    view.typeIndex = PositionIn(type, typeCount);
    view.eventEnabled = type != kZoneTypeOff;
    view.eventSelection = ZoneEventSelection(bytes_[at + 1]);
    view.delaysVisible = type == kZoneTypeDoor;
    view.exitDelayText = std::to_string(bytes_[at + 2]);
    view.entryDelayText = std::to_string(bytes_[at + 3]);
    view.rearmEnabled = type != kZoneTypeTechnical;
    view.rearmVisible = type != kZoneTypeOff;
    view.rearmChecked = BitIsSet(bytes_[kRearm], zone - 1);
    view.requeryVisible = IsFireType(type);
    view.requeryChecked = BitIsSet(bytes_[at], kRequeryBit);
    return view;
}

std::optional<int> PanelRecord::RelayModeIndex(Relay relay) const {
    return RelayModeIn(bytes_[RelayByte(relay)], RelayNibble(relay));
}

bool PanelRecord::SmsRelayOn(SmsRelay relay) const {
    return BitIsSet(bytes_[kSmsRelays], static_cast<int>(relay));
}

bool PanelRecord::HasOption(Option option) const {
    return BitIsSet(bytes_[kOptions], static_cast<int>(option));
}

int PanelRecord::InternalPartitionIndex() const {
    return Field(bytes_[kOptions], kPartitionShift, kPartitionMask);
}

std::optional<int> PanelRecord::LampModeIndex() const {
    return PositionIn(Field(bytes_[kLampAndLed], kLowNibble, kNibble), kLampModeTexts.size());
}

std::optional<int> PanelRecord::LedModeIndex() const {
    return PositionIn(Field(bytes_[kLampAndLed], kHighNibble, kNibble), kLedModeTexts.size());
}

std::optional<int> PanelRecord::BuzzerIndex() const {
    return BuzzerIndexOfValue(bytes_[kBuzzer]);
}

bool PanelRecord::MonitorBit(int tag) const {
    return IsMonitorTag(tag) && BitIsSet(bytes_[kMonitoring], tag);
}

std::string PanelRecord::SirenTimeText() const {
    return tesmira::SirenTimeText(std::span(bytes_).subspan<kSirenTime, 2>());
}

std::optional<int> PanelRecord::TouchMemoryModeIndex() const {
    return PositionIn(bytes_[kTouchMemory], TouchMemoryModeTexts().size());
}

std::optional<int> PanelRecord::InterfaceIndex() const {
    return PositionIn(bytes_[kInterface], traits().interfaceCount);
}

PanelRecord::InterfaceView PanelRecord::VisibilityFor(int position) const {
    return {position == kInterfaceRadio, traits().gsm && position == kInterfaceGsm,
            traits().networkNumber && position == kInterfaceRs485};
}

PanelRecord::InterfaceView PanelRecord::InterfaceVisibility() const {
    return VisibilityFor(InterfaceIndex().value_or(-1));
}

PanelRecord::GsmPageView PanelRecord::GsmPage() const {
    return {directions_.DeviceNumberText(), directions_.DecodeRows(), directions_.SendsSms(),
            directions_.SendsSms(), std::to_string(bytes_[kChannelTest])};
}

std::span<const std::uint8_t, BoxFieldState::kColumns> PanelRecord::MatrixOutputs() const {
    return std::span(bytes_).subspan<kMatrix, BoxFieldState::kColumns>();
}

std::uint8_t PanelRecord::GuardMask() const {
    std::uint8_t guard = 0;
    for (int zone = 1; zone <= kZoneCount; ++zone) {
        if (IsGuardType(ZoneType(zone)))
            SetBit(guard, Field(bytes_[ZoneByte(zone)], kPartitionShift, kPartitionMask));
    }
    return guard;
}

PanelRecord::CollectedBoxes PanelRecord::ShownBoxes() const {
    CollectedBoxes boxes;
    for (int zone = 1; zone <= kZoneCount; ++zone) {
        boxes.rearm[zone - 1] = BitIsSet(bytes_[kRearm], zone - 1);
        boxes.requery[zone - 1] = BitIsSet(bytes_[ZoneByte(zone)], kRequeryBit);
    }
    boxes.dependency = static_cast<std::uint8_t>(bytes_[kDependency] & GuardMask() & 0xFE);
    const auto outputs = MatrixOutputs();
    std::copy(outputs.begin(), outputs.end(), boxes.matrixOutputs.begin());
    boxes.armingCondition = bytes_[kArmingCondition];
    return boxes;
}

PanelRecord::DependencyView PanelRecord::RefreshPartitionDependency() {
    const std::uint8_t guard = GuardMask();
    if (traits().guardlessPartitions) {
        std::uint8_t active = 0;
        for (int zone = 1; zone <= kZoneCount; ++zone) {
            if (ZoneType(zone) != kZoneTypeOff)
                SetBit(active, Field(bytes_[ZoneByte(zone)], kPartitionShift, kPartitionMask));
        }
        bytes_[kGuardlessPartitions] = static_cast<std::uint8_t>(active & ~guard);
    }
    // Partition 1 has no box: it is the one that depends.
    return {static_cast<std::uint8_t>(guard & 0xFE)};
}

std::optional<PanelRecord::DependencyView> PanelRecord::SetZonePartition(int zone, int position) {
    if (!ValidZone(zone) || !IsPositionIn(position, kPartitionCount))
        return std::nullopt;
    SetField(bytes_[ZoneByte(zone)], kPartitionShift, kPartitionMask,
             static_cast<std::uint8_t>(position));
    return RefreshPartitionDependency();
}

std::optional<PanelRecord::ZoneTypeChange> PanelRecord::SetZoneType(int zone, int code) {
    const std::size_t typeCount = ZoneTypeSelection(kZoneTypeSelector)->size();
    if (!ValidZone(zone) || !IsPositionIn(code, typeCount))
        return std::nullopt;
    const auto type = static_cast<std::uint8_t>(code);
    const std::size_t at = ZoneByte(zone);
    // The type goes into bits 3-6 below; the shared rule stores the event.
    std::uint8_t typeOnly = type;
    StoreZoneType(typeOnly, bytes_[at + 1], type);
    const bool door = type == kZoneTypeDoor;
    if (door) {
        bytes_[at + 2] = kDoorDelay;
        bytes_[at + 3] = kDoorDelay;
    }
    SetField(bytes_[at], kTypeShift, kTypeMask, type);
    ZoneTypeChange change{*Zone(zone), RefreshPartitionDependency()};
    change.view.rearmChecked = type != kZoneTypeOff;
    change.view.requeryChecked = false;
    if (!door) {
        // Hidden fields show 0; the bytes keep what they held.
        change.view.entryDelayText = "0";
        change.view.exitDelayText = "0";
    }
    return change;
}

void PanelRecord::SetZoneEvent(int zone, std::uint8_t eventIndex) {
    if (ValidZone(zone))
        bytes_[ZoneByte(zone) + 1] = eventIndex;
}

std::optional<std::string> PanelRecord::SetZoneDelayFromText(int zone, Delay delay,
                                                             std::string_view text) {
    if (!ValidZone(zone))
        return std::nullopt;
    return StoreClamped(bytes_[ZoneByte(zone) + (delay == Delay::Exit ? 2 : 3)], text,
                        kZoneDelayLimits);
}

void PanelRecord::SetRelayMode(Relay relay, int position) {
    StoreRelayMode(bytes_[RelayByte(relay)], RelayNibble(relay), position);
}

void PanelRecord::SetSmsRelay(SmsRelay relay, bool on) {
    AssignBit(bytes_[kSmsRelays], static_cast<int>(relay), on);
}

void PanelRecord::SetOption(Option option, bool on) {
    AssignBit(bytes_[kOptions], static_cast<int>(option), on);
}

void PanelRecord::SetInternalPartition(int position) {
    if (IsPositionIn(position, kPartitionCount))
        SetField(bytes_[kOptions], kPartitionShift, kPartitionMask,
                 static_cast<std::uint8_t>(position));
}

void PanelRecord::SetLampMode(int position) {
    if (IsPositionIn(position, kLampModeTexts.size()))
        SetField(bytes_[kLampAndLed], kLowNibble, kNibble, static_cast<std::uint8_t>(position));
}

void PanelRecord::SetLedMode(int position) {
    if (IsPositionIn(position, kLedModeTexts.size()))
        SetField(bytes_[kLampAndLed], kHighNibble, kNibble, static_cast<std::uint8_t>(position));
}

void PanelRecord::SetBuzzerFromIndex(int index) {
    StoreBuzzerChoice(bytes_[kBuzzer], bytes_[kOptions], index);
}

void PanelRecord::SetMonitorBit(int tag, bool on) {
    if (IsMonitorTag(tag))
        AssignBit(bytes_[kMonitoring], tag, on);
}

std::optional<std::string> PanelRecord::SetSirenTimeFromText(std::string_view text) {
    return StoreSirenTime(std::span(bytes_).subspan<kSirenTime, 2>(), text);
}

void PanelRecord::SetTouchMemoryMode(int position) {
    StorePosition(bytes_[kTouchMemory], position, TouchMemoryModeTexts().size());
}

PanelRecord::InterfaceChange PanelRecord::SetInterface(int picked) {
    const int position = IsPositionIn(picked, traits().interfaceCount) ? picked : -1;
    const bool wasGsm = bytes_[kInterface] == kInterfaceGsm;
    bytes_[kInterface] = position < 0 ? kInterfaceNone : static_cast<std::uint8_t>(position);
    InterfaceChange change{VisibilityFor(position), false, std::nullopt};
    if (position != kInterfaceGsm)
        return change;
    // Picking GSM again keeps the device number typed meanwhile.
    if (traits().gsm && !wasGsm) {
        directions_.Reset();
        change.directionsReset = true;
    }
    change.warning = kGsmWarning;
    return change;
}

void PanelRecord::SetSmsDisarm(bool on) {
    if (traits().gsm)
        bytes_[kSmsDisarm] = on ? 1 : 0;
}

std::optional<std::string> PanelRecord::SetChannelTestFromText(std::string_view text) {
    if (!traits().gsm)
        return std::nullopt;
    return StoreClamped(bytes_[kChannelTest], text, kChannelTestLimits);
}

bool PanelRecord::SetDeviceNumberFromText(std::string_view text) {
    return traits().gsm && directions_.SetDeviceNumberFromText(text);
}

void PanelRecord::SetNetworkNumber(int number) {
    if (traits().networkNumber && number >= kNetworkNumberMin && number <= kNetworkNumberMax)
        bytes_[kNetworkNumber] = static_cast<std::uint8_t>(number);
}

void PanelRecord::StoreCollectedBoxes(const CollectedBoxes& boxes) {
    const DependencyView dependency = RefreshPartitionDependency();
    bytes_[kDependency] = static_cast<std::uint8_t>(boxes.dependency & dependency.enabledMask);
    for (int zone = 1; zone <= kZoneCount; ++zone) {
        AssignBit(bytes_[kRearm], zone - 1, boxes.rearm[zone - 1]);
        AssignBit(bytes_[ZoneByte(zone)], kRequeryBit, boxes.requery[zone - 1]);
    }
    std::copy(boxes.matrixOutputs.begin(), boxes.matrixOutputs.end(), bytes_.begin() + kMatrix);
    bytes_[kArmingCondition] = boxes.armingCondition;
}

std::size_t PanelRecord::WriteFrame(std::span<std::uint8_t> tx) const {
    return WriteShortWriteFrame(tx, type_, bytes_);
}

std::vector<std::span<const std::uint8_t>> PanelRecord::FileBlocks() const {
    std::vector<std::span<const std::uint8_t>> blocks{bytes_};
    if (traits().gsm && bytes_[kInterface] == kInterfaceGsm)
        blocks.emplace_back(directions_.bytes());
    return blocks;
}

bool PanelRecord::LoadFromFile(ConfigFile& reader) {
    Bytes record;
    if (reader.ReadRecord(record, kSize) == 0)
        return false;
    // The device number lives only in this block: without it a save and open would lose it. A
    // block that is there but not the direction block refuses the whole file.
    PanelDirections::Bytes block;
    const bool withBlock = traits().gsm && reader.HasNextRecord();
    if (withBlock && reader.ReadRecord(block, PanelDirections::kSize) == 0)
        return false;
    bytes_ = record;
    if (withBlock)
        directions_.Assign(block);
    return true;
}

} // namespace tesmira
