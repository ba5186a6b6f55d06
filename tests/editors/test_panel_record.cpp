// The eight-zone panel record: defaults, zone and partition rules, the handlers' bytes, interface
// changes, the differences of types 30 and 31, the write frame and the file blocks.
#include "editors/PanelRecord.h"
#include "model/UnitFileIO.h"

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

TEST(PanelRecord, DefaultsShownAndCommittedStayTheDefaults) {
    for (std::uint8_t type : {30, 31}) {
        PanelRecord record(type);
        ASSERT_EQ(record.bytes(), kDefaults);
        record.RefreshPartitionDependency();
        record.StoreCollectedBoxes(record.ShownBoxes());
        EXPECT_EQ(record.bytes(), kDefaults) << int(type); // byte 33 stays 0: partition 1 guards
    }
    const PanelRecord record(30);
    const auto door = record.Zone(1);
    ASSERT_TRUE(door);
    EXPECT_EQ(door->typeIndex, 7);
    EXPECT_EQ(door->eventSelection, 23);
    EXPECT_TRUE(door->delaysVisible);
    EXPECT_EQ(door->entryDelayText, "30");
    EXPECT_EQ(record.RelayModeIndex(Relay::Alarm), 3);
    EXPECT_EQ(record.RelayModeIndex(Relay::Control), 1);
    EXPECT_EQ(record.LedModeIndex(), 1);
    EXPECT_EQ(record.BuzzerIndex(), 0);
    EXPECT_EQ(record.SirenTimeText(), "120");
}

TEST(PanelRecord, ZoneTypeChanges) {
    struct Case {
        int code;
        std::uint8_t settings, event, exitDelay, entryDelay;
        const char* delayText;
        bool eventEnabled, rearmEnabled, rearmVisible, requeryVisible;
    };
    // Zone 3 starts in partition 3 with its re-query bit set, type 5, event 20, delays 5 and 6.
    const Case cases[] = {
        {3, 0x9A, 4, 5, 6, "0", true, true, true, true},      // Пожарный
        {7, 0xBA, 23, 30, 30, "30", true, true, true, false}, // Дверной
        {0, 0x82, 20, 5, 6, "0", false, true, false, false},  // Отключен keeps its event
        {4, 0xA2, 37, 5, 6, "0", true, false, true, false},   // Технологический
        {8, 0xC2, 4, 5, 6, "0", true, true, true, true},      // Пожарн.2-х порог.
    };
    for (const Case& c : cases) {
        PanelRecord record = RecordWith(30, 8, 0xAA);
        record.bytes()[10] = 5;
        record.bytes()[11] = 6;
        const auto change = record.SetZoneType(3, c.code);
        ASSERT_TRUE(change) << c.code;
        EXPECT_EQ(record.bytes()[8], c.settings) << c.code;
        EXPECT_EQ(record.bytes()[9], c.event) << c.code;
        EXPECT_EQ(record.bytes()[10], c.exitDelay) << c.code;
        EXPECT_EQ(record.bytes()[11], c.entryDelay) << c.code;
        const PanelRecord::ZoneView& view = change->view;
        EXPECT_EQ(view.typeIndex, c.code);
        EXPECT_EQ(view.partitionIndex, 2);
        EXPECT_EQ(view.eventSelection, c.event) << c.code; // a zone switched off shows its own
        EXPECT_EQ(view.eventEnabled, c.eventEnabled) << c.code;
        EXPECT_EQ(view.delaysVisible, c.code == 7) << c.code;
        EXPECT_EQ(view.entryDelayText, c.delayText) << c.code;
        EXPECT_EQ(view.exitDelayText, c.delayText) << c.code;
        EXPECT_EQ(view.rearmEnabled, c.rearmEnabled) << c.code;
        EXPECT_EQ(view.rearmVisible, c.rearmVisible) << c.code;
        EXPECT_EQ(view.rearmChecked, c.rearmVisible) << c.code;
        EXPECT_EQ(view.requeryVisible, c.requeryVisible) << c.code;
        EXPECT_FALSE(view.requeryChecked) << c.code;
    }
    PanelRecord record(30);
    EXPECT_FALSE(record.SetZoneType(9, 3));
    EXPECT_FALSE(record.SetZoneType(1, 9));
    EXPECT_FALSE(record.SetZoneType(1, -1)); // a name no zone type has
    EXPECT_EQ(record.bytes(), kDefaults);
}

TEST(PanelRecord, ZoneSwitchedOffLosesItsRearmAtCommit) {
    PanelRecord record(30);
    PanelRecord::CollectedBoxes boxes = record.ShownBoxes();
    const auto change = record.SetZoneType(2, 0);
    ASSERT_TRUE(change);
    boxes.rearm[1] = change->view.rearmChecked;
    boxes.requery[0] = true;
    record.StoreCollectedBoxes(boxes);
    EXPECT_EQ(record.bytes()[32], 0xFD);
    EXPECT_EQ(record.bytes()[0], 0xB8); // zone 1's re-query bit
    EXPECT_FALSE(record.Zone(2)->rearmChecked);
    EXPECT_TRUE(record.Zone(1)->requeryChecked);
    EXPECT_TRUE(record.Zone(3)->rearmChecked);
}

TEST(PanelRecord, PartitionDependencyOnBothTypes) {
    // All zones in partition 1: no box is enabled, whatever byte 34 says or the boxes held.
    PanelRecord allInOne = RecordWith(30, 34, 0xFE);
    EXPECT_EQ(allInOne.ShownBoxes().dependency, 0x00);
    PanelRecord::CollectedBoxes checked = allInOne.ShownBoxes();
    checked.dependency = 0xFF;
    allInOne.StoreCollectedBoxes(checked);
    EXPECT_EQ(allInOne.bytes()[34], 0x00);
    // A partition is guarded by its door, internal or guard zones only.
    for (int type = 1; type <= 8; ++type) {
        PanelRecord record(30);
        record.SetZoneType(8, type);
        const auto view = record.SetZonePartition(8, 3);
        const bool guard = type >= 5 && type <= 7;
        EXPECT_EQ(view->Enabled(4), guard) << type;
        EXPECT_EQ(record.bytes()[33], guard ? 0x00 : 0x08) << type;
    }
    for (std::uint8_t type : {30, 31}) {
        PanelRecord record = RecordWith(type, 33, 0x5A);
        for (int zone = 1; zone <= 8; ++zone) {
            record.SetZoneType(zone, zone <= 4 ? 5 : 3);
            record.SetZonePartition(zone, zone <= 4 ? 1 : 0);
        }
        const PanelRecord::DependencyView view = record.RefreshPartitionDependency();
        EXPECT_TRUE(view.Enabled(2));
        for (int partition = 3; partition <= 8; ++partition)
            EXPECT_FALSE(view.Enabled(partition)) << partition;
        EXPECT_EQ(record.bytes()[33], type == 30 ? 0x01 : 0x5A);

        PanelRecord::CollectedBoxes boxes = record.ShownBoxes();
        boxes.dependency = 0xFF; // every box was checked before the zones moved
        record.StoreCollectedBoxes(boxes);
        EXPECT_EQ(record.bytes()[34], 0x02) << int(type);
        EXPECT_EQ(record.ShownBoxes().dependency, 0x02);
    }
    PanelRecord record(30);
    EXPECT_FALSE(record.SetZonePartition(1, 8));
    EXPECT_EQ(record.bytes()[0], 0x38);
}

TEST(PanelRecord, TimesAreClampedAndTheFieldCorrected) {
    struct Case {
        std::function<std::optional<std::string>(PanelRecord&, const char*)> set;
        const char* text;
        std::size_t at;
        std::vector<std::uint8_t> stored;
        std::optional<std::string> shown;
    };
    const auto siren = [](PanelRecord& r, const char* t) {
        return r.SetSirenTimeFromText(t);
    };
    const auto test = [](PanelRecord& r, const char* t) {
        return r.SetChannelTestFromText(t);
    };
    const auto entry = [](PanelRecord& r, const char* t) {
        return r.SetZoneDelayFromText(8, PanelRecord::Delay::Entry, t);
    };
    const Case cases[] = {
        {siren, "0", 53, {0x00, 0x01}, "1"}, {siren, "700", 53, {0x02, 0x58}, "600"},
        {siren, "x", 53, {0x00, 0x02}, "2"}, {siren, "600", 53, {0x02, 0x58}, std::nullopt},
        {test, "300", 45, {0xFF}, "255"},    {test, "q", 45, {0x05}, "5"},
        {entry, "150", 31, {0x63}, "99"},    {entry, "", 31, {0x1E}, "30"},
    };
    for (const Case& c : cases) {
        PanelRecord record(30);
        EXPECT_EQ(c.set(record, c.text), c.shown) << c.text;
        EXPECT_EQ(std::vector<std::uint8_t>(record.bytes().begin() + c.at,
                                            record.bytes().begin() + c.at + c.stored.size()),
                  c.stored)
            << c.text;
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
    EXPECT_FALSE(RecordWith(31, 35, 3).InterfaceVisibility().networkNumber);
    EXPECT_EQ(RecordWith(30, 0, 0x48).Zone(1)->typeIndex, std::nullopt); // type 9
    EXPECT_EQ(RecordWith(30, 1, 0).Zone(1)->eventSelection, std::nullopt);
    EXPECT_EQ(RecordWith(30, 1, 124).Zone(1)->eventSelection, std::nullopt); // a user event
}

TEST(PanelRecord, HandlersTouchOnlyTheirBits) {
    struct Case {
        std::function<void(PanelRecord&)> handle;
        std::size_t at;
        std::uint8_t before, after;
    };
    const Case cases[] = {
        {[](PanelRecord& r) { r.SetRelayMode(Relay::Alarm, 5); }, 37, 0x33, 0x53},
        {[](PanelRecord& r) { r.SetRelayMode(Relay::Fire, 0); }, 37, 0x33, 0x30},
        {[](PanelRecord& r) { r.SetRelayMode(Relay::Fire, 6); }, 37, 0x33, 0x33},
        {[](PanelRecord& r) { r.SetRelayMode(Relay::Control, 2); }, 38, 0x1F, 0x2F},
        {[](PanelRecord& r) { r.SetSmsRelay(PanelRecord::SmsRelay::Fire, true); }, 39, 0, 0x02},
        {[](PanelRecord& r) { r.SetOption(Option::TwoThresholdSiren, true); }, 40, 0x80, 0xC0},
        {[](PanelRecord& r) { r.SetOption(Option::LampBlinks, false); }, 40, 0xFF, 0xF7},
        {[](PanelRecord& r) { r.SetInternalPartition(7); }, 40, 0x80, 0x87},
        {[](PanelRecord& r) { r.SetLampMode(10); }, 42, 0x10, 0x1A},
        {[](PanelRecord& r) { r.SetLedMode(8); }, 42, 0x10, 0x80},
        {[](PanelRecord& r) { r.SetLedMode(9); }, 42, 0x10, 0x10},
        {[](PanelRecord& r) { r.SetMonitorBit(PanelRecord::kMonitorRelay4, true); }, 36, 1, 5},
        {[](PanelRecord& r) { r.SetMonitorBit(3, true); }, 36, 0, 0},
        {[](PanelRecord& r) { r.SetSirenSignals(false); }, 41, 1, 0},
        {[](PanelRecord& r) { r.SetRemoteDisarm(true); }, 56, 0, 1},
        {[](PanelRecord& r) { r.SetTouchMemoryMode(2); }, 57, 0, 2},
        {[](PanelRecord& r) { r.SetTouchMemoryMode(3); }, 57, 0, 0},
        {[](PanelRecord& r) { r.SetZoneEvent(5, 238); }, 17, 0x10, 238},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        PanelRecord record = RecordWith(30, cases[i].at, cases[i].before);
        cases[i].handle(record);
        EXPECT_EQ(record.bytes()[cases[i].at], cases[i].after) << "case " << i;
    }
}

TEST(PanelRecord, QueriesReadTheirBits) {
    PanelRecord record(30);
    for (auto [at, value] : {std::pair<std::size_t, std::uint8_t>{36, 0x82},
                             {39, 0x02},
                             {40, 0x2D},
                             {41, 0x02},
                             {44, 0x03},
                             {45, 17},
                             {56, 0x04}})
        record.bytes()[at] = value;
    EXPECT_TRUE(record.MonitorBit(PanelRecord::kMonitorRelay3));
    EXPECT_FALSE(record.MonitorBit(PanelRecord::kMonitorRelay4));
    EXPECT_TRUE(record.MonitorBit(PanelRecord::kMonitorLamp));
    EXPECT_FALSE(record.SmsRelayOn(PanelRecord::SmsRelay::Alarm));
    EXPECT_TRUE(record.SmsRelayOn(PanelRecord::SmsRelay::Fire));
    EXPECT_EQ(record.InternalPartitionIndex(), 5);
    EXPECT_TRUE(record.HasOption(Option::LampBlinks));
    EXPECT_FALSE(record.HasOption(Option::ArmingFeedback));
    EXPECT_TRUE(record.HasOption(Option::TwoThresholdEvents));
    EXPECT_TRUE(record.SirenSignals());
    EXPECT_TRUE(record.SmsDisarm());
    EXPECT_TRUE(record.RemoteDisarm());
    EXPECT_EQ(record.GsmPage().channelTestText, "17");
}

TEST(PanelRecord, InterfaceChangeOnType30) {
    PanelRecord record(30);
    ASSERT_TRUE(record.SetDeviceNumberFromText("0042"));
    const auto gsm = record.SetInterfaceFromText("GSM-VANTIQ");
    EXPECT_EQ(record.bytes()[35], 2);
    EXPECT_TRUE(gsm.view.gsmPage);
    EXPECT_TRUE(gsm.directionsReset);
    EXPECT_EQ(record.GsmPage().deviceNumber, "0001");
    ASSERT_TRUE(gsm.warning);
    EXPECT_EQ(gsm.warning->caption, "Недоступно");
    EXPECT_EQ(gsm.warning->text,
              "Извините, пока в программаторе не реализована\r\nподдержка GSM-Vantiq");
    record.SetDeviceNumberFromText("0042");
    const auto again = record.SetInterfaceFromText("GSM-VANTIQ");
    EXPECT_FALSE(again.directionsReset); // the typed number stays
    EXPECT_TRUE(again.warning);
    EXPECT_EQ(record.GsmPage().deviceNumber, "0042");

    const auto rs485 = record.SetInterfaceFromText("RS-485");
    EXPECT_EQ(record.bytes()[35], 3);
    EXPECT_TRUE(rs485.view.networkNumber);
    EXPECT_FALSE(rs485.view.gsmPage || rs485.view.remoteDisarm || rs485.warning);
    EXPECT_TRUE(record.SetInterfaceFromText("Velmar ППМ, Quell").view.remoteDisarm);
    record.SetInterfaceFromText("");
    EXPECT_EQ(record.bytes()[35], 255);
}

TEST(PanelRecord, Type31LeavesTheGsmPageAndNetworkNumberAsRead) {
    PanelRecord record(31);
    ASSERT_EQ(record.InterfaceTexts().size(), 3u);
    const auto gsm = record.SetInterfaceFromText("GSM-VANTIQ");
    EXPECT_EQ(record.bytes()[35], 2);
    EXPECT_TRUE(gsm.warning);
    EXPECT_FALSE(gsm.view.gsmPage || gsm.directionsReset);
    record.SetInterfaceFromText("RS-485"); // not offered to type 31
    EXPECT_EQ(record.bytes()[35], 255);
    record.SetSmsDisarm(true);
    record.SetNetworkNumber(5);
    EXPECT_FALSE(record.SetChannelTestFromText("9"));
    EXPECT_FALSE(record.SetDeviceNumberFromText("1234"));
    Bytes expected = kDefaults;
    expected[35] = 255;
    EXPECT_EQ(record.bytes(), expected);

    PanelRecord type30(30);
    type30.SetSmsDisarm(true);
    type30.SetNetworkNumber(7);
    type30.SetNetworkNumber(8);
    EXPECT_EQ(type30.bytes()[44], 1);
    EXPECT_EQ(type30.bytes()[43], 7);
}

TEST(PanelRecord, WriteFramesOfTheDefaults) {
    std::vector<std::uint8_t> expected = {0x7E, 0x40, 0x57, 0x01, 0x1E};
    expected.insert(expected.end(), kDefaults.begin(), kDefaults.end());
    expected.push_back(0xC1);
    std::vector<std::uint8_t> tx(64);
    ASSERT_EQ(PanelRecord(30).WriteFrame(tx), 64u);
    EXPECT_EQ(tx, expected);
    ASSERT_EQ(PanelRecord(31).WriteFrame(tx), 64u);
    expected[4] = 0x1F;
    expected[63] = 0x89;
    EXPECT_EQ(tx, expected);
}

// Saves `record` and opens the file into a type 30 record whose device number is 7777.
PanelRecord SavedAndOpened(const PanelRecord& record, std::vector<std::uint8_t>& image) {
    TFileIOSaver writer(record.type());
    for (std::span<const std::uint8_t> block : record.FileBlocks())
        writer.AddRecord(block);
    image = writer.Image();
    TFileIOSaver reader;
    reader.LoadFromBytes(image);
    PanelRecord opened(record.type());
    opened.SetDeviceNumberFromText("7777");
    EXPECT_TRUE(opened.LoadFromFile(reader));
    return opened;
}

TEST(PanelRecord, FileKeepsTheDirectionBlockOnlyWithGsm) {
    PanelRecord gsm(30);
    gsm.SetInterfaceFromText("GSM-VANTIQ");
    gsm.SetDeviceNumberFromText("0042");
    std::vector<std::uint8_t> image;
    const PanelRecord opened = SavedAndOpened(gsm, image);
    ASSERT_EQ(image.size(), 3u + 2 + 58 + 2 + 150 + 1); // 208 bytes of content
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 63, image.begin() + 71),
              (std::vector<std::uint8_t>{0x00, 0x96, 0x7E, 0x00, 0x57, 0x00, 0x00, 0x2A}));
    EXPECT_EQ(opened.bytes(), gsm.bytes());
    EXPECT_EQ(opened.directions().DeviceNumber(), 42);

    // The SMS flag is shown from the block, with "Изменить..." beside it.
    PanelDirections::Bytes smsBlock = gsm.directions().bytes();
    smsBlock[7] = 1;
    TFileIOSaver writer(30);
    writer.AddRecord(gsm.bytes());
    writer.AddRecord(smsBlock);
    TFileIOSaver reader;
    reader.LoadFromBytes(writer.Image());
    PanelRecord sms(30);
    ASSERT_TRUE(sms.LoadFromFile(reader));
    EXPECT_TRUE(sms.GsmPage().sendSms);
    EXPECT_TRUE(sms.GsmPage().changeButtonVisible);
    EXPECT_FALSE(opened.GsmPage().changeButtonVisible);

    const PanelRecord plain = SavedAndOpened(PanelRecord(30), image);
    EXPECT_EQ(image.size(), 3u + 2 + 58 + 1);
    EXPECT_EQ(plain.directions().DeviceNumber(), 7777); // no block: the one held stays
    PanelRecord type31(31);
    type31.bytes()[35] = 2;
    SavedAndOpened(type31, image);
    EXPECT_EQ(image.size(), 3u + 2 + 58 + 1);
}

TEST(PanelRecord, FileWithoutTheRecordChangesNothing) {
    TFileIOSaver writer(30);
    writer.AddRecord(std::vector<std::uint8_t>(57, 0x11));
    TFileIOSaver reader;
    reader.LoadFromBytes(writer.Image());
    PanelRecord record(30);
    EXPECT_FALSE(record.LoadFromFile(reader));
    EXPECT_EQ(record.bytes(), kDefaults);
}

} // namespace
} // namespace tesmira
