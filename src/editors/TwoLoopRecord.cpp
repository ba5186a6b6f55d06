#include "editors/TwoLoopRecord.h"

#include "editors/RadioLetters.h"
#include "link/Frames.h"
#include "model/BitHelpers.h"
#include "model/TextHelpers.h"
#include "model/ValueRules.h"
#include "model/ZoneTypes.h"

#include <charconv>

namespace tesmira {

namespace {

constexpr TwoLoopRecord::Bytes kDefaults26 = {0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                                              0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};
constexpr TwoLoopRecord::Bytes kDefaults27 = {0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07,
                                              0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};

constexpr std::array<std::string_view, 10> kAlarmCountTexts = {"3", "4", "5",  "6",  "7",
                                                               "8", "9", "10", "11", "12"};
constexpr std::array<std::string_view, 8> kNormCountTexts = {"1", "2", "3", "4",
                                                             "5", "6", "7", "8"};
// From the fourth item on the device's own texts have two spaces before "мин.".
constexpr std::array<std::string_view, 14> kChannelCheckTexts = {
    "откл.",     "30 сек",  "1 мин.",    "1,5  мин.", "2  мин.",   "2,5  мин.", "3  мин.",
    "3,5  мин.", "4  мин.", "4,5  мин.", "5  мин.",   "5,5  мин.", "6  мин.",   "6,5  мин."};

std::size_t LoopZoneTypeCount() {
    return ZoneTypeSelection(TwoLoopRecord::kZoneTypeSelector)->size();
}

std::optional<int> IndexOfValueText(std::uint8_t value, std::span<const std::string_view> texts) {
    const int index = IndexOfText(texts, std::to_string(value));
    if (index < 0)
        return std::nullopt;
    return index;
}

// Stores the number an item text stands for, when the text is one of the items.
void StoreItemNumber(std::uint8_t& target, std::string_view text,
                     std::span<const std::string_view> texts) {
    if (IndexOfText(texts, text) < 0)
        return;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size())
        target = static_cast<std::uint8_t>(value);
}

} // namespace

TwoLoopRecord::Bytes TwoLoopRecord::Defaults(std::uint8_t type) {
    return type == kType27 ? kDefaults27 : kDefaults26;
}

TwoLoopRecord::TwoLoopRecord(std::uint8_t type) : bytes_(Defaults(type)) {}

std::span<const std::string_view> TwoLoopRecord::LetterTexts() {
    return RadioLetterTexts(kMaxRadioLetter);
}

std::span<const std::string_view> TwoLoopRecord::AlarmCountTexts() {
    return kAlarmCountTexts;
}

std::span<const std::string_view> TwoLoopRecord::NormCountTexts() {
    return kNormCountTexts;
}

std::span<const std::string_view> TwoLoopRecord::ChannelCheckTexts() {
    return kChannelCheckTexts;
}

std::optional<int> TwoLoopRecord::LetterIndex() const {
    return RadioLetterIndex(bytes_[kLetter], kMaxRadioLetter);
}

std::optional<int> TwoLoopRecord::AlarmCountIndex() const {
    return IndexOfValueText(bytes_[kAlarmCount], kAlarmCountTexts);
}

std::optional<int> TwoLoopRecord::NormCountIndex() const {
    return IndexOfValueText(bytes_[kNormCount], kNormCountTexts);
}

std::optional<int> TwoLoopRecord::ChannelCheckIndex() const {
    return PositionIn(bytes_[kChannelCheck], kChannelCheckTexts.size());
}

std::optional<int> TwoLoopRecord::LoopTypeIndex(int loop) const {
    if (!ValidLoop(loop))
        return std::nullopt;
    return PositionIn(bytes_[LoopTypeByte(loop)], LoopZoneTypeCount());
}

bool TwoLoopRecord::LoopEventEnabled(int loop) const {
    return ValidLoop(loop) && bytes_[LoopTypeByte(loop)] != kZoneTypeOff;
}

std::uint8_t TwoLoopRecord::LoopEvent(int loop) const {
    return ValidLoop(loop) ? bytes_[LoopEventByte(loop)] : 0;
}

std::string TwoLoopRecord::DelayText(Delay delay) const {
    return std::to_string(bytes_[delay == Delay::Entry ? kEntryDelay : kExitDelay]);
}

bool TwoLoopRecord::MonitorBit(int tag) const {
    return BitIsSet(bytes_[kMonitoring], tag);
}

void TwoLoopRecord::SetLetterFromIndex(int index) {
    StoreRadioLetter(bytes_[kLetter], index, kMaxRadioLetter);
}

void TwoLoopRecord::SetAlarmCountFromText(std::string_view text) {
    StoreItemNumber(bytes_[kAlarmCount], text, kAlarmCountTexts);
}

void TwoLoopRecord::SetNormCountFromText(std::string_view text) {
    StoreItemNumber(bytes_[kNormCount], text, kNormCountTexts);
}

void TwoLoopRecord::SetChannelCheckFromIndex(int index) {
    StorePosition(bytes_[kChannelCheck], index, kChannelCheckTexts.size());
}

std::optional<TwoLoopRecord::LoopTypeChange> TwoLoopRecord::SetLoopType(int loop, int code) {
    if (!ValidLoop(loop) || !IsPositionIn(code, LoopZoneTypeCount()))
        return std::nullopt;
    return StoreZoneType(bytes_[LoopTypeByte(loop)], bytes_[LoopEventByte(loop)],
                         static_cast<std::uint8_t>(code));
}

void TwoLoopRecord::SetLoopEvent(int loop, std::uint8_t eventIndex) {
    if (ValidLoop(loop))
        bytes_[LoopEventByte(loop)] = eventIndex;
}

std::optional<std::string> TwoLoopRecord::SetDelayFromText(Delay delay, std::string_view text) {
    return StoreClamped(bytes_[delay == Delay::Entry ? kEntryDelay : kExitDelay], text,
                        kZoneDelayLimits);
}

void TwoLoopRecord::SetMonitorBit(int tag, bool on) {
    AssignBit(bytes_[kMonitoring], tag, on);
}

std::size_t TwoLoopRecord::WriteFrame(std::span<std::uint8_t> tx, std::uint8_t type) const {
    return WriteShortWriteFrame(tx, type, bytes_);
}

} // namespace tesmira
