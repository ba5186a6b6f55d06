#include "editors/TwoLoopRecord.h"

#include "editors/RadioLetters.h"
#include "link/Frames.h"
#include "model/BitHelpers.h"
#include "model/TextHelpers.h"
#include "model/ValueRules.h"
#include "model/ZoneTypes.h"

namespace tesmira {

namespace {

constexpr TwoLoopRecord::Bytes kDefaults26 = {0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                                              0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};
constexpr TwoLoopRecord::Bytes kDefaults27 = {0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07,
                                              0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};

// clang-format off
constexpr std::array<CodedItem, 10> kAlarmCountItems = {{
    {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}, {"9", 9}, {"10", 10}, {"11", 11},
    {"12", 12}}};
// clang-format on
constexpr std::array<CodedItem, 8> kNormCountItems = {
    {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}};
// From the fourth item on the device's own texts have two spaces before "мин.".
constexpr std::array<std::string_view, 14> kChannelCheckTexts = {
    "откл.",     "30 сек",  "1 мин.",    "1,5  мин.", "2  мин.",   "2,5  мин.", "3  мин.",
    "3,5  мин.", "4  мин.", "4,5  мин.", "5  мин.",   "5,5  мин.", "6  мин.",   "6,5  мин."};

std::size_t LoopZoneTypeCount() {
    return ZoneTypeSelection(TwoLoopRecord::kZoneTypeSelector)->size();
}

// Stores `count` when an item carries it.
void StoreCount(std::uint8_t& target, int count, std::span<const CodedItem> items) {
    if (PositionOfCode(items, count))
        target = static_cast<std::uint8_t>(count);
}

} // namespace

TwoLoopRecord::Bytes TwoLoopRecord::Defaults(std::uint8_t type) {
    return type == kType27 ? kDefaults27 : kDefaults26;
}

TwoLoopRecord::TwoLoopRecord(std::uint8_t type) : bytes_(Defaults(type)) {}

std::span<const std::string_view> TwoLoopRecord::LetterTexts() {
    return RadioLetterTexts(kMaxRadioLetter);
}

std::span<const CodedItem> TwoLoopRecord::AlarmCountItems() {
    return kAlarmCountItems;
}

std::span<const CodedItem> TwoLoopRecord::NormCountItems() {
    return kNormCountItems;
}

std::span<const std::string_view> TwoLoopRecord::ChannelCheckTexts() {
    return kChannelCheckTexts;
}

std::optional<int> TwoLoopRecord::LetterIndex() const {
    return RadioLetterIndex(bytes_[kLetter], kMaxRadioLetter);
}

std::optional<int> TwoLoopRecord::AlarmCountIndex() const {
    return PositionOfCode(kAlarmCountItems, bytes_[kAlarmCount]);
}

std::optional<int> TwoLoopRecord::NormCountIndex() const {
    return PositionOfCode(kNormCountItems, bytes_[kNormCount]);
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

void TwoLoopRecord::SetAlarmCount(int count) {
    StoreCount(bytes_[kAlarmCount], count, kAlarmCountItems);
}

void TwoLoopRecord::SetNormCount(int count) {
    StoreCount(bytes_[kNormCount], count, kNormCountItems);
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
