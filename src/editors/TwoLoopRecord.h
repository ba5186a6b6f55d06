// The 13-byte record of the two-loop transmitter devices (types 26 and 27): defaults, what each
// control shows and what each control's handler does to the record.
#pragma once

#include "model/ZoneTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

class TwoLoopRecord {
public:
    static constexpr std::size_t kSize = 13;
    using Bytes = std::array<std::uint8_t, kSize>;

    static constexpr std::uint8_t kType26 = 26;
    static constexpr std::uint8_t kType27 = 27;

    // Byte positions.
    static constexpr std::size_t kLetter = 0;
    static constexpr std::size_t kAlarmCount = 1;
    static constexpr std::size_t kNormCount = 2;
    static constexpr std::size_t kChannelCheck = 3;
    static constexpr std::size_t kExitDelay = 8;
    static constexpr std::size_t kEntryDelay = 9;
    static constexpr std::size_t kMonitoring = 10;
    static constexpr std::size_t kGuardSound = 11;
    static constexpr std::size_t kUseBuzzer = 12;

    // Bits of the monitoring byte, which are also the tags of their check boxes.
    static constexpr int kMonitorU2 = 5;
    static constexpr int kMonitorSiren = 6;
    static constexpr int kMonitorLamp = 7;

    static constexpr int kLoopCount = 2;
    // The zone types a loop offers (0..7); the item position is the type code.
    static constexpr std::uint8_t kZoneTypeSelector = 0;

    enum class Delay { Exit, Entry };

    // What the event box of a loop does after its loop type was chosen.
    using LoopTypeChange = ZoneTypeChange;

    // The factory defaults of type 26 or 27, the two types this record serves; they differ only
    // in the channel check period.
    static Bytes Defaults(std::uint8_t type);

    // Holds the defaults of `type`.
    explicit TwoLoopRecord(std::uint8_t type);

    const Bytes& bytes() const { return bytes_; }
    // For taking a whole record from a reply or a file.
    Bytes& bytes() { return bytes_; }
    void Assign(const Bytes& bytes) { bytes_ = bytes; }

    // Item texts of the lists, in item order.
    static std::span<const std::string_view> LetterTexts(); // "1" .. "30"
    // The counts' items carry the count the record stores.
    static std::span<const CodedItem> AlarmCountItems();          // "3" .. "12"
    static std::span<const CodedItem> NormCountItems();           // "1" .. "8"
    static std::span<const std::string_view> ChannelCheckTexts(); // "откл." .. "6,5  мин."

    // What the controls show. A list index is none when the byte lies outside the list, which
    // then shows no selection.
    std::optional<int> LetterIndex() const;
    std::optional<int> AlarmCountIndex() const;
    std::optional<int> NormCountIndex() const;
    std::optional<int> ChannelCheckIndex() const;
    std::optional<int> LoopTypeIndex(int loop) const; // loop 1 or 2; zone types 0..7
    bool LoopEventEnabled(int loop) const;            // not for a loop that is off
    std::uint8_t LoopEvent(int loop) const;           // the stored event index
    std::string DelayText(Delay delay) const;
    bool MonitorBit(int tag) const;
    bool GuardSound() const { return bytes_[kGuardSound] != 0; }
    bool UseBuzzer() const { return bytes_[kUseBuzzer] != 0; }

    // What the handlers do. Indexes and counts that no item has change nothing.
    void SetLetterFromIndex(int index);
    void SetAlarmCount(int count);
    void SetNormCount(int count);
    void SetChannelCheckFromIndex(int index);

    // Stores the zone type of a loop; a type other than "off" also gets its default event at
    // once. Switching a loop off keeps its event byte. None, and no change, for a loop other than
    // 1 or 2 or a code outside the zone types.
    std::optional<LoopTypeChange> SetLoopType(int loop, int code);
    void SetLoopEvent(int loop, std::uint8_t eventIndex);

    // Stores the delay read from `text`, clamped to 0..99 (text that is no number gives 30).
    // Returns the text the edit must show instead of what was typed, if any.
    std::optional<std::string> SetDelayFromText(Delay delay, std::string_view text);

    // Sets or clears bit `tag` of the monitoring byte; a tag outside 0..7 changes nothing.
    void SetMonitorBit(int tag, bool on);
    void SetGuardSound(bool on) { bytes_[kGuardSound] = on ? 1 : 0; }
    void SetUseBuzzer(bool on) { bytes_[kUseBuzzer] = on ? 1 : 0; }

    // The write frame 7E 13 57 01 type, the record, CRC-8, from tx[0]; its length (19), or 0
    // when tx is too short.
    std::size_t WriteFrame(std::span<std::uint8_t> tx, std::uint8_t type) const;

private:
    static std::size_t LoopTypeByte(int loop) { return 2 * static_cast<std::size_t>(loop) + 2; }
    static std::size_t LoopEventByte(int loop) { return 2 * static_cast<std::size_t>(loop) + 3; }
    static bool ValidLoop(int loop) { return loop >= 1 && loop <= kLoopCount; }

    Bytes bytes_;
};

} // namespace tesmira
