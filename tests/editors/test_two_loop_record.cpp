// The two-loop transmitter record: defaults, what the controls show, what each handler stores,
// the write frame and the file of the defaults.
#include "editors/TwoLoopRecord.h"
#include "model/ConfigFile.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tesmira {
namespace {

using Bytes = TwoLoopRecord::Bytes;
using Delay = TwoLoopRecord::Delay;

constexpr Bytes kDefaults26 = {0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                               0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};

TwoLoopRecord RecordWith(std::size_t at, std::uint8_t value) {
    TwoLoopRecord record(26);
    Bytes bytes = record.bytes();
    bytes[at] = value;
    record.Assign(bytes);
    return record;
}

TEST(TwoLoopRecord, DefaultsOfBothTypes) {
    EXPECT_EQ(TwoLoopRecord(26).bytes(), kDefaults26);
    EXPECT_EQ(TwoLoopRecord(27).bytes(), (Bytes{0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07, 0x65,
                                                0x3C, 0x1E, 0x00, 0x00, 0x01}));
    EXPECT_EQ(TwoLoopRecord::Defaults(26), kDefaults26);
}

TEST(TwoLoopRecord, DefaultsShowWhatTheDeviceLeavesTheFactoryWith) {
    const TwoLoopRecord record(26);
    EXPECT_EQ(record.LetterIndex(), 0);     // "1"
    EXPECT_EQ(record.AlarmCountIndex(), 5); // "8" in "3".."12"
    EXPECT_EQ(record.NormCountIndex(), 4);  // "5" in "1".."8"
    EXPECT_EQ(record.ChannelCheckIndex(), 2);
    EXPECT_EQ(TwoLoopRecord::ChannelCheckTexts()[2], "1 мин.");
    EXPECT_EQ(record.LoopTypeIndex(1), 3); // Пожарный
    EXPECT_EQ(record.LoopEvent(1), 4);     // 110 - ПОЖАР
    EXPECT_EQ(record.LoopTypeIndex(2), 7); // Дверной
    EXPECT_EQ(record.LoopEvent(2), 101);   // 370 - ШЛЕЙФ НЕИСПР
    EXPECT_TRUE(record.LoopEventEnabled(1));
    EXPECT_TRUE(record.LoopEventEnabled(2));
    EXPECT_EQ(record.DelayText(Delay::Exit), "60");
    EXPECT_EQ(record.DelayText(Delay::Entry), "30");
    for (int tag : {5, 6, 7})
        EXPECT_FALSE(record.MonitorBit(tag)) << tag;
    EXPECT_FALSE(record.GuardSound());
    EXPECT_TRUE(record.UseBuzzer());
    EXPECT_EQ(TwoLoopRecord(27).ChannelCheckIndex(), 10); // "5  мин."
}

TEST(TwoLoopRecord, ListTextsAreTheDevicesOwn) {
    const std::vector<std::string_view> channel(TwoLoopRecord::ChannelCheckTexts().begin(),
                                                TwoLoopRecord::ChannelCheckTexts().end());
    EXPECT_EQ(channel, (std::vector<std::string_view>{
                           "откл.", "30 сек", "1 мин.", "1,5  мин.", "2  мин.", "2,5  мин.",
                           "3  мин.", "3,5  мин.", "4  мин.", "4,5  мин.", "5  мин.", "5,5  мин.",
                           "6  мин.", "6,5  мин."}));
    ASSERT_EQ(TwoLoopRecord::LetterTexts().size(), 30u);
    EXPECT_EQ(TwoLoopRecord::LetterTexts().front(), "1");
    EXPECT_EQ(TwoLoopRecord::LetterTexts().back(), "30");
    // The counts' items run 3..12 and 1..8, each carrying the count it shows.
    for (const auto& [items, first, size] : {std::tuple{TwoLoopRecord::AlarmCountItems(), 3, 10u},
                                             std::tuple{TwoLoopRecord::NormCountItems(), 1, 8u}}) {
        ASSERT_EQ(items.size(), size);
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].code, first + static_cast<int>(i));
            EXPECT_EQ(items[i].text, std::to_string(items[i].code));
        }
    }
}

// A value no item stands for shows no selection, and showing it changes nothing.
TEST(TwoLoopRecord, ValuesOutsideTheListsShowNoSelection) {
    EXPECT_EQ(RecordWith(0, 0).LetterIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(0, 30).LetterIndex(), 29);
    EXPECT_EQ(RecordWith(0, 31).LetterIndex(), std::nullopt);
    const TwoLoopRecord twoAlarms = RecordWith(1, 2);
    EXPECT_EQ(twoAlarms.AlarmCountIndex(), std::nullopt);
    EXPECT_EQ(twoAlarms.bytes()[1], 2);
    EXPECT_EQ(RecordWith(1, 13).AlarmCountIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(1, 12).AlarmCountIndex(), 9);
    EXPECT_EQ(RecordWith(2, 0).NormCountIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(2, 9).NormCountIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(3, 13).ChannelCheckIndex(), 13);
    EXPECT_EQ(RecordWith(3, 14).ChannelCheckIndex(), std::nullopt);
    const TwoLoopRecord twoThreshold = RecordWith(4, 8); // not offered to these loops
    EXPECT_EQ(twoThreshold.LoopTypeIndex(1), std::nullopt);
    EXPECT_TRUE(twoThreshold.LoopEventEnabled(1));
    EXPECT_FALSE(RecordWith(6, 0).LoopEventEnabled(2));
    EXPECT_EQ(RecordWith(8, 200).DelayText(Delay::Exit), "200");
}

TEST(TwoLoopRecord, TransmitterListsStoreTheChosenItem) {
    TwoLoopRecord record(26);
    record.SetLetterFromIndex(29);
    EXPECT_EQ(record.bytes()[0], 30);
    record.SetLetterFromIndex(30);
    record.SetLetterFromIndex(-1);
    EXPECT_EQ(record.bytes()[0], 30);

    record.SetAlarmCount(12);
    EXPECT_EQ(record.bytes()[1], 12);
    record.SetAlarmCount(2); // not an item of that list
    record.SetAlarmCount(-1);
    EXPECT_EQ(record.bytes()[1], 12);
    record.SetNormCount(1);
    EXPECT_EQ(record.bytes()[2], 1);
    record.SetNormCount(12);
    EXPECT_EQ(record.bytes()[2], 1);

    record.SetChannelCheckFromIndex(0);
    EXPECT_EQ(record.bytes()[3], 0);
    record.SetChannelCheckFromIndex(13);
    EXPECT_EQ(record.bytes()[3], 13);
    record.SetChannelCheckFromIndex(14);
    EXPECT_EQ(record.bytes()[3], 13);
}

TEST(TwoLoopRecord, SwitchingALoopOffKeepsItsEvent) {
    TwoLoopRecord record(26);
    const auto change = record.SetLoopType(2, 0); // "Отключен"
    ASSERT_TRUE(change);
    EXPECT_FALSE(change->eventEnabled);
    EXPECT_EQ(change->eventToShow, std::nullopt);
    EXPECT_EQ(record.bytes()[6], 0);
    EXPECT_EQ(record.bytes()[7], 101);
    EXPECT_FALSE(record.LoopEventEnabled(2));
}

TEST(TwoLoopRecord, ChoosingALoopTypeStoresItsDefaultEvent) {
    TwoLoopRecord record(26);
    const auto guard = record.SetLoopType(1, 5); // "Охранный": 131 - ПЕРИМЕТР
    ASSERT_TRUE(guard);
    EXPECT_TRUE(guard->eventEnabled);
    EXPECT_EQ(guard->eventToShow, 20);
    EXPECT_EQ(record.bytes()[4], 5);
    EXPECT_EQ(record.bytes()[5], 20);
    // Back on after being off: the event of the new type, not the one kept while off.
    record.SetLoopType(2, 0);
    const auto door = record.SetLoopType(2, 1); // "Тревожный": 123 - Т.К.ГРОМКАЯ
    ASSERT_TRUE(door);
    EXPECT_EQ(record.bytes()[6], 1);
    EXPECT_EQ(record.bytes()[7], 16);
}

TEST(TwoLoopRecord, LoopsAndTypesOutsideTheFormChangeNothing) {
    TwoLoopRecord record(26);
    EXPECT_EQ(record.SetLoopType(0, 5), std::nullopt);
    EXPECT_EQ(record.SetLoopType(3, 5), std::nullopt);
    EXPECT_EQ(record.SetLoopType(1, -1), std::nullopt); // a name no zone type has
    EXPECT_EQ(record.SetLoopType(1, 8), std::nullopt);  // not offered to these loops
    record.SetLoopEvent(0, 9);
    record.SetLoopEvent(3, 9);
    EXPECT_EQ(record.bytes(), kDefaults26);
    EXPECT_EQ(record.LoopTypeIndex(3), std::nullopt);
    EXPECT_FALSE(record.LoopEventEnabled(0));
}

TEST(TwoLoopRecord, LoopEventStoresTheChosenIndex) {
    TwoLoopRecord record(26);
    record.SetLoopEvent(1, 238);
    record.SetLoopEvent(2, 0); // an event box without selection
    EXPECT_EQ(record.bytes()[5], 238);
    EXPECT_EQ(record.bytes()[7], 0);
    EXPECT_EQ(record.bytes()[4], 3); // the types stay
    EXPECT_EQ(record.bytes()[6], 7);
}

TEST(TwoLoopRecord, DelaysAreClampedAndTheEditCorrected) {
    TwoLoopRecord record(26);
    EXPECT_EQ(record.SetDelayFromText(Delay::Entry, "150"), "99");
    EXPECT_EQ(record.bytes()[9], 99);
    EXPECT_EQ(record.SetDelayFromText(Delay::Entry, "x"), "30");
    EXPECT_EQ(record.bytes()[9], 30);
    EXPECT_EQ(record.SetDelayFromText(Delay::Exit, "-5"), "0");
    EXPECT_EQ(record.bytes()[8], 0);
    EXPECT_EQ(record.SetDelayFromText(Delay::Exit, "99"), std::nullopt);
    EXPECT_EQ(record.bytes()[8], 99);
    EXPECT_EQ(record.SetDelayFromText(Delay::Entry, ""), "30");
    EXPECT_EQ(record.SetDelayFromText(Delay::Entry, "99999999999"), "99");
    EXPECT_EQ(record.bytes()[9], 99);
    EXPECT_EQ(record.SetDelayFromText(Delay::Entry, "0"), std::nullopt);
    EXPECT_EQ(record.bytes()[9], 0);
    EXPECT_EQ(record.bytes()[8], 99); // the other delay stays
}

TEST(TwoLoopRecord, MonitoringBoxesTouchOnlyTheirBit) {
    TwoLoopRecord record = RecordWith(10, 0x21);
    EXPECT_TRUE(record.MonitorBit(TwoLoopRecord::kMonitorU2));
    record.SetMonitorBit(TwoLoopRecord::kMonitorLamp, true);
    EXPECT_EQ(record.bytes()[10], 0xA1);
    record.SetMonitorBit(TwoLoopRecord::kMonitorU2, false);
    EXPECT_EQ(record.bytes()[10], 0x81);
    record.SetMonitorBit(TwoLoopRecord::kMonitorSiren, true);
    EXPECT_EQ(record.bytes()[10], 0xC1);
    record.SetMonitorBit(8, true); // a tag past the byte
    record.SetMonitorBit(-1, false);
    EXPECT_EQ(record.bytes()[10], 0xC1);
    EXPECT_FALSE(record.MonitorBit(8));
}

TEST(TwoLoopRecord, SirenSignalsAndBuzzerAreOneOrZero) {
    TwoLoopRecord record(26);
    record.SetGuardSound(true);
    record.SetUseBuzzer(false);
    EXPECT_EQ(record.bytes()[11], 1);
    EXPECT_EQ(record.bytes()[12], 0);
    EXPECT_TRUE(record.GuardSound());
    EXPECT_FALSE(record.UseBuzzer());
    EXPECT_TRUE(RecordWith(11, 0x80).GuardSound()); // any nonzero byte reads as on
}

TEST(TwoLoopRecord, WriteFrameOfTheDefaults) {
    std::vector<std::uint8_t> tx(64, 0xEE);
    ASSERT_EQ(TwoLoopRecord(26).WriteFrame(tx, 26), 19u);
    EXPECT_EQ(
        std::vector<std::uint8_t>(tx.begin(), tx.begin() + 20),
        (std::vector<std::uint8_t>{0x7E, 0x13, 0x57, 0x01, 0x1A, 0x01, 0x08, 0x05, 0x02, 0x03,
                                   0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xD9, 0xEE}));
    ASSERT_EQ(TwoLoopRecord(27).WriteFrame(tx, 27), 19u);
    EXPECT_EQ(std::vector<std::uint8_t>(tx.begin(), tx.begin() + 19),
              (std::vector<std::uint8_t>{0x7E, 0x13, 0x57, 0x01, 0x1B, 0x01, 0x08, 0x05, 0x0A, 0x03,
                                         0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xC6}));
}

TEST(TwoLoopRecord, WriteFrameRefusesAShortBuffer) {
    std::vector<std::uint8_t> tx(18, 0xEE);
    EXPECT_EQ(TwoLoopRecord(26).WriteFrame(tx, 26), 0u);
    EXPECT_EQ(tx, std::vector<std::uint8_t>(18, 0xEE));
}

TEST(TwoLoopRecord, DefaultFilesOfBothTypes) {
    ConfigFile file26(26);
    file26.AddRecord(TwoLoopRecord(26).bytes());
    EXPECT_EQ(file26.Image(),
              (std::vector<std::uint8_t>{0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03,
                                         0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x4C}));
    ConfigFile file27(27);
    file27.AddRecord(TwoLoopRecord(27).bytes());
    EXPECT_EQ(file27.Image(),
              (std::vector<std::uint8_t>{0x01, 0x00, 0x1B, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x0A, 0x03,
                                         0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x0F}));
}

} // namespace
} // namespace tesmira
