// The five-zone panel, type 33: its 20-byte record, defaults, what each control shows, what each
// handler does to the record, and the write frame.
#pragma once

#include "editors/PanelCommon.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

class FiveZonePanelRecord {
public:
    static constexpr std::size_t kSize = 20;
    using Bytes = std::array<std::uint8_t, kSize>;

    static constexpr std::uint8_t kType33 = 33;
    static constexpr int kZoneCount = 5;
    // Zone types 0..7 ("Пожарн.2-х порог." is not offered); the item position is the type code.
    static constexpr std::uint8_t kZoneTypeSelector = 0;

    // Byte positions; zone n (1..5) has its type at 2(n-1) and its event after it.
    static constexpr std::size_t kGsm = 10;
    static constexpr std::size_t kInterface = 11;
    static constexpr std::size_t kNetworkNumber = 12;
    static constexpr std::size_t kArmingFeedback = 13;
    static constexpr std::size_t kOptions = 14;
    static constexpr std::size_t kSirenTime = 15; // big-endian, 2 bytes
    static constexpr std::size_t kBuzzer = 17;
    static constexpr std::size_t kTouchMemory = 18;
    static constexpr std::size_t kRemoteDisarm = 19;

    // Interface positions: unlike the eight-zone panels, RS-485 is the third item here.
    static constexpr std::uint8_t kInterfaceOff = 0;
    static constexpr std::uint8_t kInterfaceRadio = 1;
    static constexpr std::uint8_t kInterfaceRs485 = 2;

    static constexpr int kNetworkNumberMin = 1;
    static constexpr int kNetworkNumberMax = 32;

    // Check boxes over bits of byte 14; the value is the bit.
    enum class Option : int {
        LineShortDuty = 0, // "Контроль наряда замыканием линии TM"
        KeyFobAlarm = 1,   // "Включить тревожные кнопки брелка"
        LampBlinks = 2,    // "При постановке лампа мигает"
    };

    struct ZoneView {
        std::optional<int> typeIndex; // none for a type code no item has
        bool eventEnabled;
        std::optional<std::uint8_t> eventSelection; // none: the event box shows no selection
    };

    struct TransmissionView {
        bool networkNumber; // "Сетевой" "номер", the field and its up-down
        bool remoteDisarm; // "Разрешить дистанционное снятие с охраны"
    };

    static const Bytes& Defaults();

    FiveZonePanelRecord() : bytes_(Defaults()) {}

    const Bytes& bytes() const { return bytes_; }
    // For taking a whole record from a reply or a file.
    Bytes& bytes() { return bytes_; }
    void Assign(const Bytes& bytes) { bytes_ = bytes; }

    static std::span<const std::string_view> InterfaceTexts();

    // What the controls show. A list index is none when the byte lies outside the list.
    std::optional<ZoneView> Zone(int zone) const;
    std::optional<int> InterfaceIndex() const;
    int NetworkNumber() const { return bytes_[kNetworkNumber]; }
    bool GsmOn() const { return bytes_[kGsm] != 0; }
    bool ArmingFeedback() const { return bytes_[kArmingFeedback] != 0; }
    bool HasOption(Option option) const;
    bool RemoteDisarm() const { return bytes_[kRemoteDisarm] != 0; }
    std::string SirenTimeText() const;
    std::optional<int> BuzzerIndex() const;
    std::optional<int> TouchMemoryModeIndex() const;
    TransmissionView TransmissionVisibility() const;
    // The duty control by the TM line exists only when arming is done by key.
    bool LineShortVisible() const { return bytes_[kTouchMemory] == 0; }

    // What the handlers do. Zones outside 1..5 and positions no item has change nothing.
    // Returns what the zone's boxes show now.
    std::optional<ZoneView> SetZoneType(int zone, int code);
    void SetZoneEvent(int zone, std::uint8_t eventIndex);
    TransmissionView SetInterface(int position);
    TransmissionView SetGsm(bool on);
    void SetNetworkNumber(int number); // 1..32
    void SetArmingFeedback(bool on) { bytes_[kArmingFeedback] = on ? 1 : 0; }
    void SetOption(Option option, bool on);
    void SetRemoteDisarm(bool on) { bytes_[kRemoteDisarm] = on ? 1 : 0; }
    // Clamped to 1..600, text that is no number gives 2; returns the corrected text, if any.
    std::optional<std::string> SetSirenTimeFromText(std::string_view text);
    // Stores the item's code (0 when none is picked) and enables the buzzer for all but 255.
    void SetBuzzerFromIndex(int index);
    // Returns whether the line-short box is visible now; its bit keeps its value either way.
    bool SetTouchMemoryMode(int position);

    // 7E 1A 57 01 21, the record, CRC-8, from tx[0]; its length (26), or 0 when tx is short.
    std::size_t WriteFrame(std::span<std::uint8_t> tx) const;

private:
    static bool ValidZone(int zone) { return zone >= 1 && zone <= kZoneCount; }
    static std::size_t ZoneByte(int zone) { return 2 * static_cast<std::size_t>(zone - 1); }

    Bytes bytes_;
};

} // namespace tesmira
