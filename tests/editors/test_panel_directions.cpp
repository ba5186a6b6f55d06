// The type 30 GSM direction block: reset content, device number, decoding of the directions
// (bounded by the block), their encoding, and the direction table's cell rules.
#include "editors/PanelDirections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesmira {
namespace {

using Rows = PanelDirections::Rows;
const DirectionRow kOff{"Выкл.", "", "", ""};

// A reset block whose directions begin with `entries`.
Rows Decoded(const std::vector<std::uint8_t>& entries) {
    PanelDirections::Bytes bytes = PanelDirections().bytes();
    std::copy(entries.begin(), entries.end(), bytes.begin() + 8);
    PanelDirections block;
    EXPECT_TRUE(block.Assign(bytes));
    return block.DecodeRows();
}

std::vector<std::uint8_t> Entry(std::uint8_t length, std::uint8_t attribute, std::size_t text) {
    std::vector<std::uint8_t> entry = {length, attribute};
    entry.insert(entry.end(), text, 'x');
    return entry;
}

TEST(PanelDirections, ResetContentAndDeviceNumber) {
    PanelDirections block;
    std::vector<std::uint8_t> expected(150, 0x00);
    expected[0] = 0x7E;
    expected[2] = 0x57;
    expected[5] = 0x01;
    EXPECT_EQ(std::vector<std::uint8_t>(block.bytes().begin(), block.bytes().end()), expected);
    EXPECT_EQ(block.DeviceNumberText(), "0001");
    EXPECT_EQ(block.DecodeRows(), (Rows{kOff, kOff, kOff, kOff, kOff}));
    EXPECT_FALSE(block.Assign(std::vector<std::uint8_t>(149, 0x01)));

    ASSERT_TRUE(block.SetDeviceNumberFromText("9999"));
    EXPECT_EQ(block.bytes()[4], 0x27);
    EXPECT_EQ(block.bytes()[5], 0x0F);
    for (const char* refused : {"123", "12345", "12a4", "", " 123", "-123"})
        EXPECT_FALSE(block.SetDeviceNumberFromText(refused)) << refused;
    EXPECT_EQ(block.DeviceNumber(), 9999);
}

TEST(PanelDirections, AttributeDecoding) {
    const std::tuple<std::uint8_t, const char*, const char*, const char*> cases[] = {
        {0x00, "Выкл.", "1,2", "Voice"}, {0x20, "1", "1,2", "Voice"},
        {0xA9, "5", "1", "CSD"},         {0xC2, "5", "1,2", "Vantiq-Net"}, // tries 6
        {0xF3, "5", "2", "SIA-IP"},                                        // tries 7
        {0x5C, "2", "1,2", "Voice"},                                       // SIM 3, protocol 4
        {0x67, "3", "1,2", "Voice"},                                       // protocol 7
    };
    for (const auto& [attribute, tries, sim, protocol] : cases) {
        const Rows rows = Decoded({3, attribute, '1', '2'});
        EXPECT_EQ(rows[0], (DirectionRow{tries, sim, protocol, "12"})) << int(attribute);
        EXPECT_EQ(rows[1], kOff);
    }
}

TEST(PanelDirections, DecodingStaysWithinTheBlock) {
    const Rows rows = Decoded({4, 0x20, '+', '7', '1', 0, 6, 0x43, '1', '.', '2', ':', '9'});
    EXPECT_EQ(rows[0].phone, "+71");
    EXPECT_EQ(rows[1], kOff);
    EXPECT_EQ(rows[2], (DirectionRow{"2", "1,2", "SIA-IP", "1.2:9"}));
    EXPECT_EQ(rows[3], kOff);

    // Lengths running to or past the end: what the block holds is shown, nothing beyond it.
    std::vector<std::uint8_t> cut = Entry(138, 0x20, 137);
    cut.insert(cut.end(), {255, 0x20, 'a'});
    EXPECT_EQ(Decoded(cut)[1], (DirectionRow{"1", "1,2", "Voice", "a"}));
    std::vector<std::uint8_t> lengthLast = Entry(140, 0x20, 139);
    lengthLast.push_back(7);
    EXPECT_EQ(Decoded(lengthLast)[1], kOff);
    EXPECT_EQ(Decoded(Entry(255, 0x20, 140))[0].phone, std::string(140, 'x'));
}

TEST(PanelDirections, TableCellRules) {
    const DirectionRow on = PickDirectionTries(kOff, "3");
    EXPECT_EQ(on, (DirectionRow{"3", "1,2", "Voice", std::string(kSamplePhone)}));
    EXPECT_TRUE(DirectionDetailsEditable(on));
    EXPECT_FALSE(DirectionDetailsEditable(kOff));
    const DirectionRow edited{"3", "2", "CSD", "+1"};
    EXPECT_EQ(PickDirectionTries(edited, "5"), (DirectionRow{"5", "2", "CSD", "+1"}));
    EXPECT_EQ(PickDirectionTries(edited, "Выкл."), kOff);

    EXPECT_EQ(PickDirectionProtocol(edited, "SIA-IP").phone, kSampleHost);
    EXPECT_EQ(PickDirectionProtocol(edited, "Voice").phone, "+1");
    const DirectionRow host{"1", "1", "Vantiq-Net", "a:1"};
    EXPECT_EQ(PickDirectionProtocol(host, "SIA-IP").phone, "a:1");
    EXPECT_EQ(PickDirectionProtocol(host, "CSD"),
              (DirectionRow{"1", "1", "CSD", std::string(kSamplePhone)}));
}

TEST(PanelDirections, PhoneCellKeyFilter) {
    const std::tuple<char32_t, std::size_t, std::size_t, bool> cases[] = {
        {U'A', 0, 0, false},      {U'/', 0, 0, false},    {U' ', 0, 0, false},
        {U'я', 0, 0, false},      {U'0', 0, 0, true},     {U'z', 0, 0, true},
        {U'(', 0, 0, true},       {U')', 0, 0, true},     {U'+', 0, 0, true},
        {U'-', 0, 0, true},       {U'.', 0, 0, true},     {U':', 0, 0, true},
        {U'5', 30, 100, true},    {U'5', 31, 100, false}, {U'5', 10, 135, true},
        {U'5', 10, 136, false},   {U'\b', 31, 136, true}, {U'\r', 31, 136, true},
        {U'\x1B', 31, 136, true},
    };
    for (const auto& [typed, cell, table, accepted] : cases)
        EXPECT_EQ(PhoneCellAccepts(typed, cell, table), accepted)
            << int(typed) << " " << cell << " " << table;
}

} // namespace
} // namespace tesmira
