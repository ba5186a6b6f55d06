// Transmitter entries and the number dialog's rules: the three notations, reading each field back,
// the conversion error, "Готово", the hexadecimal key filter.
#include "editors/TransmitterEntry.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

TEST(TransmitterEntry, EntriesShowTheirNumberInAllNotations) {
    struct Row {
        TransmitterEntry entry;
        std::uint8_t type;
        Notations dialog;
        std::string grid;
    };
    const Row rows[] = {
        {{0x41, 0xAB, 0xCD}, 1, {"1ABCD", "1.171.205", "109517"}, "1ABCD"},
        {{0x00, 0x12, 0x34}, 0, {}, ""},                                    // type 0: no number
        {{0xFE, 0xFF, 0xFF}, 2, {"3FFFF", "3.255.255", "262143"}, "3FFFF"}, // bits 2..5 ignored
        {{0x03, 0x00, 0x00}, 3, {}, "00000"}, // a type without number: the grid still shows it
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EntryObjectType(row.entry), row.type);
        const TransmitterNumberEdit edit(row.entry);
        EXPECT_EQ(edit.ObjectTypeIndex(), row.type);
        EXPECT_EQ(edit.Shown(), row.dialog) << row.grid;
        EXPECT_EQ(EntryHexText(row.entry), row.grid);
    }
}

TEST(TransmitterEntry, LeavingAFieldReadsItsNotation) {
    enum class Field { Hex, Station, Button };
    struct Row {
        Field field;
        std::string_view text;
        std::uint32_t number;
        std::optional<Notations> shown; // none: the other fields are left as they are
    };
    const Row rows[] = {
        {Field::Station, "0.999.999", 0x3EAE7, Notations{"3EAE7", "3.234.231", "256743"}},
        // 9.000.001 is 0x90001; only 18 bits are stored, so that is what the fields show.
        {Field::Station, "9.000.001", 0x10001, Notations{"10001", "1.000.001", "065537"}},
        {Field::Station, "_.___.__7", 7, Notations{"00007", "0.000.007", "000007"}},
        {Field::Station, "_.___.___", 0, Notations{}},
        {Field::Hex, "FFFFFF", 0x3FFFF, Notations{"3FFFF", "3.255.255", "262143"}},
        {Field::Hex, "1234567", 0x23456, Notations{"23456", "2.052.086", "144470"}},
        {Field::Hex, "", 0, std::nullopt},
        {Field::Button, "1234567", 123456, Notations{"1E240", "1.226.064", "123456"}},
        {Field::Button, "999999", 0x3423F, Notations{"3423F", "3.066.063", "213567"}},
        {Field::Button, "12 4__", 124, Notations{"0007C", "0.000.124", "000124"}},
        {Field::Button, "x1", 0, Notations{}},
        {Field::Button, " _ ", 0, std::nullopt},
    };
    for (const Row& row : rows) {
        TransmitterNumberEdit edit({0x41, 0xAB, 0xCD});
        std::optional<Notations> shown;
        if (row.field == Field::Hex)
            shown = edit.LeaveHexField(row.text);
        else if (row.field == Field::Button)
            shown = edit.LeaveButtonField(row.text);
        else
            shown = edit.LeaveStationField(row.text);
        EXPECT_EQ(edit.Number(), row.number) << row.text;
        EXPECT_EQ(shown, row.shown) << row.text;
    }
}

TEST(TransmitterEntry, PastedTextThatIsNoHexNumberIsRefusedAndTheNumberKept) {
    TransmitterNumberEdit edit({0x41, 0xAB, 0xCD});
    const auto refusal = [&edit](std::string_view text) -> std::string {
        try {
            edit.LeaveHexField(text);
        } catch (const NumberConversionError& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(refusal("12G4ZZ9"), "'$12G4ZZ' is not a valid integer value");
    EXPECT_EQ(refusal("абвгдеж"), "'$абвгде' is not a valid integer value");
    EXPECT_EQ(edit.Number(), 0x1ABCDu);
}

TEST(TransmitterEntry, DoneStoresTheNumberWithTheChosenType) {
    // Unchanged: unused bits 2..5 are cleared, an entry of type 0 becomes three zero bytes.
    const std::pair<TransmitterEntry, TransmitterEntry> unchanged[] = {
        {{0x41, 0xAB, 0xCD}, {0x41, 0xAB, 0xCD}},
        {{0xFD, 0x12, 0x34}, {0xC1, 0x12, 0x34}},
        {{0x00, 0x12, 0x34}, {0x00, 0x00, 0x00}},
    };
    for (const auto& [given, stored] : unchanged)
        EXPECT_EQ(TransmitterNumberEdit(given).Accept(), stored);

    TransmitterNumberEdit off({0x41, 0xAB, 0xCD});
    off.SetObjectTypeIndex(0); // "Выключен": stored as type 0, shown empty the next time
    EXPECT_EQ(off.Accept(), (TransmitterEntry{0x40, 0xAB, 0xCD}));
    EXPECT_EQ(TransmitterNumberEdit(off.Accept()).Shown(), Notations{});
    TransmitterNumberEdit pirra({0x00, 0x00, 0x00});
    pirra.SetObjectTypeIndex(2);
    pirra.SetObjectTypeIndex(4); // no such item
    pirra.LeaveStationField("9.000.001");
    EXPECT_EQ(pirra.Accept(), (TransmitterEntry{0x42, 0x00, 0x01}));
    TransmitterNumberEdit emptied({0x43, 0xAB, 0xCD});
    emptied.LeaveHexField("");
    EXPECT_EQ(emptied.Accept(), (TransmitterEntry{0x00, 0x00, 0x00}));
    EXPECT_EQ(emptied.Given(), (TransmitterEntry{0x43, 0xAB, 0xCD}));
}

TEST(TransmitterEntry, HexKeyFilterPassesHexDigitsInUpperCase) {
    const std::pair<char32_t, std::optional<char32_t>> rows[] = {
        {U'0', U'0'},         {U'9', U'9'},         {U'A', U'A'},         {U'F', U'F'},
        {U'a', U'A'},         {U'f', U'F'},         {U'g', std::nullopt}, {U'G', std::nullopt},
        {U' ', std::nullopt}, {U'-', std::nullopt}, {U'а', std::nullopt}, {0x08, 0x08},
        {0x0D, 0x0D},         {0x1B, 0x1B},
    };
    for (const auto& [key, passed] : rows)
        EXPECT_EQ(FilterHexKey(key), passed) << static_cast<unsigned>(key);
}

} // namespace
} // namespace tesmira
