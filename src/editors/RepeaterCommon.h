// What the two radio repeater records share: the modes of their two relays in one byte, the relay
// indication bits, the objects button caption, and the texts of the controls both forms have.
#pragma once

#include "editors/RelayModes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

// The relay mode byte: the "Тревога" relay's mode in the high nibble, the "Пожар" relay's in the
// low nibble (see RelayModes.h).
enum class Relay { Alarm, Fire };

constexpr Nibble RelayNibble(Relay relay) {
    return relay == Relay::Alarm ? Nibble::High : Nibble::Low;
}

// Bits of the relay indication byte, also the tags of their check boxes; the other bits of the
// byte are not the editor's and keep their value.
inline constexpr int kIndicateOnReaderLed = 0; // chkRetIndTxTM
inline constexpr int kIndicateOnLeds = 1;      // chkRetIndTxLed
// Sets or clears one indication bit; any other bit number changes nothing.
void StoreIndicationBit(std::uint8_t& indication, int bit, bool on);

// The caption of the type 35 objects button: "Объекты" while no count is given (the objects window
// has not been closed yet), then "Объектов " and the number of active entries.
std::string ObjectsButtonCaption(std::optional<int> activeCount);

// Captions, labels and hints both repeater forms show.
namespace repeater_text {
inline constexpr std::string_view kMainTab = "Основное";
inline constexpr std::string_view kTransmissionLabel = "Передача сообщений:";
inline constexpr std::string_view kObjectsButton = "Объекты";
inline constexpr std::string_view kBuzzer = "Использовать внутренний зуммер";
inline constexpr std::string_view kIndicationGroup = "Индикация ретрансляции";
inline constexpr std::string_view kIndicateOnReaderLedCaption = "На светодиоде считывателя";
inline constexpr std::string_view kIndicateOnReaderLedHint =
    "Изменять состояние светодиода\r\nпри приёме телеграммы от обученного объекта";
inline constexpr std::string_view kIndicateOnLedsCaption = "На светодиодах 1-8";
inline constexpr std::string_view kRelayGroup = "Режим работы реле";
inline constexpr std::string_view kAlarmRelayLabel = "\"Тревога\"";
inline constexpr std::string_view kFireRelayLabel = "\"Пожар\"";
inline constexpr std::string_view kFireRelayCheck = "Контроль цепи реле \"пожар\"";
inline constexpr std::string_view kLetterLabel = "Литера:";
} // namespace repeater_text

} // namespace tesmira
