#include "editors/RepeaterRecord35.h"

#include "editors/RadioLetters.h"
#include "link/Frames.h"
#include "model/BitHelpers.h"
#include "model/TextHelpers.h"
#include "model/ValueRules.h"
#include "model/ZoneTypes.h"

namespace tesmira {

namespace {

constexpr RepeaterRecord35::Bytes kDefaults = {
    0x01, 0x00, 0x00, 0x03, 0x04, 0x07, 0x17, 0x1E, 0x1E, 0x01,
    0x01, 0x03, 0x00, 0x01, 0x18, 0x28, 0x01, 0x01, 0x33, 0x00,
    // 32 empty transmitter entries follow
};

constexpr std::array<std::string_view, 4> kTransmissionModeTexts = {"Выключено", "Pirra-201",
                                                                    "Pirra-202", "Velmor"};
enum Mode : std::uint8_t { kModeOff = 0, kModeEightLetters = 1, kModeAllLetters = 2 };
constexpr std::uint8_t kModeBits = 0x7F;

constexpr std::array<CodedItem, 8> kStavelCheckItems = {
    {{"Выкл.", 0}, {"4", 4}, {"8", 8}, {"16", 16}, {"20", 20}, {"24", 24}, {"28", 28}, {"32", 32}}};
// clang-format off
constexpr std::array<CodedItem, 9> kSiteCheckItems = {{
    {"Выкл.", 0}, {"20", 20}, {"30", 30}, {"40", 40}, {"50", 50}, {"60", 60}, {"70", 70},
    {"80", 80}, {"90", 90}}};
// clang-format on
constexpr int kStavelCheckMax = 32;
constexpr int kSiteCheckMax = 99;
constexpr int kChannelCheckOffValue = 0;

constexpr std::size_t kRecordOffsetInFrame = 6;

std::size_t ZoneTypeCount() {
    return ZoneTypeSelection(RepeaterRecord35::kZoneTypeSelector)->size();
}

std::size_t ChannelCheckByte(RepeaterRecord35::ChannelCheck check) {
    return check == RepeaterRecord35::ChannelCheck::Stavel ? RepeaterRecord35::kStavelCheck
                                                           : RepeaterRecord35::kSiteCheck;
}

} // namespace

const RepeaterRecord35::Bytes& RepeaterRecord35::Defaults() {
    return kDefaults;
}

std::span<const std::string_view> RepeaterRecord35::TransmissionModeTexts() {
    return kTransmissionModeTexts;
}

std::span<const std::string_view> RepeaterRecord35::ReceiveLetterTexts() {
    return RadioLetterTexts(kReceiveLetterCount);
}

std::span<const CodedItem> RepeaterRecord35::ChannelCheckItems(ChannelCheck check) {
    if (check == ChannelCheck::Stavel)
        return kStavelCheckItems;
    return kSiteCheckItems;
}

std::optional<int> RepeaterRecord35::ReceiveLetterIndex() const {
    return RadioLetterIndex(bytes_[kReceiveLetter], kReceiveLetterCount);
}

std::optional<int> RepeaterRecord35::TransmissionModeIndex() const {
    const int mode = bytes_[kTransmission] & kModeBits;
    if (static_cast<std::size_t>(mode) >= kTransmissionModeTexts.size())
        return std::nullopt;
    return mode;
}

bool RepeaterRecord35::Rs485() const {
    return BitIsSet(bytes_[kTransmission], kRs485Bit);
}

RepeaterRecord35::TransmitLetters RepeaterRecord35::LettersForMode(std::uint8_t mode,
                                                                   std::uint8_t letter) {
    switch (mode) {
    case kModeOff:
        return {false, true, {}, std::nullopt};
    case kModeEightLetters:
    case kModeAllLetters: {
        const std::size_t count = mode == kModeEightLetters ? 8 : kMaxRadioLetter;
        // A letter the list lacks (20 after a switch from 30 letters to 8) is shown as no
        // selection, so the list never shows a letter other than the one to be written.
        return {true, true, RadioLetterTexts(count), RadioLetterIndex(letter, count)};
    }
    default:
        // The Velmor mode has neither; a mode no item names keeps the RS-485 box, whose bit
        // still counts.
        return {false, mode >= kTransmissionModeTexts.size(), {}, std::nullopt};
    }
}

RepeaterRecord35::TransmitLetters RepeaterRecord35::TransmitLetterView() const {
    return LettersForMode(bytes_[kTransmission] & kModeBits, bytes_[kTransmitLetter]);
}

bool RepeaterRecord35::IndicationBit(int bit) const {
    return BitIsSet(bytes_[kIndication], bit);
}

bool RepeaterRecord35::CommunicatorConnected() const {
    return BitIsSet(bytes_[kCommunicator], kCommunicatorBit);
}

std::uint8_t RepeaterRecord35::ChannelCheckPeriod(ChannelCheck check) const {
    return bytes_[ChannelCheckByte(check)];
}

std::string RepeaterRecord35::ChannelCheckText(ChannelCheck check) const {
    const std::uint8_t value = bytes_[ChannelCheckByte(check)];
    if (value == kChannelCheckOffValue)
        return std::string(repeater_text::kChannelCheckOffText);
    return std::to_string(value);
}

std::optional<int> RepeaterRecord35::RelayModeIndex(Relay relay) const {
    return RelayModeIn(bytes_[kRelayModes], RelayNibble(relay));
}

std::optional<int> RepeaterRecord35::ZoneTypeIndex(int zone) const {
    if (!ValidZone(zone) || bytes_[ZoneTypeByte(zone)] >= ZoneTypeCount())
        return std::nullopt;
    return bytes_[ZoneTypeByte(zone)];
}

bool RepeaterRecord35::ZoneEventEnabled(int zone) const {
    return ValidZone(zone) && bytes_[ZoneTypeByte(zone)] != kZoneTypeOff;
}

std::optional<std::uint8_t> RepeaterRecord35::ZoneEvent(int zone) const {
    if (!ValidZone(zone) || bytes_[ZoneEventByte(zone)] == 0)
        return std::nullopt;
    return bytes_[ZoneEventByte(zone)];
}

std::string RepeaterRecord35::DelayText(Delay delay) const {
    return std::to_string(bytes_[delay == Delay::Entry ? kEntryDelay : kExitDelay]);
}

void RepeaterRecord35::SetReceiveLetterFromIndex(int index) {
    StoreRadioLetter(bytes_[kReceiveLetter], index, kReceiveLetterCount);
}

std::optional<RepeaterRecord35::TransmitLetters>
RepeaterRecord35::SetTransmissionModeFromIndex(int index) {
    if (!IsPositionIn(index, kTransmissionModeTexts.size()))
        return std::nullopt;
    // The mode takes the whole byte, so the RS-485 bit goes too.
    bytes_[kTransmission] = static_cast<std::uint8_t>(index);
    return TransmitLetterView();
}

void RepeaterRecord35::SetTransmitLetterFromIndex(int index) {
    StoreRadioLetter(bytes_[kTransmitLetter], index, TransmitLetterView().items.size());
}

void RepeaterRecord35::SetRs485(bool on) {
    AssignBit(bytes_[kTransmission], kRs485Bit, on);
}

void RepeaterRecord35::SetIndicationBit(int bit, bool on) {
    StoreIndicationBit(bytes_[kIndication], bit, on);
}

void RepeaterRecord35::SetCommunicatorConnected(bool on) {
    AssignBit(bytes_[kCommunicator], kCommunicatorBit, on);
}

std::optional<std::string> RepeaterRecord35::SetChannelCheckFromText(ChannelCheck check,
                                                                     std::string_view text) {
    const int max = check == ChannelCheck::Stavel ? kStavelCheckMax : kSiteCheckMax;
    const ClampedIntResult read =
        ClampedInt(text, kChannelCheckOffValue, max, kChannelCheckOffValue);
    bytes_[ChannelCheckByte(check)] = static_cast<std::uint8_t>(read.value);
    if (!read.correctedText)
        return std::nullopt;
    // A corrected 0 is off, which the list calls "Выкл.".
    std::string shown = read.value == kChannelCheckOffValue
                            ? std::string(repeater_text::kChannelCheckOffText)
                            : *read.correctedText;
    if (shown == text)
        return std::nullopt;
    return shown;
}

void RepeaterRecord35::SetChannelCheckPeriod(ChannelCheck check, int period) {
    if (PositionOfCode(ChannelCheckItems(check), period))
        bytes_[ChannelCheckByte(check)] = static_cast<std::uint8_t>(period);
}

void RepeaterRecord35::SetRelayModeFromIndex(Relay relay, int index) {
    StoreRelayMode(bytes_[kRelayModes], RelayNibble(relay), index);
}

std::optional<ZoneTypeChange> RepeaterRecord35::SetZoneType(int zone, int code) {
    if (!ValidZone(zone) || !IsPositionIn(code, ZoneTypeCount()))
        return std::nullopt;
    return StoreZoneType(bytes_[ZoneTypeByte(zone)], bytes_[ZoneEventByte(zone)],
                         static_cast<std::uint8_t>(code));
}

void RepeaterRecord35::SetZoneEvent(int zone, std::uint8_t eventIndex) {
    if (ValidZone(zone))
        bytes_[ZoneEventByte(zone)] = eventIndex;
}

std::optional<std::string> RepeaterRecord35::SetDelayFromText(Delay delay, std::string_view text) {
    return StoreClamped(bytes_[delay == Delay::Entry ? kEntryDelay : kExitDelay], text,
                        kZoneDelayLimits);
}

std::span<const std::uint8_t> RepeaterRecord35::Objects() const {
    return std::span(bytes_).subspan(kObjects, kObjectCount * kTransmitterEntrySize);
}

std::span<std::uint8_t> RepeaterRecord35::Objects() {
    return std::span(bytes_).subspan(kObjects, kObjectCount * kTransmitterEntrySize);
}

std::size_t RepeaterRecord35::WriteFrame(std::span<std::uint8_t> tx, std::uint8_t type) const {
    return WriteLongFrame(tx, LongCommand::WriteConfig, type, kRecordOffsetInFrame, bytes_);
}

} // namespace tesmira
