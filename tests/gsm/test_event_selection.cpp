// The event selection of three groups, its grid and the event list files of one group.
#include "gsm/EventListFile.h"
#include "model/ConfigFile.h"
#include "support/HexBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Column = EventSelection::Column;
using Kind = EventSelection::Kind;

using test::Text;

Bytes Part(const EventSelection& s, std::size_t from, std::size_t count) {
    return Bytes(s.bytes().begin() + from, s.bytes().begin() + from + count);
}

TEST(EventSelection, GroupsTogglesAndFillsTouchOnlyTheGroupShown) {
    EventSelection s;
    EXPECT_EQ(Part(s, 0, 192), Bytes(192, 0xFF)); // a new selection reports everything
    s.SelectGroup(1);
    EXPECT_TRUE(s.Toggle(9, Column::Violation)); // byte 64 + 1, bit 1
    EXPECT_TRUE(s.Toggle(255, Column::Restoration));
    EXPECT_FALSE(s.Toggle(0, Column::Violation)); // the header row
    EXPECT_FALSE(s.Toggle(256, Column::Violation));
    EXPECT_FALSE(s.Toggle(3, Column::Description));
    EXPECT_EQ(s.bytes()[65], 0xFD);
    EXPECT_EQ(s.bytes()[127], 0x7F);
    EXPECT_EQ(s.CellText(9, Column::Violation), "");
    EXPECT_EQ(s.CellText(9, Column::Restoration), "1");
    s.SelectGroup(3); // no such group: stays on group 2
    s.SelectGroup(0);
    EXPECT_EQ(s.CellText(9, Column::Violation), "1");

    s.Fill(EventSelection::ClearViolations);
    EXPECT_EQ(Part(s, 0, 32), Bytes(32, 0x00)); // event 0's bit too
    EXPECT_EQ(Part(s, 32, 32), Bytes(32, 0xFF));
    s.Fill(EventSelection::ClearRestorations);
    s.Fill(EventSelection::SelectViolations);
    s.Fill(4);
    EXPECT_EQ(Part(s, 0, 32), Bytes(32, 0xFF));
    EXPECT_EQ(Part(s, 32, 32), Bytes(32, 0x00));
    EXPECT_EQ(s.bytes()[65], 0xFD); // group 2 as it was
    // Events the event table does not list show code 0 and no description.
    EXPECT_EQ(s.CellText(19, Column::Code) + s.CellText(19, Column::Description), "130ВТОРЖЕНИЕ");
    EXPECT_EQ(s.CellText(249, Column::Code) + s.CellText(249, Column::Description), "0");
}

TEST(EventListFile, SavedLinesOfOneGroup) {
    EventSelection s;
    s.SelectGroup(2);
    s.Fill(EventSelection::ClearViolations);
    s.Fill(EventSelection::ClearRestorations);
    s.Set(1, Kind::Restoration, true);
    s.Set(19, Kind::Violation, true);
    const Bytes file = EventListBytes(s);
    // " 1(МЕД.ТРЕВОГА)" in code page 1251
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 17),
              test::Hex("20 31 28 CC C5 C4 2E D2 D0 C5 C2 CE C3 C0 29 0D 0A"));
    EXPECT_EQ(Bytes(file.end() - 36, file.end()),
              Text("  ()\r\n----------------------------\r\n")); // event 255, then the end line
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 256);
    EXPECT_NE(std::string(file.begin(), file.end()).find("\n1 ("), std::string::npos);
}

TEST(EventListFile, LoadingChangesOnlyTheLinesTheFileHas) {
    EventSelection s;
    s.SelectGroup(0);
    ApplyEventList(Text("11\r\n 1\r\n1\n\r\n1 (anything)\r11"), s);
    EXPECT_EQ(s.bytes()[0] & 0x7E, 0x6A);  // violation: events 1, 3, 5, 6 set; 2, 4 clear
    EXPECT_EQ(s.bytes()[32] & 0x7E, 0x46); // restoration: events 1, 2 and 6 set
    EXPECT_EQ(s.bytes()[0] & 0x81, 0x81);  // event 0 and event 7 keep their bits
    EXPECT_EQ(Part(s, 1, 31), Bytes(31, 0xFF));

    EventSelection ten;
    std::string file;
    for (int i = 0; i < 10; ++i)
        file += "  (x)\r\n";
    ApplyEventList(Text(file), ten);
    EXPECT_EQ(ten.bytes()[0], 0x01);
    EXPECT_EQ(ten.bytes()[1], 0xF8);
    EXPECT_EQ(ten.bytes()[33], 0xF8);
    EXPECT_EQ(Part(ten, 2, 30), Bytes(30, 0xFF));
}

TEST(EventListFile, GroupSavedAndLoadedIntoAnother) {
    test::TempDir dir;
    EventSelection s;
    s.SelectGroup(1);
    s.Fill(EventSelection::ClearViolations);
    s.Set(200, Kind::Violation, true);
    s.Set(201, Kind::Restoration, false);
    SaveEventListFile(dir / "g2.evl", s);
    s.SelectGroup(2);
    LoadEventListFile(dir / "g2.evl", s);
    Bytes group2 = Part(s, 64, 64);
    group2[0] |= 0x01; // event 0 is in no line and keeps its bit in group 3
    EXPECT_EQ(Part(s, 128, 64), group2);
    EXPECT_EQ(s.bytes()[128 + 25], 0x01); // violations: only event 200
}

TEST(EventListFile, FilesThatCannotBeReadOrWrittenChangeNothing) {
    test::TempDir dir;
    EventSelection s;
    s.Fill(EventSelection::ClearViolations);
    const EventSelection::Bytes before = s.bytes();
    EXPECT_THROW(LoadEventListFile(dir / "missing.evl", s), ConfigFileError);
    EXPECT_THROW(LoadEventListFile(dir.path(), s), ConfigFileError);
    EXPECT_THROW(SaveEventListFile(dir / "no" / "such.evl", s), ConfigFileError);
    EXPECT_EQ(s.bytes(), before);
}

} // namespace
} // namespace tesmira
