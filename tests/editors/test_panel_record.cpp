// The eight-zone panel record: defaults, zone and partition rules, the handlers' bytes, interface
// changes, the differences of types 30 and 31, the write frame and the file blocks.
#include "editors/PanelRecord.h"
#include "model/ConfigFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tesmira {
namespace {

using Bytes = PanelRecord::Bytes;
using Relay = PanelRecord::Relay;
using Option = PanelRecord::Option;

constexpr Bytes kDefaults = {0x38, 0x17, 0x1E, 0x1E, 0x28, 0x14, 0x00, 0x00, 0x28, 0x14, 0x00, 0x00,
                             0x28, 0x14, 0x00, 0x00, 0x08, 0x10, 0x00, 0x00, 0x10, 0x0F, 0x00, 0x00,
                             0x18, 0x04, 0x00, 0x00, 0x18, 0x04, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00,
                             0x00, 0x33, 0x10, 0x00, 0x80, 0x01, 0x10, 0x01, 0x00, 0x00, 0x01, 0x02,
                             0x04, 0x08, 0x10, 0x20, 0xFF, 0x00, 0x78, 0x00, 0x00, 0x00};

PanelRecord RecordWith(std::uint8_t type, std::size_t at, std::uint8_t value) {
    PanelRecord record(type);
    record.bytes()[at] = value;
    return record;
}

void Commit(PanelRecord& record, std::uint8_t dependency) {
    PanelRecord::CollectedBoxes boxes = record.ShownBoxes();
    boxes.dependency = dependency;
    record.StoreCollectedBoxes(boxes);
}

TEST(PanelRecord, DefaultsShownAndCommittedStayTheDefaults) {
    for (std::uint8_t type : {30, 31}) {
        PanelRecord record(type);
        ASSERT_EQ(record.bytes(), kDefaults);
        record.RefreshPartitionDependency();
        record.StoreCollectedBoxes(record.ShownBoxes());
        EXPECT_EQ(record.bytes(), kDefaults) << int(type); // byte 33 stays 0: partition 1 guards
    }
    const PanelRecord record(30);
    EXPECT_EQ(record.Zone(1)->eventSelection, 23);
    EXPECT_EQ(record.RelayModeIndex(Relay::Control), 1);
    EXPECT_EQ(record.LedModeIndex(), 1);
    EXPECT_EQ(record.SirenTimeText(), "120");
}

TEST(PanelRecord, ZoneTypeChanges) {
    struct Case {
        int code;
        std::array<std::uint8_t, 4> zone; // settings, event, exit and entry delay
        const char* delayText;
        // event enabled, rearm enabled, visible, checked; re-query visible; delays visible
        std::array<bool, 6> shown;
    };
    // Zone 3 starts in partition 3 with its re-query bit set, type 5, event 20, delays 5 and 6.
    const Case cases[] = {
        {3, {0x9A, 4, 5, 6}, "0", {true, true, true, true, true, false}},      // Пожарный
        {7, {0xBA, 23, 30, 30}, "30", {true, true, true, true, false, true}},  // Дверной
        {0, {0x82, 20, 5, 6}, "0", {false, true, false, false, false, false}}, // Отключен
        {4, {0xA2, 37, 5, 6}, "0", {true, false, true, true, false, false}}, // Технологический
        {8, {0xC2, 4, 5, 6}, "0", {true, true, true, true, true, false}}, // Пожарн.2-х порог.
    };
    for (const Case& c : cases) {
        PanelRecord record(30);
        for (auto [at, value] : {std::pair<int, int>{8, 0xAA}, {10, 5}, {11, 6}})
            record.bytes()[at] = static_cast<std::uint8_t>(value);
        const auto change = record.SetZoneType(3, c.code);
        ASSERT_TRUE(change) << c.code;
        const PanelRecord::ZoneView& v = change->view;
        const Bytes& b = record.bytes();
        EXPECT_EQ((std::array{b[8], b[9], b[10], b[11]}), c.zone) << c.code;
        EXPECT_EQ((std::array{v.eventEnabled, v.rearmEnabled, v.rearmVisible, v.rearmChecked,
                              v.requeryVisible, v.delaysVisible}),
                  c.shown)
            << c.code;
        EXPECT_FALSE(v.requeryChecked);
        EXPECT_EQ(v.eventSelection, c.zone[1]) << c.code; // a zone switched off shows its own
        EXPECT_EQ(v.entryDelayText, c.delayText);
        EXPECT_EQ(v.exitDelayText, c.delayText);
        EXPECT_EQ(v.typeIndex, c.code);
        EXPECT_EQ(v.partitionIndex, 2);
    }
    PanelRecord record(30);
    EXPECT_FALSE(record.SetZoneType(9, 3));
    EXPECT_FALSE(record.SetZoneType(1, 9));
    EXPECT_FALSE(record.SetZoneType(1, -1)); // a name no zone type has
    EXPECT_EQ(record.bytes(), kDefaults);
    record.bytes()[10] = 5; // zone 3: exit delay, then entry delay
    record.bytes()[11] = 6;
    EXPECT_EQ(record.Zone(3)->exitDelayText, "5");
    EXPECT_EQ(record.Zone(3)->entryDelayText, "6");
}

TEST(PanelRecord, ZoneSwitchedOffLosesItsRearmAtCommit) {
    PanelRecord record(30);
    PanelRecord::CollectedBoxes boxes = record.ShownBoxes();
    boxes.rearm[1] = record.SetZoneType(2, 0)->view.rearmChecked;
    boxes.requery[0] = true;
    record.StoreCollectedBoxes(boxes);
    EXPECT_EQ(record.bytes()[32], 0xFD);
    EXPECT_EQ(record.bytes()[0], 0xB8); // zone 1's re-query bit
    EXPECT_FALSE(record.Zone(2)->rearmChecked);
    EXPECT_TRUE(record.Zone(1)->requeryChecked);
}

TEST(PanelRecord, PartitionDependency) {
    for (std::uint8_t type : {30, 31}) {
        PanelRecord record = RecordWith(type, 33, 0x5A);
        for (int zone = 1; zone <= 8; ++zone) {
            record.SetZoneType(zone, zone <= 4 ? 5 : 3);
            record.SetZonePartition(zone, zone <= 4 ? 1 : 0);
        }
        const PanelRecord::DependencyView view = record.RefreshPartitionDependency();
        EXPECT_EQ(view.enabledMask, 0x02);
        EXPECT_TRUE(view.Enabled(2));
        EXPECT_EQ(record.bytes()[33], type == 30 ? 0x01 : 0x5A);
        Commit(record, 0xFF); // every box was checked before the zones moved
        EXPECT_EQ(record.bytes()[34], 0x02) << int(type);
    }
    // All zones in partition 1: no box is enabled, whatever byte 34 says or the boxes held.
    PanelRecord allInOne = RecordWith(30, 34, 0xFE);
    EXPECT_EQ(allInOne.ShownBoxes().dependency, 0x00);
    Commit(allInOne, 0xFF);
    EXPECT_EQ(allInOne.bytes()[34], 0x00);
    // A partition is guarded by its door, internal or guard zones only.
    for (int type = 1; type <= 8; ++type) {
        PanelRecord record(30);
        record.SetZoneType(8, type);
        const bool guard = type >= 5 && type <= 7;
        EXPECT_EQ(record.SetZonePartition(8, 3)->Enabled(4), guard) << type;
        EXPECT_EQ(record.bytes()[33], guard ? 0x00 : 0x08) << type;
    }
    EXPECT_FALSE(allInOne.SetZonePartition(1, 8));
}

TEST(PanelRecord, TimesAreClampedAndTheFieldCorrected) {
    using Set = std::function<std::optional<std::string>(PanelRecord&, const char*)>;
    const Set siren = [](PanelRecord& r, const char* t) {
        return r.SetSirenTimeFromText(t);
    };
    const Set test = [](PanelRecord& r, const char* t) {
        return r.SetChannelTestFromText(t);
    };
    const Set entry = [](PanelRecord& r, const char* t) {
        return r.SetZoneDelayFromText(8, PanelRecord::Delay::Entry, t);
    };
    const std::tuple<Set, const char*, std::size_t, std::vector<int>, std::optional<std::string>>
        cases[] = {
            {siren, "0", 53, {0x00, 0x01}, "1"}, {siren, "700", 53, {0x02, 0x58}, "600"},
            {siren, "x", 53, {0x00, 0x02}, "2"}, {siren, "600", 53, {0x02, 0x58}, std::nullopt},
            {test, "300", 45, {255}, "255"},     {test, "q", 45, {5}, "5"},
            {entry, "150", 31, {99}, "99"},      {entry, "", 31, {30}, "30"},
        };
    for (const auto& [set, text, at, stored, shown] : cases) {
        PanelRecord record(30);
        EXPECT_EQ(set(record, text), shown) << text;
        for (std::size_t i = 0; i < stored.size(); ++i)
            EXPECT_EQ(record.bytes()[at + i], stored[i]) << text;
    }
}

TEST(PanelRecord, BuzzerChoices) {
    const std::vector<std::pair<std::string_view, std::uint8_t>> items = {
        {"До сброса", 0},        {"10 сек. ", 10},
        {"20 сек.", 20},         {"30 сек.", 30},
        {"1 минута", 60},        {"2 минуты", 120},
        {"4 минуты ", 240},      {"Выключен при тревогах", 254},
        {"Выключен всегда", 255}};
    ASSERT_EQ(BuzzerItems().size(), items.size());
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        EXPECT_EQ(BuzzerItems()[i].text, items[i].first);
        PanelRecord record(30);
        record.SetBuzzerFromIndex(i);
        EXPECT_EQ(record.bytes()[55], items[i].second);
        EXPECT_EQ(record.bytes()[40], items[i].second == 255 ? 0x00 : 0x80);
        EXPECT_EQ(record.BuzzerIndex(), i);
    }
    PanelRecord record = RecordWith(30, 40, 0x00);
    record.SetBuzzerFromIndex(-1); // nothing picked
    EXPECT_EQ(record.bytes()[55], 0);
    EXPECT_EQ(record.bytes()[40], 0x80);
}

TEST(PanelRecord, ValuesOutsideTheListsShowNoSelection) {
    EXPECT_EQ(RecordWith(30, 55, 50).BuzzerIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(30, 37, 0x66).RelayModeIndex(Relay::Alarm), std::nullopt);
    EXPECT_EQ(RecordWith(30, 37, 0x66).RelayModeIndex(Relay::Fire), std::nullopt);
    EXPECT_EQ(RecordWith(30, 37, 0x65).RelayModeIndex(Relay::Fire), 5);
    EXPECT_EQ(RecordWith(30, 42, 0x9B).LampModeIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(30, 42, 0x9B).LedModeIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(30, 42, 0x8A).LampModeIndex(), 10);
    EXPECT_EQ(RecordWith(30, 57, 3).TouchMemoryModeIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(30, 35, 4).InterfaceIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(31, 35, 3).InterfaceIndex(), std::nullopt);
    EXPECT_EQ(RecordWith(30, 0, 0x48).Zone(1)->typeIndex, std::nullopt); // type 9
    EXPECT_EQ(RecordWith(30, 1, 0).Zone(1)->eventSelection, std::nullopt);
    EXPECT_EQ(RecordWith(30, 1, 124).Zone(1)->eventSelection, std::nullopt); // a user event
}

TEST(PanelRecord, PackedFieldsKeepTheirNeighbours) {
    const std::tuple<std::function<void(PanelRecord&)>, std::size_t, std::uint8_t, std::uint8_t>
        cases[] = {
            {[](PanelRecord& r) { r.SetRelayMode(Relay::Alarm, 5); }, 37, 0x33, 0x53},
            {[](PanelRecord& r) { r.SetRelayMode(Relay::Fire, 0); }, 37, 0x33, 0x30},
            {[](PanelRecord& r) { r.SetRelayMode(Relay::Fire, 6); }, 37, 0x33, 0x33},
            {[](PanelRecord& r) { r.SetRelayMode(Relay::Control, 2); }, 38, 0x1F, 0x2F},
            {[](PanelRecord& r) { r.SetSmsRelay(PanelRecord::SmsRelay::Fire, true); }, 39, 0, 2},
            {[](PanelRecord& r) { r.SetOption(Option::TwoThresholdSiren, true); }, 40, 0x80, 0xC0},
            {[](PanelRecord& r) { r.SetOption(Option::LampBlinks, false); }, 40, 0xFF, 0xF7},
            {[](PanelRecord& r) { r.SetInternalPartition(7); }, 40, 0x80, 0x87},
            {[](PanelRecord& r) { r.SetLampMode(10); }, 42, 0x10, 0x1A},
            {[](PanelRecord& r) { r.SetLedMode(8); }, 42, 0x10, 0x80},
            {[](PanelRecord& r) { r.SetLedMode(9); }, 42, 0x10, 0x10},
            {[](PanelRecord& r) { r.SetMonitorBit(PanelRecord::kMonitorRelay4, true); }, 36, 1, 5},
            {[](PanelRecord& r) { r.SetMonitorBit(3, true); }, 36, 0, 0},
            {[](PanelRecord& r) { r.SetTouchMemoryMode(3); }, 57, 1, 1},
        };
    int i = 0;
    for (const auto& [handle, at, before, after] : cases) {
        PanelRecord record = RecordWith(30, at, before);
        handle(record);
        EXPECT_EQ(record.bytes()[at], after) << "case " << i++;
    }
    PanelRecord record = RecordWith(30, 36, 0x82);
    record.bytes()[39] = 0x02;
    record.bytes()[40] = 0x2D;
    EXPECT_TRUE(record.MonitorBit(PanelRecord::kMonitorRelay3));
    EXPECT_FALSE(record.MonitorBit(PanelRecord::kMonitorRelay4));
    EXPECT_TRUE(record.SmsRelayOn(PanelRecord::SmsRelay::Fire));
    EXPECT_EQ(record.InternalPartitionIndex(), 5);
    EXPECT_TRUE(record.HasOption(Option::LampBlinks));
    EXPECT_FALSE(record.HasOption(Option::ArmingFeedback));
}

TEST(PanelRecord, InterfaceChanges) {
    PanelRecord record(30);
    record.SetDeviceNumberFromText("0042");
    const auto gsm = record.SetInterface(PanelRecord::kInterfaceGsm);
    EXPECT_EQ(record.bytes()[35], 2);
    EXPECT_TRUE(gsm.view.gsmPage && gsm.directionsReset);
    EXPECT_EQ(record.GsmPage().deviceNumber, "0001");
    ASSERT_TRUE(gsm.warning);
    EXPECT_EQ(gsm.warning->caption, "Недоступно");
    EXPECT_EQ(gsm.warning->text,
              "Извините, пока в программаторе не реализована\r\nподдержка GSM-Vantiq");
    record.SetDeviceNumberFromText("0042");
    const auto again = record.SetInterface(PanelRecord::kInterfaceGsm);
    EXPECT_TRUE(again.warning && !again.directionsReset); // the typed number stays
    EXPECT_EQ(record.GsmPage().deviceNumber, "0042");
    const auto rs485 = record.SetInterface(PanelRecord::kInterfaceRs485);
    EXPECT_TRUE(rs485.view.networkNumber);
    EXPECT_FALSE(rs485.view.gsmPage || rs485.view.remoteDisarm || rs485.warning);
    EXPECT_TRUE(record.SetInterface(PanelRecord::kInterfaceRadio).view.remoteDisarm);
    record.SetInterface(-1); // no item shown
    EXPECT_EQ(record.bytes()[35], 255);
    record.SetNetworkNumber(0);
    EXPECT_EQ(record.bytes()[43], 1);
    record.SetNetworkNumber(7);
    record.SetNetworkNumber(8);
    EXPECT_EQ(record.bytes()[43], 7);
}

TEST(PanelRecord, Type31LeavesTheGsmPageAndNetworkNumberAsRead) {
    PanelRecord record(31);
    const auto gsm = record.SetInterface(PanelRecord::kInterfaceGsm);
    EXPECT_EQ(record.bytes()[35], 2);
    EXPECT_TRUE(gsm.warning);
    EXPECT_FALSE(gsm.view.gsmPage || gsm.directionsReset);
    record.SetInterface(PanelRecord::kInterfaceRs485); // not offered to type 31
    record.SetSmsDisarm(true);
    record.SetNetworkNumber(5);
    EXPECT_FALSE(record.SetChannelTestFromText("9"));
    EXPECT_FALSE(record.SetDeviceNumberFromText("1234"));
    Bytes expected = kDefaults;
    expected[35] = 255;
    EXPECT_EQ(record.bytes(), expected);
}

TEST(PanelRecord, WriteFramesOfTheDefaults) {
    const std::uint8_t head[] = {0x7E, 0x40, 0x57, 0x01, 0x1E};
    std::vector<std::uint8_t> expected(64);
    std::copy(std::begin(head), std::end(head), expected.begin());
    std::copy(kDefaults.begin(), kDefaults.end(), expected.begin() + 5);
    expected[63] = 0xC1;
    std::vector<std::uint8_t> tx(64);
    ASSERT_EQ(PanelRecord(30).WriteFrame(tx), 64u);
    EXPECT_EQ(tx, expected);
    ASSERT_EQ(PanelRecord(31).WriteFrame(tx), 64u);
    expected[4] = 0x1F;
    expected[63] = 0x89;
    EXPECT_EQ(tx, expected);
}

// Opens the file into a record of its type whose device number was 7777.
PanelRecord Opened(const std::vector<std::uint8_t>& image) {
    ConfigFile reader;
    PanelRecord opened(reader.LoadFromBytes(image));
    opened.SetDeviceNumberFromText("7777");
    EXPECT_TRUE(opened.LoadFromFile(reader));
    return opened;
}

std::vector<std::uint8_t> Saved(const PanelRecord& record) {
    ConfigFile writer(record.type());
    for (std::span<const std::uint8_t> block : record.FileBlocks())
        writer.AddRecord(block);
    return writer.Image();
}

TEST(PanelRecord, FileKeepsTheDirectionBlockOnlyWithGsm) {
    PanelRecord gsm(30);
    gsm.SetInterface(PanelRecord::kInterfaceGsm);
    gsm.SetDeviceNumberFromText("0042");
    const std::vector<std::uint8_t> image = Saved(gsm);
    ASSERT_EQ(image.size(), 3u + 2 + 58 + 2 + 150 + 1); // 208 bytes of content
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 63, image.begin() + 71),
              (std::vector<std::uint8_t>{0x00, 0x96, 0x7E, 0x00, 0x57, 0x00, 0x00, 0x2A}));
    const PanelRecord opened = Opened(image);
    EXPECT_EQ(opened.bytes(), gsm.bytes());
    EXPECT_EQ(opened.directions().DeviceNumber(), 42);
    EXPECT_FALSE(opened.GsmPage().sendSms);

    std::vector<std::uint8_t> sms = image;
    sms[65 + 7] = 1;   // the block's SMS flag
    sms.back() = 0x3A; // its CRC-8
    EXPECT_TRUE(Opened(sms).GsmPage().changeButtonVisible);

    EXPECT_EQ(Saved(PanelRecord(30)).size(), 3u + 2 + 58 + 1);
    EXPECT_EQ(Opened(Saved(PanelRecord(30))).directions().DeviceNumber(), 7777); // no block
    EXPECT_EQ(Saved(RecordWith(31, 35, 2)).size(), 3u + 2 + 58 + 1);
}

} // namespace
} // namespace tesmira
