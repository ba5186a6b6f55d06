// The 116-byte record of the type 35 radio repeater (two zones of its own, 32 objects, RS-485):
// defaults, what each control shows and what each control's handler does to the record.
#pragma once

#include "editors/RepeaterCommon.h"
#include "editors/TransmitterEntry.h"
#include "model/ZoneTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

class RepeaterRecord35 {
public:
    static constexpr std::size_t kSize = 116;
    using Bytes = std::array<std::uint8_t, kSize>;

    static constexpr std::uint8_t kType = 35;

    // Byte positions. Byte 2 is not edited and passes through as it is.
    static constexpr std::size_t kBuzzer = 0;
    static constexpr std::size_t kLockAfterAlarm = 1;
    // Zone n (1, 2): type at 1 + 2n, event at 2 + 2n.
    static constexpr std::size_t kExitDelay = 7;
    static constexpr std::size_t kEntryDelay = 8;
    static constexpr std::size_t kReceiveLetter = 9;
    static constexpr std::size_t kTransmitLetter = 10;
    static constexpr std::size_t kIndication = 11;
    static constexpr std::size_t kCommunicator = 12; // bit 0; the other bits keep their value
    static constexpr std::size_t kTransmission = 13; // bits 0..6 mode, bit 7 RS-485
    static constexpr std::size_t kStavelCheck = 14;  // hours, 0 off
    static constexpr std::size_t kSiteCheck = 15;    // minutes, 0 off
    static constexpr std::size_t kStavelDelay = 16;
    static constexpr std::size_t kActivateRelays = 17;
    static constexpr std::size_t kRelayModes = 18;
    static constexpr std::size_t kFireRelayCheck = 19;
    static constexpr std::size_t kObjects = 20;
    static constexpr std::size_t kObjectCount = 32;

    static constexpr int kCommunicatorBit = 0;
    static constexpr int kRs485Bit = 7;

    static constexpr int kZoneCount = 2;
    // The zone types a zone offers (0..7); the item position is the type code.
    static constexpr std::uint8_t kZoneTypeSelector = 0;
    // Event boxes offer the events without the user events.
    static constexpr bool kEventBoxAllEvents = false;

    static constexpr std::size_t kReceiveLetterCount = 8;

    enum class Delay { Exit, Entry };
    enum class ChannelCheck { Stavel, Site };

    // How the transmit letter controls look for the chosen transmission mode.
    struct TransmitLetters {
        bool letterVisible; // the letter list and its label "Литера:"
        bool rs485Visible;  // chkRetTx485
        std::span<const std::string_view> items;
        std::optional<int> index; // none: no selection
    };

    static const Bytes& Defaults();

    // Holds the defaults.
    RepeaterRecord35() : bytes_(Defaults()) {}

    const Bytes& bytes() const { return bytes_; }
    // For taking a whole record from a reply or a file.
    Bytes& bytes() { return bytes_; }
    void Assign(const Bytes& bytes) { bytes_ = bytes; }

    // Item texts of the lists, in item order (the relay lists: RelayModeTexts).
    static std::span<const std::string_view> TransmissionModeTexts(); // "Выключено" .. "Velmor"
    static std::span<const std::string_view> ReceiveLetterTexts(); // "1" .. "8"
    // Items of the editable channel check combos, each with the period it stores: "Выкл." (0)
    // and the usual periods.
    static std::span<const CodedItem> ChannelCheckItems(ChannelCheck check);

    // What the controls show. A list index is none when the byte lies outside the list, which
    // then shows no selection.
    std::optional<int> ReceiveLetterIndex() const;
    std::optional<int> TransmissionModeIndex() const;
    bool Rs485() const;
    // For the stored mode; the stored letter is selected only when the mode's list has it.
    TransmitLetters TransmitLetterView() const;
    bool IndicationBit(int bit) const;
    bool CommunicatorConnected() const;
    bool StavelDelay() const { return bytes_[kStavelDelay] != 0; }
    bool ActivateRelays() const { return bytes_[kActivateRelays] != 0; }
    // The stored period, and the combo's text for it: the number, "Выкл." for 0.
    std::uint8_t ChannelCheckPeriod(ChannelCheck check) const;
    std::string ChannelCheckText(ChannelCheck check) const;
    std::optional<int> RelayModeIndex(Relay relay) const;
    bool FireRelayCheck() const { return bytes_[kFireRelayCheck] != 0; }
    bool Buzzer() const { return bytes_[kBuzzer] != 0; }
    bool LockAfterAlarm() const { return bytes_[kLockAfterAlarm] != 0; }
    std::optional<int> ZoneTypeIndex(int zone) const; // zone 1 or 2
    bool ZoneEventEnabled(int zone) const;            // not for a zone that is off
    // The event to select; none for the byte 0, which names no event: the box then shows no
    // selection rather than keeping what it showed before.
    std::optional<std::uint8_t> ZoneEvent(int zone) const;
    std::string DelayText(Delay delay) const;

    // What the handlers do. Indexes no item has change nothing.
    void SetReceiveLetterFromIndex(int index);
    // A mode choice stores the mode and always clears the RS-485 bit, even for the same mode;
    // the stored letter stays. Returns how the letter controls then look; none for an index the
    // mode list does not have.
    std::optional<TransmitLetters> SetTransmissionModeFromIndex(int index);
    // A letter of the list the stored mode offers.
    void SetTransmitLetterFromIndex(int index);
    void SetRs485(bool on);
    void SetIndicationBit(int bit, bool on); // kIndicateOnReaderLed, kIndicateOnLeds
    void SetCommunicatorConnected(bool on);
    void SetStavelDelay(bool on) { bytes_[kStavelDelay] = on ? 1 : 0; }
    void SetActivateRelays(bool on) { bytes_[kActivateRelays] = on ? 1 : 0; }
    // The combo's text read as a number clamped to 0..32 (Stavel) or 0..99 (site); text that is
    // no number and values below 0 give 0, shown as "Выкл.". Returns the text the combo must
    // show instead of what it holds, if any.
    std::optional<std::string> SetChannelCheckFromText(ChannelCheck check, std::string_view text);
    // A picked item's period; a period no item carries changes nothing.
    void SetChannelCheckPeriod(ChannelCheck check, int period);
    void SetRelayModeFromIndex(Relay relay, int index);
    void SetFireRelayCheck(bool on) { bytes_[kFireRelayCheck] = on ? 1 : 0; }
    void SetBuzzer(bool on) { bytes_[kBuzzer] = on ? 1 : 0; }
    void SetLockAfterAlarm(bool on) { bytes_[kLockAfterAlarm] = on ? 1 : 0; }

    // Stores the zone type; a type other than "off" also gets its default event at once.
    // Switching a zone off keeps its event byte. None, and no change, for a zone other than 1
    // or 2 or a code outside the zone types offered.
    std::optional<ZoneTypeChange> SetZoneType(int zone, int code);
    void SetZoneEvent(int zone, std::uint8_t eventIndex);
    // Clamped to 0..99 (text that is no number gives 30); the text the edit must show instead of
    // what was typed, if any.
    std::optional<std::string> SetDelayFromText(Delay delay, std::string_view text);

    // The 32 transmitter entries, for the objects window's LoadEntries and StoreEntries.
    std::span<const std::uint8_t> Objects() const;
    std::span<std::uint8_t> Objects();

    // The long write frame 14 00 00 7B type, byte 5 left as tx held it, the record from byte 6,
    // CRC-8 at 122; its length (123), or 0 when tx is too short.
    std::size_t WriteFrame(std::span<std::uint8_t> tx, std::uint8_t type) const;

private:
    static std::size_t ZoneTypeByte(int zone) { return 2 * static_cast<std::size_t>(zone) + 1; }
    static std::size_t ZoneEventByte(int zone) { return 2 * static_cast<std::size_t>(zone) + 2; }
    static bool ValidZone(int zone) { return zone >= 1 && zone <= kZoneCount; }
    static TransmitLetters LettersForMode(std::uint8_t mode, std::uint8_t letter);

    Bytes bytes_;
};

namespace repeater_text {
inline constexpr std::string_view kLoopsTab = "Шлейфы";
inline constexpr std::string_view kTransferTab = "Передача";
inline constexpr std::string_view kReceiveLetterLabel = "Литера приёма:";
inline constexpr std::string_view kTransmitGroup = "Передача";
inline constexpr std::string_view kModeLabel = "Режим:";
inline constexpr std::string_view kRs485Caption = "Дублировать по RS-485";
inline constexpr std::string_view kRs485Hint =
    "Передавать приём сигнала на RS-485\r\nДля подключения к пульту или БВИ";
inline constexpr std::string_view kActivateRelaysCaption =
    "Активировать реле от событий на объектах";
inline constexpr std::string_view kActivateRelaysHint =
    "При приёме пожарной тревоги  активировать  реле \"Пожар\"\r\n"
    "При приёме тревожных событий активировать реле \"Тревога\"";
inline constexpr std::string_view kStavelDelayCaption = "Задержка передачи приборов Stavel";
inline constexpr std::string_view kStavelDelayHint =
    "Задерживать ретрансляцию извещений \"Дверь\" и \"Объем\" на 30 секунд, \r\n"
    "отменять их ретрансляцию при снятии объекта.";
inline constexpr std::string_view kStavelChannelCheckLabel =
    "Контроль канала передатчиков Stavel, часов.";
inline constexpr std::string_view kSiteChannelCheckLabel =
    "Контроль канала объектовых приборов, мин";
inline constexpr std::string_view kChannelCheckOffText = "Выкл.";
inline constexpr std::string_view kZone1Label = "ШС1:";
inline constexpr std::string_view kZone2Label = "ШС2:";
inline constexpr std::string_view kZoneTypeHead = "Тип шлейфа";
inline constexpr std::string_view kZoneEventHead = "Код события";
inline constexpr std::string_view kDelayGroup = "Задержка, сек";
inline constexpr std::string_view kEntryDelayLabel = "вход:";
inline constexpr std::string_view kExitDelayLabel = "выход:";
inline constexpr std::string_view kLockAfterAlarmCaption = "Блокировать сброс после тревоги";
inline constexpr std::string_view kCommunicatorCaption = "Sorel-GSM подключен";
// A box shown disabled and tied to nothing in the record.
inline constexpr std::string_view kAllowDisarmCaption = "Разрешить снятие с охраны";
inline constexpr std::string_view kAllowDisarmHint =
    "Разрешить снятие с охраны обратной командой Velmor";
} // namespace repeater_text

} // namespace tesmira
