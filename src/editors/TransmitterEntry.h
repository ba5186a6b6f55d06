// Transmitter entries of the repeater records (object type and 18-bit number in three bytes), the
// three notations of a number, and the rules of the dialog that edits one entry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tesmira {

// Byte 0: object type in bits 0..1, bits 2..5 unused, number bits 16..17 in bits 6..7;
// byte 1: number bits 8..15; byte 2: number bits 0..7.
inline constexpr std::size_t kTransmitterEntrySize = 3;
using TransmitterEntry = std::array<std::uint8_t, kTransmitterEntrySize>;

inline constexpr std::uint32_t kTransmitterNumberMask = 0x3FFFF; // the 18 bits an entry keeps

// An entry of this object type is empty: its number is neither shown nor counted.
inline constexpr std::uint8_t kObjectTypeOff = 0;

// Radio items of the object type, in item order; the item index is the object type.
std::span<const std::string_view> ObjectTypeTexts(); // "Выключен", "Кнопка", "Pirra", "Stavel"

std::uint8_t EntryObjectType(const TransmitterEntry& entry);

// The entry's number; 0, which means no number, for an entry of object type 0.
std::uint32_t EntryNumber(const TransmitterEntry& entry);

// The entry for a number (masked to 18 bits) and an object type; bits 2..5 are written as 0.
// No number gives three zero bytes: the object type is dropped too.
TransmitterEntry MakeEntry(std::uint32_t number, std::uint8_t objectType);

// The five-digit hexadecimal form the objects grid shows; empty for object type 0.
std::string EntryHexText(const TransmitterEntry& entry);

// The three ways a number is written: on the transmitter board (hexadecimal, "1ABCD"), for the
// monitoring station ("1.171.205": bits 16 and up, bits 8..15, bits 0..7) and on the button
// board (six decimal digits, "109517"). All three are empty for 0.
struct Notations {
    std::string hex;
    std::string station;
    std::string button;

    bool operator==(const Notations&) const = default;
};
Notations NumberNotations(std::uint32_t number);

// Hexadecimal text with a character that is no hexadecimal digit; what() is the text for the
// standard error box.
class NumberConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the hexadecimal field does with a typed character: Enter, Esc and Backspace pass, 0-9 and
// A-F pass, a-f become A-F; anything else is dropped (none).
std::optional<char32_t> FilterHexKey(char32_t key);

// How the form sets up the two masked number fields. The masks are in Qt's input-mask notation:
// every digit may be left out, the dots stay in the text, '_' stands for a digit not typed.
struct NumberFieldFormat {
    std::string_view inputMask;
    int maxLength;
    std::string_view hint;
};
inline constexpr NumberFieldFormat kStationFieldFormat{"0.000.000;_", 9, "Номер для ПЦН"};
inline constexpr NumberFieldFormat kButtonFieldFormat{"000000;_", 6, "Номер на плате кнопок"};
inline constexpr std::string_view kHexFieldHint = "Номер на плате передатчика";

inline constexpr std::string_view kNumberDialogCaption = "Номер передатчика";
inline constexpr std::string_view kObjectTypeGroupCaption = "Тип объекта";
inline constexpr std::string_view kNumberDialogDoneCaption = "Готово";

// The state of the transmitter number dialog over one entry: the working number (0: no number),
// the chosen object type, and what leaving each number field does to them.
class TransmitterNumberEdit {
public:
    // Starts from the given entry: its number, unless its object type is 0, and its object type.
    explicit TransmitterNumberEdit(const TransmitterEntry& given);

    std::uint32_t Number() const { return number_; }
    int ObjectTypeIndex() const { return objectType_; }
    // The radio item the user chose; an index no item has changes nothing.
    void SetObjectTypeIndex(int index);

    // What the three number fields show for the working number.
    Notations Shown() const { return NumberNotations(number_); }

    // Leaving a field with `text` in it. A result is what all three fields then show; none when
    // the field was emptied, which clears the number and leaves the other fields as they are.
    //
    // The first six characters count. Text with a character that is no hexadecimal digit throws
    // NumberConversionError and keeps the number.
    std::optional<Notations> LeaveHexField(std::string_view text);
    // The first six characters count, blanks left out; text that is no number gives no number.
    std::optional<Notations> LeaveButtonField(std::string_view text);
    // `text` as the field displays it, nine characters with blanks (' ' or '_') for digits not
    // typed, which count as 0. Groups above 255 carry into the bits above them; the result is
    // masked to the 18 bits an entry keeps, so the fields show the number that will be stored.
    Notations LeaveStationField(std::string_view text);

    // "Готово" (also Esc): the entry for the working number and the chosen object type.
    TransmitterEntry Accept() const { return MakeEntry(number_, objectType_); }
    // Closing the dialog any other way keeps the given entry.
    const TransmitterEntry& Given() const { return given_; }

private:
    TransmitterEntry given_;
    std::uint32_t number_ = 0;
    std::uint8_t objectType_ = kObjectTypeOff;
};

} // namespace tesmira
