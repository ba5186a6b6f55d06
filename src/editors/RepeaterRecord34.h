// The 55-byte record of the type 34 radio repeater (one receive letter, 14 objects): defaults,
// what each control shows and what each control's handler does to the record.
#pragma once

#include "editors/RepeaterCommon.h"
#include "editors/TransmitterEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

class RepeaterRecord34 {
public:
    static constexpr std::size_t kSize = 55;
    using Bytes = std::array<std::uint8_t, kSize>;

    static constexpr std::uint8_t kType = 34;

    // Byte positions. Bytes 2, 4..6 and 12 are not edited and pass through as they are.
    static constexpr std::size_t kTransmission = 0;
    static constexpr std::size_t kSystemNumber = 1;
    static constexpr std::size_t kReceiveLetter = 3;
    static constexpr std::size_t kChannelCheck = 7; // minutes
    static constexpr std::size_t kBuzzer = 8;
    static constexpr std::size_t kIndication = 9;
    static constexpr std::size_t kRelayModes = 10;
    static constexpr std::size_t kFireRelayCheck = 11;
    static constexpr std::size_t kObjects = 13;
    static constexpr std::size_t kObjectCount = 14;

    static constexpr std::size_t kReceiveLetterCount = 8;
    static constexpr int kSystemNumberMin = 0;
    static constexpr int kSystemNumberMax = 255;
    static constexpr int kSystemNumberFallback = 0;
    static constexpr int kChannelCheckMin = 4;
    static constexpr int kChannelCheckMax = 30;
    static constexpr int kChannelCheckFallback = 4;

    static const Bytes& Defaults();

    // Holds the defaults.
    RepeaterRecord34() : bytes_(Defaults()) {}

    const Bytes& bytes() const { return bytes_; }
    // For taking a whole record from a reply or a file.
    Bytes& bytes() { return bytes_; }
    void Assign(const Bytes& bytes) { bytes_ = bytes; }

    // Item texts of the lists, in item order (the relay lists: RelayModeTexts).
    // "Velmor 550", then "Промежуточный 1" .. "Промежуточный 6".
    static std::span<const std::string_view> TransmissionTexts();
    static std::span<const std::string_view> ReceiveLetterTexts(); // "1" .. "8"

    // What the controls show. A list index is none when the byte lies outside the list, which
    // then shows no selection.
    std::optional<int> TransmissionIndex() const;
    std::optional<int> ReceiveLetterIndex() const;
    std::string SystemNumberText() const;
    std::string ChannelCheckText() const;
    bool Buzzer() const { return bytes_[kBuzzer] != 0; }
    bool IndicationBit(int bit) const;
    std::optional<int> RelayModeIndex(Relay relay) const;
    bool FireRelayCheck() const { return bytes_[kFireRelayCheck] != 0; }

    // What the handlers do. Indexes no item has change nothing.
    void SetTransmissionFromIndex(int index);
    void SetReceiveLetterFromIndex(int index);
    // Read clamped to their range, text that is no number giving the fallback; the result is the
    // text the edit must show instead of what was typed, if any.
    std::optional<std::string> SetSystemNumberFromText(std::string_view text); // 0..255, 0
    std::optional<std::string> SetChannelCheckFromText(std::string_view text); // 4..30, 4
    void SetBuzzer(bool on) { bytes_[kBuzzer] = on ? 1 : 0; }
    void SetIndicationBit(int bit, bool on); // kIndicateOnReaderLed, kIndicateOnLeds
    void SetRelayModeFromIndex(Relay relay, int index);
    void SetFireRelayCheck(bool on) { bytes_[kFireRelayCheck] = on ? 1 : 0; }

    // The 14 transmitter entries, for the objects window's LoadEntries and StoreEntries.
    std::span<const std::uint8_t> Objects() const;
    std::span<std::uint8_t> Objects();

    // The long write frame 14 00 00 3D type, the record from byte 5, CRC-8 at 60; its length
    // (61), or 0 when tx is too short.
    std::size_t WriteFrame(std::span<std::uint8_t> tx, std::uint8_t type) const;

private:
    Bytes bytes_;
};

namespace repeater_text {
inline constexpr std::string_view kSystemNumberLabel = "Номер системы:";
inline constexpr std::string_view kSiteChannelCheckMinutesLabel =
    "Контроль канала объектовых приборов, мин:";
} // namespace repeater_text

} // namespace tesmira
