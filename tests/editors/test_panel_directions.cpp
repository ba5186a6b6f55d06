// The type 30 GSM direction block: reset content, device number, decoding of the directions
// (bounded by the block), their encoding, and the direction table's cell rules.
#include "editors/PanelDirections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesmira {
namespace {

using Rows = PanelDirections::Rows;

PanelDirections BlockWithEntries(const std::vector<std::uint8_t>& entries) {
    PanelDirections::Bytes bytes = PanelDirections().bytes();
    std::copy(entries.begin(), entries.end(), bytes.begin() + 8);
    PanelDirections block;
    EXPECT_TRUE(block.Assign(bytes));
    return block;
}

TEST(PanelDirections, ResetContent) {
    const PanelDirections block;
    std::vector<std::uint8_t> expected(150, 0x00);
    expected[0] = 0x7E;
    expected[2] = 0x57;
    expected[5] = 0x01;
    EXPECT_EQ(std::vector<std::uint8_t>(block.bytes().begin(), block.bytes().end()), expected);
    EXPECT_EQ(block.DeviceNumberText(), "0001");
    EXPECT_FALSE(block.SendsSms());
    for (const DirectionRow& row : block.DecodeRows())
        EXPECT_EQ(row, (DirectionRow{"Выкл.", "", "", ""}));
    PanelDirections other;
    EXPECT_FALSE(other.Assign(std::vector<std::uint8_t>(149, 0x01)));
    EXPECT_EQ(other.bytes(), block.bytes());
}

TEST(PanelDirections, DeviceNumberTakesExactlyFourDigits) {
    PanelDirections block;
    ASSERT_TRUE(block.SetDeviceNumberFromText("9999"));
    EXPECT_EQ(block.bytes()[4], 0x27);
    EXPECT_EQ(block.bytes()[5], 0x0F);
    for (const char* refused : {"123", "12345", "12a4", "", " 123", "-123"})
        EXPECT_FALSE(block.SetDeviceNumberFromText(refused)) << refused;
    EXPECT_EQ(block.DeviceNumber(), 9999);
}

TEST(PanelDirections, AttributeDecoding) {
    struct Case {
        std::uint8_t attribute;
        const char *tries, *sim, *protocol;
    };
    const Case cases[] = {
        {0x00, "Выкл.", "1,2", "Voice"}, {0x20, "1", "1,2", "Voice"},
        {0xA9, "5", "1", "CSD"},         {0xC2, "5", "1,2", "Vantiq-Net"}, // tries 6
        {0xF3, "5", "2", "SIA-IP"},                                        // tries 7
        {0x5C, "2", "1,2", "Voice"},                                       // SIM 3, protocol 4
        {0x67, "3", "1,2", "Voice"},                                       // protocol 7
    };
    for (const Case& c : cases) {
        const Rows rows = BlockWithEntries({3, c.attribute, '1', '2'}).DecodeRows();
        EXPECT_EQ(rows[0], (DirectionRow{c.tries, c.sim, c.protocol, "12"})) << int(c.attribute);
        EXPECT_EQ(rows[1].tries, "Выкл.");
    }
}

TEST(PanelDirections, DecodingFollowsTheLengthsWithinTheBlock) {
    const Rows rows =
        BlockWithEntries({4, 0x20, '+', '7', '1', 0, 6, 0x43, '1', '.', '2', ':', '9'})
            .DecodeRows();
    EXPECT_EQ(rows[0].phone, "+71");
    EXPECT_EQ(rows[1].tries, "Выкл.");
    EXPECT_EQ(rows[2], (DirectionRow{"2", "1,2", "SIA-IP", "1.2:9"}));
    EXPECT_EQ(rows[3].tries, "Выкл.");

    // Lengths running to or past the end: what the block holds is shown, nothing beyond it.
    std::vector<std::uint8_t> ending = {138, 0x20};
    ending.insert(ending.end(), 137, 'x');
    ending.insert(ending.end(), {255, 0x20, 'a'});
    const Rows cut = BlockWithEntries(ending).DecodeRows();
    EXPECT_EQ(cut[0].phone, std::string(137, 'x'));
    EXPECT_EQ(cut[1], (DirectionRow{"1", "1,2", "Voice", "a"}));
    EXPECT_EQ(cut[2].tries, "Выкл.");
    std::vector<std::uint8_t> lastLength = {140, 0x20};
    lastLength.insert(lastLength.end(), 139, 'x');
    lastLength.push_back(7);
    EXPECT_EQ(BlockWithEntries(lastLength).DecodeRows()[1].tries, "Выкл.");
    std::vector<std::uint8_t> first = {255, 0x20};
    first.insert(first.end(), 140, 'x');
    EXPECT_EQ(BlockWithEntries(first).DecodeRows()[0].phone, std::string(140, 'x'));
}

TEST(PanelDirections, EncodingIsTheInverseAndRefusesWhatDoesNotFit) {
    const Rows rows = {{{"3", "2", "CSD", std::string(kSamplePhone)},
                        {"Выкл.", "", "", ""},
                        {"5", "1,2", "Vantiq-Net", std::string(kSampleHost)},
                        {"Выкл.", "1", "Voice", "kept"},
                        {"Выкл.", "", "", ""}}};
    PanelDirections block;
    ASSERT_TRUE(block.EncodeRows(rows));
    EXPECT_EQ(block.DecodeRows(), rows);
    EXPECT_EQ(block.bytes()[8], 17);
    EXPECT_EQ(block.bytes()[9], 0x71);

    const PanelDirections::Bytes before = block.bytes();
    Rows tooLong;
    tooLong.fill({"1", "1", "Voice", std::string(28, '5')}); // 5 x 30 bytes > 142
    EXPECT_FALSE(block.EncodeRows(tooLong));
    Rows unknown = rows;
    unknown[4].tries = "6";
    EXPECT_FALSE(block.EncodeRows(unknown));
    EXPECT_EQ(block.bytes(), before);
}

TEST(PanelDirections, TableCellRules) {
    const DirectionRow off{"Выкл.", "", "", ""};
    const DirectionRow on = PickDirectionTries(off, "3");
    EXPECT_EQ(on, (DirectionRow{"3", "1,2", "Voice", std::string(kSamplePhone)}));
    EXPECT_TRUE(DirectionDetailsEditable(on));
    EXPECT_FALSE(DirectionDetailsEditable(off));
    const DirectionRow edited{"3", "2", "CSD", "+1"};
    EXPECT_EQ(PickDirectionTries(edited, "5"), (DirectionRow{"5", "2", "CSD", "+1"}));
    EXPECT_EQ(PickDirectionTries(edited, "Выкл."), off);

    EXPECT_EQ(PickDirectionProtocol(edited, "SIA-IP").phone, kSampleHost);
    EXPECT_EQ(PickDirectionProtocol(edited, "Voice").phone, "+1");
    const DirectionRow host{"1", "1", "Vantiq-Net", "a:1"};
    EXPECT_EQ(PickDirectionProtocol(host, "SIA-IP").phone, "a:1");
    EXPECT_EQ(PickDirectionProtocol(host, "CSD"),
              (DirectionRow{"1", "1", "CSD", std::string(kSamplePhone)}));
}

TEST(PanelDirections, PhoneCellKeyFilter) {
    struct Case {
        char32_t typed;
        std::size_t cell, table;
        bool accepted;
    };
    const Case cases[] = {
        {U'A', 0, 0, false},      {U'/', 0, 0, false},    {U' ', 0, 0, false},
        {U'я', 0, 0, false},      {U'0', 0, 0, true},     {U'z', 0, 0, true},
        {U'(', 0, 0, true},       {U')', 0, 0, true},     {U'+', 0, 0, true},
        {U'-', 0, 0, true},       {U'.', 0, 0, true},     {U':', 0, 0, true},
        {U'5', 30, 100, true},    {U'5', 31, 100, false}, {U'5', 10, 135, true},
        {U'5', 10, 136, false},   {U'\b', 31, 136, true}, {U'\r', 31, 136, true},
        {U'\x1B', 31, 136, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PhoneCellAccepts(c.typed, c.cell, c.table), c.accepted)
            << int(c.typed) << " " << c.cell << " " << c.table;
}

} // namespace
} // namespace tesmira
