#include "editors/RepeaterRecord34.h"

#include "editors/RadioLetters.h"
#include "link/Frames.h"
#include "model/BitHelpers.h"
#include "model/TextHelpers.h"
#include "model/ValueRules.h"

namespace tesmira {

namespace {

constexpr RepeaterRecord34::Bytes kDefaults = {
    0x00, 0x18, 0x00, 0x01, 0x05, 0x05, 0x05, 0x08, 0x01, 0x03, 0x33, 0x00, 0x0C,
    // 14 empty transmitter entries follow
};

constexpr std::array<std::string_view, 7> kTransmissionTexts = {
    "Velmor 550",      "Промежуточный 1", "Промежуточный 2", "Промежуточный 3",
    "Промежуточный 4", "Промежуточный 5", "Промежуточный 6",
};

constexpr std::size_t kRecordOffsetInFrame = 5;

} // namespace

const RepeaterRecord34::Bytes& RepeaterRecord34::Defaults() {
    return kDefaults;
}

std::span<const std::string_view> RepeaterRecord34::TransmissionTexts() {
    return kTransmissionTexts;
}

std::span<const std::string_view> RepeaterRecord34::ReceiveLetterTexts() {
    return RadioLetterTexts(kReceiveLetterCount);
}

std::optional<int> RepeaterRecord34::TransmissionIndex() const {
    if (bytes_[kTransmission] >= kTransmissionTexts.size())
        return std::nullopt;
    return bytes_[kTransmission];
}

std::optional<int> RepeaterRecord34::ReceiveLetterIndex() const {
    return RadioLetterIndex(bytes_[kReceiveLetter], kReceiveLetterCount);
}

std::string RepeaterRecord34::SystemNumberText() const {
    return std::to_string(bytes_[kSystemNumber]);
}

std::string RepeaterRecord34::ChannelCheckText() const {
    return std::to_string(bytes_[kChannelCheck]);
}

bool RepeaterRecord34::IndicationBit(int bit) const {
    return BitIsSet(bytes_[kIndication], bit);
}

std::optional<int> RepeaterRecord34::RelayModeIndex(Relay relay) const {
    return RelayModeIn(bytes_[kRelayModes], RelayNibble(relay));
}

void RepeaterRecord34::SetTransmissionFromIndex(int index) {
    StorePosition(bytes_[kTransmission], index, kTransmissionTexts.size());
}

void RepeaterRecord34::SetReceiveLetterFromIndex(int index) {
    StoreRadioLetter(bytes_[kReceiveLetter], index, kReceiveLetterCount);
}

std::optional<std::string> RepeaterRecord34::SetSystemNumberFromText(std::string_view text) {
    return StoreClamped(bytes_[kSystemNumber], text,
                        {kSystemNumberMin, kSystemNumberMax, kSystemNumberFallback});
}

std::optional<std::string> RepeaterRecord34::SetChannelCheckFromText(std::string_view text) {
    return StoreClamped(bytes_[kChannelCheck], text,
                        {kChannelCheckMin, kChannelCheckMax, kChannelCheckFallback});
}

void RepeaterRecord34::SetIndicationBit(int bit, bool on) {
    StoreIndicationBit(bytes_[kIndication], bit, on);
}

void RepeaterRecord34::SetRelayModeFromIndex(Relay relay, int index) {
    StoreRelayMode(bytes_[kRelayModes], RelayNibble(relay), index);
}

std::span<const std::uint8_t> RepeaterRecord34::Objects() const {
    return std::span(bytes_).subspan(kObjects, kObjectCount * kTransmitterEntrySize);
}

std::span<std::uint8_t> RepeaterRecord34::Objects() {
    return std::span(bytes_).subspan(kObjects, kObjectCount * kTransmitterEntrySize);
}

std::size_t RepeaterRecord34::WriteFrame(std::span<std::uint8_t> tx, std::uint8_t type) const {
    return WriteLongFrame(tx, LongCommand::WriteConfig, type, kRecordOffsetInFrame, bytes_);
}

} // namespace tesmira
