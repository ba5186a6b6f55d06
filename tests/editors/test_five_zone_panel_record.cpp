// The five-zone panel record: defaults and their write frame, zone types, transmission
// visibility, the network number, the Touch Memory mode and the buzzer's enable bit.
#include "editors/FiveZonePanelRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesmira {
namespace {

using Record = FiveZonePanelRecord;

TEST(FiveZonePanelRecord, WriteFrameOfTheDefaults) {
    std::vector<std::uint8_t> tx(27, 0xEE);
    ASSERT_EQ(Record().WriteFrame(tx), 26u);
    EXPECT_EQ(tx,
              (std::vector<std::uint8_t>{0x7E, 0x1A, 0x57, 0x01, 0x21, 0x07, 0x17, 0x05, 0x14,
                                         0x06, 0x15, 0x02, 0x0F, 0x03, 0x04, 0x00, 0x00, 0x01,
                                         0x00, 0x80, 0x00, 0x78, 0x00, 0x00, 0x00, 0x85, 0xEE}));
    EXPECT_EQ(Record().Zone(5)->eventSelection, 4);
}

TEST(FiveZonePanelRecord, ZoneTypes) {
    Record record;
    const auto off = record.SetZoneType(2, 0);
    ASSERT_TRUE(off);
    EXPECT_FALSE(off->eventEnabled);
    EXPECT_EQ(off->eventSelection, 20); // disabled, showing the event it keeps
    EXPECT_EQ(record.bytes()[2], 0);
    EXPECT_EQ(record.bytes()[3], 0x14);
    record.bytes()[3] = 9;
    EXPECT_EQ(record.SetZoneType(2, 5)->eventSelection, 20);
    EXPECT_EQ(record.bytes()[2], 5);
    EXPECT_EQ(record.bytes()[3], 20);

    EXPECT_FALSE(record.SetZoneType(1, 8)); // "Пожарн.2-х порог." is not offered
    EXPECT_FALSE(record.SetZoneType(6, 1));
    const auto before = record.bytes();
    record.SetZoneEvent(6, 0x55); // byte 11 lies past the fifth zone
    EXPECT_EQ(record.bytes(), before);
    record.bytes()[8] = 8;
    EXPECT_EQ(record.Zone(5)->typeIndex, std::nullopt);
    EXPECT_EQ(record.Zone(4)->typeIndex, 2);
}

TEST(FiveZonePanelRecord, TransmissionVisibility) {
    // interface, GSM on; then network number and remote disarming shown
    const std::tuple<int, bool, bool, bool> cases[] = {
        {2, false, true, false},  {2, true, true, true},   {0, true, false, true},
        {0, false, false, false}, {1, false, false, true}, {3, false, false, false},
    };
    for (const auto& [interface, gsm, networkNumber, remoteDisarm] : cases) {
        Record record;
        record.SetGsm(gsm);
        const Record::TransmissionView view = record.SetInterface(interface);
        EXPECT_EQ(record.bytes()[11], interface == 3 ? 0 : interface);
        EXPECT_EQ(record.bytes()[10], gsm ? 1 : 0);
        EXPECT_EQ(view.networkNumber, networkNumber) << interface << gsm;
        EXPECT_EQ(view.remoteDisarm, remoteDisarm) << interface << gsm;
    }
    EXPECT_EQ(Record::InterfaceTexts()[2], "RS-485");
}

TEST(FiveZonePanelRecord, MainPageHandlers) {
    Record record;
    record.SetNetworkNumber(32);
    record.SetNetworkNumber(33);
    record.SetNetworkNumber(0);
    EXPECT_EQ(record.bytes()[12], 32);

    // Arming by the TM input hides the line-short box; its bit stays.
    record.SetOption(Record::Option::LineShortDuty, true);
    EXPECT_FALSE(record.SetTouchMemoryMode(1));
    EXPECT_EQ(record.bytes()[18], 1);
    EXPECT_EQ(record.bytes()[14], 0x81);
    EXPECT_TRUE(record.SetTouchMemoryMode(0));

    record.bytes()[14] = 0x05;
    record.SetBuzzerFromIndex(7); // "Выключен при тревогах"
    EXPECT_EQ(record.bytes()[17], 254);
    EXPECT_EQ(record.bytes()[14], 0x85);
    record.SetBuzzerFromIndex(8);
    EXPECT_EQ(record.bytes()[14], 0x05);
    record.bytes()[17] = 50;
    EXPECT_EQ(record.BuzzerIndex(), std::nullopt);
}

} // namespace
} // namespace tesmira
