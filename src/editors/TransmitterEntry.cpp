#include "editors/TransmitterEntry.h"

#include "model/ValueRules.h"

#include <algorithm>
#include <cstdio>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, 4> kObjectTypeTexts = {"Выключен", "Кнопка", "Pirra",
                                                              "Stavel"};
constexpr std::uint8_t kObjectTypeBits = 0x03;
constexpr std::size_t kTypedDigits = 6;     // of the hexadecimal and the button-board text
constexpr std::size_t kStationTextSize = 9; // D.DDD.DDD

template <typename... Args> std::string Printed(const char* format, Args... args) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, format, args...);
    return std::string(text, static_cast<std::size_t>(std::clamp(length, 0, 31)));
}

// The first `count` characters of UTF-8 text, without cutting a character apart: pasted text
// may hold letters of any script.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return text.substr(0, end);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A digit position the user has not typed: a space in the field's text, '_' as it is displayed.
bool IsBlank(char c) {
    return c == ' ' || c == '_';
}

std::optional<std::uint32_t> DecimalValue(std::string_view digits) {
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit))
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits)
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    return value;
}

} // namespace

std::span<const std::string_view> ObjectTypeTexts() {
    return kObjectTypeTexts;
}

std::uint8_t EntryObjectType(const TransmitterEntry& entry) {
    return entry[0] & kObjectTypeBits;
}

std::uint32_t EntryNumber(const TransmitterEntry& entry) {
    if (EntryObjectType(entry) == kObjectTypeOff)
        return 0;
    return (static_cast<std::uint32_t>(entry[0] >> 6) << 16) |
           (static_cast<std::uint32_t>(entry[1]) << 8) | entry[2];
}

TransmitterEntry MakeEntry(std::uint32_t number, std::uint8_t objectType) {
    number &= kTransmitterNumberMask;
    if (number == 0)
        return {0, 0, 0};
    return {static_cast<std::uint8_t>(((number >> 16) << 6) | (objectType & kObjectTypeBits)),
            static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
}

std::string EntryHexText(const TransmitterEntry& entry) {
    if (EntryObjectType(entry) == kObjectTypeOff)
        return {};
    return Printed("%X%02X%02X", entry[0] >> 6, entry[1], entry[2]);
}

Notations NumberNotations(std::uint32_t number) {
    if (number == 0)
        return {};
    const unsigned high = number >> 16;
    const unsigned middle = (number >> 8) & 0xFF;
    const unsigned low = number & 0xFF;
    return {Printed("%X%02X%02X", high, middle, low), Printed("%u.%03u.%03u", high, middle, low),
            Printed("%06u", static_cast<unsigned>(number))};
}

std::optional<char32_t> FilterHexKey(char32_t key) {
    constexpr char32_t kBackspace = 0x08;
    constexpr char32_t kEnter = 0x0D;
    constexpr char32_t kEscape = 0x1B;
    if (key == kBackspace || key == kEnter || key == kEscape)
        return key;
    if ((key >= U'0' && key <= U'9') || (key >= U'A' && key <= U'F'))
        return key;
    if (key >= U'a' && key <= U'f')
        return key - U'a' + U'A';
    return std::nullopt;
}

TransmitterNumberEdit::TransmitterNumberEdit(const TransmitterEntry& given)
    : given_(given), number_(EntryNumber(given)), objectType_(EntryObjectType(given)) {}

void TransmitterNumberEdit::SetObjectTypeIndex(int index) {
    StorePosition(objectType_, index, kObjectTypeTexts.size());
}

std::optional<Notations> TransmitterNumberEdit::LeaveHexField(std::string_view text) {
    const std::string_view typed = FirstCharacters(text, kTypedDigits);
    if (typed.empty()) {
        number_ = 0;
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : typed) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            throw NumberConversionError("'$" + std::string(typed) +
                                        "' is not a valid integer value");
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    number_ = value & kTransmitterNumberMask;
    return Shown();
}

std::optional<Notations> TransmitterNumberEdit::LeaveButtonField(std::string_view text) {
    std::string digits(FirstCharacters(text, kTypedDigits));
    std::erase_if(digits, IsBlank);
    if (digits.empty()) {
        number_ = 0;
        return std::nullopt;
    }
    number_ = DecimalValue(digits).value_or(0) & kTransmitterNumberMask;
    return Shown();
}

Notations TransmitterNumberEdit::LeaveStationField(std::string_view text) {
    std::string station(text.substr(0, kStationTextSize));
    station.resize(kStationTextSize, ' ');
    std::replace_if(station.begin(), station.end(), IsBlank, '0');
    const std::string_view view = station;
    const auto high = DecimalValue(view.substr(0, 1));
    const auto middle = DecimalValue(view.substr(2, 3));
    const auto low = DecimalValue(view.substr(6, 3));
    // The mask lets only digits in; anything else reads as no number, as on the button board.
    number_ = high && middle && low
                  ? ((*high << 16) + (*middle << 8) + *low) & kTransmitterNumberMask
                  : 0;
    return Shown();
}

} // namespace tesmira
