// The radio repeater records of types 34 and 35: defaults, what the controls show, what each
// handler stores, the objects round trip and the write frames.
#include "editors/ObjectList.h"
#include "editors/RepeaterRecord34.h"
#include "editors/RepeaterRecord35.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string_view>;
using Indexes = std::vector<std::optional<int>>;
using Flags = std::vector<bool>;
using Check = RepeaterRecord35::ChannelCheck;
using R34 = RepeaterRecord34;
using R35 = RepeaterRecord35;

const Bytes kHead34 = {0x00, 0x18, 0x00, 0x01, 0x05, 0x05, 0x05,
                       0x08, 0x01, 0x03, 0x33, 0x00, 0x0C};
const Bytes kHead35 = {0x01, 0x00, 0x00, 0x03, 0x04, 0x07, 0x17, 0x1E, 0x1E, 0x01,
                       0x01, 0x03, 0x00, 0x01, 0x18, 0x28, 0x01, 0x01, 0x33, 0x00};

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Zeros(std::size_t count) {
    return Bytes(count, 0x00);
}

template <typename Record> Bytes BytesOf(const Record& record) {
    return {record.bytes().begin(), record.bytes().end()};
}

Texts TextsOf(std::span<const std::string_view> texts) {
    return {texts.begin(), texts.end()};
}

// The items' texts; each item must carry the number it shows ("Выкл." is 0).
Texts TextsOf(std::span<const CodedItem> items) {
    Texts texts;
    for (const CodedItem& item : items) {
        EXPECT_EQ(item.text, item.code == 0 ? "Выкл." : std::to_string(item.code));
        texts.push_back(item.text);
    }
    return texts;
}

// Each row: handler calls on the defaults, and the one byte they change (to what).
template <typename Record>
using HandlerRows = std::vector<std::tuple<std::function<void(Record&)>, std::size_t, int>>;
template <typename Record> void ExpectEachChangesOnlyItsByte(const HandlerRows<Record>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& [handle, at, value] = rows[i];
        Record record;
        handle(record);
        Bytes expected = BytesOf(Record());
        expected[at] = static_cast<std::uint8_t>(value);
        EXPECT_EQ(BytesOf(record), expected) << "row " << i;
    }
}

// Entries the dialog would normalise (a number without type, unused bits set) at both ends of
// the objects come back from the objects window as they were.
template <typename Record> void ExpectObjectsRoundTrip(std::size_t firstAt, std::size_t count) {
    Record record;
    const Bytes odd = {0x3C, 0x12, 0x34, 0xFD, 0xFF, 0xFF};
    std::copy(odd.begin(), odd.end(), record.bytes().begin() + firstAt);
    std::copy(odd.begin(), odd.end(), record.bytes().end() - 6);
    const Bytes before = BytesOf(record);
    ObjectList list(count);
    ASSERT_TRUE(list.LoadEntries(record.Objects()));
    EXPECT_EQ(list.Entry(0), (TransmitterEntry{0x3C, 0x12, 0x34}));
    EXPECT_EQ(list.Entry(count - 1), (TransmitterEntry{0xFD, 0xFF, 0xFF}));
    ASSERT_TRUE(list.StoreEntries(record.Objects()));
    EXPECT_EQ(BytesOf(record), before);
}

TEST(RepeaterRecords, ListTextsAreTheDevicesOwn) {
    EXPECT_EQ(TextsOf(RelayModeTexts()), (Texts{"Отключено", "3 секунды", "2 минуты", "До сброса",
                                                "Прерывисто 2 минуты", "Прерывисто до сброса"}));
    EXPECT_EQ(TextsOf(R34::TransmissionTexts()),
              (Texts{"Velmor 550", "Промежуточный 1", "Промежуточный 2", "Промежуточный 3",
                     "Промежуточный 4", "Промежуточный 5", "Промежуточный 6"}));
    EXPECT_EQ(TextsOf(R35::TransmissionModeTexts()),
              (Texts{"Выключено", "Pirra-201", "Pirra-202", "Velmor"}));
    EXPECT_EQ(TextsOf(R35::ChannelCheckItems(Check::Stavel)),
              (Texts{"Выкл.", "4", "8", "16", "20", "24", "28", "32"}));
    EXPECT_EQ(TextsOf(R35::ChannelCheckItems(Check::Site)),
              (Texts{"Выкл.", "20", "30", "40", "50", "60", "70", "80", "90"}));
}

TEST(RepeaterRecords, ObjectsRoundTripLeavesTheRecordAsItWas) {
    ExpectObjectsRoundTrip<R34>(13, 14);
    ExpectObjectsRoundTrip<R35>(20, 32);
    EXPECT_EQ(ObjectsButtonCaption(std::nullopt), "Объекты");
    EXPECT_EQ(ObjectsButtonCaption(2), "Объектов 2");
}

TEST(RepeaterRecord34, DefaultsShowWhatTheDeviceLeavesTheFactoryWith) {
    const R34 r;
    EXPECT_EQ(BytesOf(r), Joined({kHead34, Zeros(42)}));
    // Letter "1", "Velmor 550", both relays "До сброса".
    EXPECT_EQ((Indexes{r.ReceiveLetterIndex(), r.TransmissionIndex(),
                       r.RelayModeIndex(Relay::Alarm), r.RelayModeIndex(Relay::Fire)}),
              (Indexes{0, 0, 3, 3}));
    EXPECT_EQ((Flags{r.Buzzer(), r.IndicationBit(kIndicateOnReaderLed),
                     r.IndicationBit(kIndicateOnLeds), r.FireRelayCheck()}),
              (Flags{true, true, true, false}));
    EXPECT_EQ(r.SystemNumberText() + "/" + r.ChannelCheckText(), "24/8");
    R34 odd; // values no item stands for show no selection
    odd.Assign(R34::Bytes{7, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0x6F});
    EXPECT_EQ((Indexes{odd.ReceiveLetterIndex(), odd.TransmissionIndex(),
                       odd.RelayModeIndex(Relay::Alarm), odd.RelayModeIndex(Relay::Fire)}),
              (Indexes{{}, {}, {}, {}}));
}

TEST(RepeaterRecord34, EachHandlerChangesOnlyItsByte) {
    ExpectEachChangesOnlyItsByte<R34>({
        {[](R34& r) { r.SetTransmissionFromIndex(6); }, 0, 6},
        {[](R34& r) { r.SetTransmissionFromIndex(7); }, 0, 0},
        {[](R34& r) { r.SetSystemNumberFromText("300"); }, 1, 255},
        {[](R34& r) { r.SetSystemNumberFromText("x"); }, 1, 0},
        {[](R34& r) { r.SetReceiveLetterFromIndex(7); }, 3, 8},
        {[](R34& r) { r.SetReceiveLetterFromIndex(8); }, 3, 1},
        {[](R34& r) { r.SetChannelCheckFromText("2"); }, 7, 4},
        {[](R34& r) { r.SetChannelCheckFromText("45"); }, 7, 30},
        {[](R34& r) { r.SetChannelCheckFromText("abc"); }, 7, 4},
        {[](R34& r) { r.SetBuzzer(false); }, 8, 0},
        {[](R34& r) { r.SetIndicationBit(kIndicateOnLeds, false); }, 9, 0x01},
        {[](R34& r) { r.SetIndicationBit(kIndicateOnReaderLed, false); }, 9, 0x02},
        {[](R34& r) { r.SetIndicationBit(2, true); }, 9, 0x03},
        {[](R34& r) {
             r.SetRelayModeFromIndex(Relay::Fire, 1);  // "3 секунды"
             r.SetRelayModeFromIndex(Relay::Alarm, 5); // "Прерывисто до сброса"
             r.SetRelayModeFromIndex(Relay::Alarm, 6); // no such item
         },
         10, 0x51},
        {[](R34& r) { r.SetFireRelayCheck(true); }, 11, 1},
    });
    R34 record; // the edit shows the clamped value
    EXPECT_EQ(record.SetChannelCheckFromText("45"), "30");
    EXPECT_EQ(record.SetSystemNumberFromText("200"), std::nullopt);
}

TEST(RepeaterRecord34, WriteFrameOfTheDefaults) {
    Bytes tx(64, 0xEE);
    ASSERT_EQ(R34().WriteFrame(tx, 34), 61u);
    EXPECT_EQ(
        tx, Joined({{0x14, 0x00, 0x00, 0x3D, 0x22}, kHead34, Zeros(42), {0xFB, 0xEE, 0xEE, 0xEE}}));
}

TEST(RepeaterRecord35, DefaultsShowWhatTheDeviceLeavesTheFactoryWith) {
    const R35 r;
    EXPECT_EQ(BytesOf(r), Joined({kHead35, Zeros(96)}));
    // Zones "Пожарный" and "Дверной", letter "1", "Pirra-201" with letter "1" of "1".."8",
    // both relays "До сброса".
    const auto letters = r.TransmitLetterView();
    EXPECT_EQ((Indexes{r.ZoneTypeIndex(1), r.ZoneTypeIndex(2), r.ReceiveLetterIndex(),
                       r.TransmissionModeIndex(), letters.index, r.RelayModeIndex(Relay::Alarm),
                       r.RelayModeIndex(Relay::Fire)}),
              (Indexes{3, 7, 0, 1, 0, 3, 3}));
    EXPECT_EQ(letters.items.size(), 8u);
    EXPECT_EQ(r.ZoneEvent(1), 4);  // 110 - ПОЖАР
    EXPECT_EQ(r.ZoneEvent(2), 23); // 134 - ВХОД/ВЫХОД
    EXPECT_EQ((Flags{letters.letterVisible, letters.rs485Visible, r.Rs485(), r.Buzzer(),
                     r.StavelDelay(), r.ActivateRelays(), r.LockAfterAlarm(),
                     r.CommunicatorConnected(), r.FireRelayCheck(), r.ZoneEventEnabled(1),
                     r.IndicationBit(kIndicateOnReaderLed), r.IndicationBit(kIndicateOnLeds)}),
              (Flags{true, true, false, true, true, true, false, false, false, true, true, true}));
    EXPECT_EQ(r.DelayText(R35::Delay::Entry) + "/" + r.DelayText(R35::Delay::Exit) + "/" +
                  r.ChannelCheckText(Check::Stavel) + "/" + r.ChannelCheckText(Check::Site),
              "30/30/24/40");
}

TEST(RepeaterRecord35, ModeChoiceClearsRs485AndShowsItsLetters) {
    R35 record;
    record.bytes()[13] = 0x82;
    EXPECT_EQ(record.TransmissionModeIndex(), 2); // "Pirra-202"
    EXPECT_TRUE(record.Rs485());
    EXPECT_EQ(record.TransmitLetterView().items.size(), 30u);
    ASSERT_TRUE(record.SetTransmissionModeFromIndex(2)); // the same mode again
    EXPECT_EQ(record.bytes()[13], 0x02);

    record.SetRs485(true);
    const auto off = record.SetTransmissionModeFromIndex(0);
    EXPECT_EQ(record.bytes()[13], 0x00);
    EXPECT_EQ((Flags{off->rs485Visible, off->letterVisible, off->items.empty()}),
              (Flags{true, false, true}));
    const auto velmor = record.SetTransmissionModeFromIndex(3);
    EXPECT_EQ((Flags{velmor->rs485Visible, velmor->letterVisible}), (Flags{false, false}));
    EXPECT_EQ(record.SetTransmissionModeFromIndex(4), std::nullopt);
    EXPECT_EQ(record.bytes()[13], 0x03);
    for (std::uint8_t byte : {0x84, 0x85}) { // modes no item names: their RS-485 bit still shows
        record.bytes()[13] = byte;
        EXPECT_EQ((Flags{record.TransmitLetterView().rs485Visible,
                         record.TransmitLetterView().letterVisible}),
                  (Flags{true, false}))
            << int(byte);
    }
}

TEST(RepeaterRecord35, ALetterTheModeLacksShowsNoSelectionAndStays) {
    R35 record;
    record.SetTransmissionModeFromIndex(2);
    record.SetTransmitLetterFromIndex(19);
    const auto eight = record.SetTransmissionModeFromIndex(1);
    EXPECT_EQ(eight->items.size(), 8u); // "1".."8"
    EXPECT_EQ(eight->index, std::nullopt);
    EXPECT_EQ(record.bytes()[10], 20);
    record.SetTransmitLetterFromIndex(8); // not in this mode's list
    EXPECT_EQ(record.bytes()[10], 20);
    record.SetTransmitLetterFromIndex(4);
    EXPECT_EQ(record.bytes()[10], 5);
    // A letter the new list has stays shown, not replaced by "1".
    EXPECT_EQ(record.SetTransmissionModeFromIndex(2)->index, 4);
}

TEST(RepeaterRecord35, ChannelChecksAreClampedAndOffIsShownAsOff) {
    const std::tuple<Check, std::string_view, int, std::optional<std::string>> rows[] = {
        {Check::Stavel, "50", 32, "32"},    {Check::Site, "120", 99, "99"},
        {Check::Stavel, "abc", 0, "Выкл."}, {Check::Site, "abc", 0, "Выкл."},
        {Check::Stavel, "25", 25, {}},      {Check::Site, "Выкл.", 0, {}},
        {Check::Site, "-5", 0, "Выкл."},    {Check::Stavel, "0", 0, {}},
        {Check::Site, "99", 99, {}},        {Check::Stavel, "33", 32, "32"},
    };
    for (const auto& [check, text, stored, shown] : rows) {
        R35 record;
        EXPECT_EQ(record.SetChannelCheckFromText(check, text), shown) << text;
        EXPECT_EQ(record.bytes()[check == Check::Stavel ? 14 : 15], stored) << text;
        EXPECT_EQ(record.ChannelCheckText(check), stored == 0 ? "Выкл." : std::to_string(stored));
    }
    // A pick stores its item's period; a period no item carries changes nothing.
    R35 record;
    record.SetChannelCheckPeriod(Check::Stavel, 16);
    record.SetChannelCheckPeriod(Check::Site, 0);
    record.SetChannelCheckPeriod(Check::Stavel, 25);
    record.SetChannelCheckPeriod(Check::Site, -1);
    EXPECT_EQ(record.ChannelCheckPeriod(Check::Stavel), 16);
    EXPECT_EQ(record.ChannelCheckPeriod(Check::Site), 0);
}

TEST(RepeaterRecord35, ZoneTypesAndEvents) {
    R35 record;
    EXPECT_FALSE(record.SetZoneType(1, 0)->eventEnabled); // "Отключен"
    EXPECT_EQ(record.SetZoneType(2, 5)->eventToShow, 20); // "Охранный": 131 - ПЕРИМЕТР
    // Zone 1 off with its event kept, zone 2 with its type's event.
    EXPECT_EQ(Bytes(record.bytes().begin() + 3, record.bytes().begin() + 7),
              (Bytes{0x00, 0x04, 0x05, 0x14}));
    EXPECT_EQ(record.SetZoneType(1, 8), std::nullopt); // not offered to these zones
    EXPECT_EQ(record.SetZoneType(3, 1), std::nullopt);
    const Bytes before = BytesOf(record);
    record.SetZoneEvent(3, 0x55); // byte 8 would be the entry delay
    EXPECT_EQ(BytesOf(record), before);
    record.SetZoneEvent(2, 0);                    // an event box without selection
    EXPECT_EQ(record.ZoneEvent(2), std::nullopt); // shown as none, not as the previous event
    record.bytes()[5] = 8;
    EXPECT_EQ(record.ZoneTypeIndex(2), std::nullopt);
}

TEST(RepeaterRecord35, CommunicatorBoxTakesOnlyItsBit) {
    R35 record;
    record.bytes()[12] = 0xF0;
    record.SetCommunicatorConnected(true);
    EXPECT_EQ(record.bytes()[12], 0xF1);
    record.SetCommunicatorConnected(false);
    EXPECT_EQ(record.bytes()[12], 0xF0);
}

TEST(RepeaterRecord35, EachHandlerChangesOnlyItsByte) {
    using D = R35::Delay;
    ExpectEachChangesOnlyItsByte<R35>({
        {[](R35& r) { r.SetBuzzer(false); }, 0, 0},
        {[](R35& r) { r.SetLockAfterAlarm(true); }, 1, 1},
        {[](R35& r) { r.SetZoneEvent(1, 238); }, 4, 238},
        {[](R35& r) { r.SetDelayFromText(D::Exit, "-5"); }, 7, 0},
        {[](R35& r) { r.SetDelayFromText(D::Entry, "150"); }, 8, 99},
        {[](R35& r) { r.SetReceiveLetterFromIndex(7); }, 9, 8},
        {[](R35& r) { r.SetTransmitLetterFromIndex(7); }, 10, 8},
        {[](R35& r) { r.SetIndicationBit(kIndicateOnReaderLed, false); }, 11, 0x02},
        {[](R35& r) { r.SetCommunicatorConnected(true); }, 12, 0x01},
        {[](R35& r) { r.SetRs485(true); }, 13, 0x81},
        {[](R35& r) { r.SetStavelDelay(false); }, 16, 0},
        {[](R35& r) { r.SetActivateRelays(false); }, 17, 0},
        {[](R35& r) { r.SetRelayModeFromIndex(Relay::Alarm, 5); }, 18, 0x53},
        {[](R35& r) { r.SetRelayModeFromIndex(Relay::Fire, 0); }, 18, 0x30},
        {[](R35& r) { r.SetFireRelayCheck(true); }, 19, 1},
    });
}

TEST(RepeaterRecord35, WriteFrameOfTheDefaultsLeavesByteFive) {
    Bytes tx(125, 0xEE);
    ASSERT_EQ(R35().WriteFrame(tx, 35), 123u);
    EXPECT_EQ(
        tx, Joined({{0x14, 0x00, 0x00, 0x7B, 0x23, 0xEE}, kHead35, Zeros(96), {0x7A, 0xEE, 0xEE}}));
}

} // namespace
} // namespace tesmira
