#include "app/DeviceConfigs.h"
#include "gsm/GsmDeviceConfig.h"
#include "support/HexBytes.h"
#include "support/PatchedImage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Hex;

using Patch = test::BlockPatch;

// The type's defaults with some bytes replaced, taken in as a file is.
std::unique_ptr<DeviceConfig> Loaded(std::uint8_t type, const std::vector<Patch>& patches,
                                     const std::vector<Bytes>& extra = {}) {
    auto config = MakeDeviceConfig(type);
    EXPECT_TRUE(config->LoadImage(test::PatchedImage(*config, patches, extra)).Taken());
    return config;
}

Bytes DirectionBlock() {
    Bytes block(150, 0);
    const Bytes head = Hex("7E 00 57 00 04 D2 00 01 0B 69 39 31 36 31 32 33 34 35 36 37 00");
    std::copy(head.begin(), head.end(), block.begin());
    return block;
}

// A GSM configuration with a phone, a caption and an event changed, written and read back.
std::unique_ptr<DeviceConfig> ChangedGsm() {
    GsmDeviceConfig changed;
    changed.gsm.phones[0] = {"+79161234567", "Группа 2", "Все", "Тревоги"};
    changed.gsm.captions.rows()[0] = {"Шлейф", "3", "Hall"};
    changed.gsm.events.Set(130, EventSelection::Kind::Violation, false);
    changed.gsm.record.SetDeviceNumberFromText("1234");
    changed.gsm.Commit();
    auto config = MakeDeviceConfig(32);
    EXPECT_TRUE(config->LoadImage(changed.Image()).Taken());
    return config;
}

struct Sample {
    const char* id;
    const char* text;
};

struct Case {
    const char* name;
    std::unique_ptr<DeviceConfig> (*make)();
    std::vector<Sample> samples;
};

// clang-format off
const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = [] {
        std::vector<Case> c;
        c.push_back({"26 defaults",
                     [] { return MakeDeviceConfig(26); },
                     {{"loop.1.type", "Пожарный"}, {"loop.2.event", "370 - ШЛЕЙФ НЕИСПР"},
                      {"delay.exit", "60"}, {"monitor.u2", "выкл"}, {"use_buzzer", "вкл"},
                      {"tx.channel_check", "1 мин."}}});
        c.push_back({"26 changed",
                     [] {
                         return Loaded(26, {{0, 0, Hex("1E 0C 08 0D 05 82 00 04 63 00 E0 01 00")}});
                     },
                     {{"tx.letter", "30"}, {"tx.alarm_count", "12"}, {"tx.restore_count", "8"},
                      {"tx.channel_check", "6,5  мин."}, {"loop.1.type", "Охранный"},
                      {"loop.1.event", "407 - СНЯТ С ПЦН"}, {"loop.2.type", "Отключен"},
                      {"loop.2.event", "110 - ПОЖАР"}, {"delay.exit", "99"}, {"delay.entry", "0"},
                      {"monitor.siren", "вкл"}, {"guard_sound", "вкл"}, {"use_buzzer", "выкл"}}});
        c.push_back({"27 outside the lists",
                     [] {
                         return Loaded(27, {{0, 0, Hex("1F 02 09 0E 08 00")}});
                     },
                     {{"tx.letter", ""}, {"tx.alarm_count", ""}, {"tx.restore_count", ""},
                      {"tx.channel_check", ""}, {"loop.1.type", ""}, {"loop.1.event", ""}}});
        c.push_back({"30 defaults",
                     [] { return MakeDeviceConfig(30); },
                     {{"zone.1.type", "Дверной"}, {"zone.1.event", "134 - ВХОД/ВЫХОД"},
                      {"zone.1.rearm", "вкл"}, {"zone.1.entry_delay", "30"},
                      {"relay.control", "3 секунды"}, {"siren_time", "120"},
                      {"reader_led", "Горит если взят раздел 1"}, {"device_number", "0001"},
                      {"direction.1.tries", "Выкл."}, {"matrix.1.0", "вкл"}, {"matrix.2.0", "выкл"},
                      {"arming_condition", "взяты все разделы"}}});
        c.push_back({"30 changed",
                     [] {
                         return Loaded(30,
                                       {{0, 8, Hex("9A 82")}, {0, 32, Hex("00")},
                                        {0, 35, Hex("02")}, {0, 37, Hex("45")}, {0, 40, Hex("8D")},
                                        {0, 42, Hex("2A 05")}, {0, 46, Hex("81")},
                                        {0, 52, Hex("00 02 58 F0")}},
                                       {DirectionBlock()});
                     },
                     {{"zone.3.partition", "3"}, {"zone.3.type", "Пожарный"},
                      {"zone.3.requery", "вкл"}, {"zone.3.event", ""}, {"zone.1.rearm", "выкл"},
                      {"interface", "GSM-VANTIQ"}, {"relay.alarm", "Прерывисто 2 минуты"},
                      {"relay.fire", "Прерывисто до сброса"}, {"internal_partition", "6"},
                      {"lamp_blinks", "вкл"},
                      {"lamp_mode", "Горит если взят хоть один из разделов"},
                      {"reader_led", "Горит если взят раздел 2"}, {"network_number", "5"},
                      {"matrix.1.7", "вкл"}, {"arming_condition", "взят любой из разделов"},
                      {"siren_time", "600"}, {"buzzer", "4 минуты "}, {"device_number", "1234"},
                      {"send_sms", "вкл"}, {"direction.1.tries", "3"}, {"direction.1.sim", "1"},
                      {"direction.1.protocol", "CSD"}, {"direction.1.phone", "9161234567"},
                      {"direction.2.tries", "Выкл."}}});
        c.push_back({"31 defaults",
                     [] { return MakeDeviceConfig(31); },
                     {{"zone.2.type", "Охранный"}, {"interface", "Отключено"}}});
        c.push_back({"33 defaults",
                     [] { return MakeDeviceConfig(33); },
                     {{"zone.4.type", "Тихий тревожный"}, {"zone.4.event", "122 - Т.К.ТИХАЯ"},
                      {"buzzer", "До сброса"}, {"network_number", "1"}}});
        c.push_back({"33 changed",
                     [] {
                         return Loaded(33, {{0, 0, Hex("08 82")},
                                            {0, 10, Hex("01 02 20 01 87 00 01 FF 02 01")}});
                     },
                     {{"zone.1.type", ""}, {"zone.1.event", ""}, {"gsm", "вкл"},
                      {"interface", "RS-485"}, {"network_number", "32"}, {"arming_feedback", "вкл"},
                      {"line_short_duty", "вкл"}, {"key_fob_alarm", "вкл"}, {"lamp_blinks", "вкл"},
                      {"siren_time", "1"}, {"buzzer", "Выключен всегда"},
                      {"touch_memory", "Ставить на охрану размыканием входа TM"},
                      {"remote_disarm", "вкл"}}});
        c.push_back({"34 defaults",
                     [] { return MakeDeviceConfig(34); },
                     {{"transmission", "Velmor 550"}, {"system_number", "24"},
                      {"site_channel_check", "8"}, {"object.14.type", "Выключен"},
                      {"object.14.number", ""}}});
        c.push_back({"34 changed",
                     [] {
                         return Loaded(34, {{0, 0, Hex("03 FF")}, {0, 7, Hex("1E 00 01 15 01")},
                                            {0, 13, Hex("82 AB CD")}});
                     },
                     {{"transmission", "Промежуточный 3"}, {"system_number", "255"},
                      {"site_channel_check", "30"}, {"buzzer", "выкл"},
                      {"indication.reader_led", "вкл"}, {"indication.leds", "выкл"},
                      {"relay.alarm", "3 секунды"}, {"relay.fire", "Прерывисто до сброса"},
                      {"relay.fire_check", "вкл"}, {"object.1.type", "Pirra"},
                      {"object.1.number", "2ABCD"}}});
        c.push_back({"35 defaults",
                     [] { return MakeDeviceConfig(35); },
                     {{"transmit.mode", "Pirra-201"}, {"stavel_channel_check", "24"},
                      {"zone.2.type", "Дверной"}, {"lock_after_alarm", "выкл"}}});
        c.push_back(
            {"35 changed",
             [] {
                 return Loaded(35, {{0, 10, Hex("14 00 01 81 00 00")}, {0, 3, Hex("00 82")}});
             },
             {{"transmit.mode", "Pirra-201"}, {"transmit.rs485", "вкл"}, {"transmit.letter", ""},
              {"communicator", "вкл"}, {"stavel_channel_check", "Выкл."},
              {"site_channel_check", "Выкл."}, {"zone.1.type", "Отключен"}, {"zone.1.event", ""}}});
        c.push_back({"32 defaults",
                     [] { return MakeDeviceConfig(32); },
                     {{"device_number", "0001"}, {"sim1.balance_code", "*102#"}, {"port", "24334"},
                      {"phone.1.number", ""}, {"caption.1.type", ""},
                      {"event.3.255.restoration", "1"}}});
        c.push_back({"32 changed",
                     ChangedGsm,
                     {{"device_number", "1234"}, {"phone.1.number", "+79161234567"},
                      {"phone.1.group", "Группа 2"}, {"phone.1.partition", "Все"},
                      {"phone.1.call", "Тревоги"}, {"caption.1.type", "Шлейф"},
                      {"caption.1.number", "3"}, {"caption.1.name", "Hall"},
                      {"event.1.130.violation", ""}, {"event.1.130.restoration", "1"},
                      {"event.2.130.violation", "1"}}});
        return c;
    }();
    return cases;
}
// clang-format on

TEST(FieldTables, EveryBitOfEveryBlockHasExactlyOneOwnerAndIdsAreUniqueAscii) {
    for (const Case& c : Cases()) {
        const FieldTable table = c.make()->Fields();
        EXPECT_TRUE(table.CoverageFaults().empty()) << c.name;
        std::set<std::string> ids;
        for (const Field& field : table.fields()) {
            EXPECT_TRUE(ids.insert(field.id).second) << c.name << " " << field.id;
            for (const char ch : field.id)
                EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch)) || ch == '.' || ch == '_')
                    << c.name << " " << field.id;
        }
    }
}

TEST(FieldTables, ValueTextsAreWhatTheControlsShow) {
    for (const Case& c : Cases()) {
        const FieldTable table = c.make()->Fields();
        for (const Sample& sample : c.samples) {
            const Field* field = table.Find(sample.id);
            ASSERT_NE(field, nullptr) << c.name << " " << sample.id;
            EXPECT_EQ(field->value, sample.text) << c.name << " " << sample.id;
        }
    }
}

TEST(FieldTables, CoverageFaultsNameBitsNobodyOwnsAndBitsOwnedTwice) {
    FieldTable table({Bytes(2, 0)});
    table.Add("a", "A", "", FieldPlace{0, 0, 1, 0x0F});
    table.Reserve({0, 0, 1, 0x18});
    const std::vector<FieldTable::Fault> expected = {{0, 0, 0xE0, 0x08}, {0, 1, 0xFF, 0x00}};
    EXPECT_EQ(table.CoverageFaults(), expected);
    table.Add("b", "B", "", FieldPlace{0, 0, 2, 0xE0});
    EXPECT_EQ(table.CoverageFaults(), (std::vector<FieldTable::Fault>{{0, 0, 0x00, 0x08}}));
}

struct Expected {
    std::string id, page, label, left, right, control;
};

struct Change {
    std::uint8_t type;
    Patch patch;
    Expected expected;
};

TEST(FieldTables, CompareListsExactlyTheChangedFieldWithBothTexts) {
    const Change changes[] = {
        {26,
         {0, 8, Hex("63")},
         {"delay.exit", "Задержка, сек", "выход:", "60", "99", "edtRetDelOut"}},
        {30,
         {0, 55, Hex("0A")},
         {"buzzer", "Периферия", "Внутренний зуммер:", "До сброса", "10 сек. ", "bxBuzzer"}},
        {33,
         {0, 19, Hex("01")},
         {"remote_disarm", "Передача", "Разрешить дистанционное снятие с охраны", "выкл", "вкл",
          "chkRemoteDisarm"}},
        {35,
         {0, 14, Hex("00")},
         {"stavel_channel_check", "Основное", "Контроль канала передатчиков Stavel, часов.", "24",
          "Выкл.", "cbbStavelCheck"}},
        // A byte no control shows differs as raw bytes.
        {34, {0, 2, Hex("5A")}, {"raw.0.2", "", "Байт 2 блока 1", "00", "5A", ""}},
    };
    for (const Change& change : changes) {
        const auto left = MakeDeviceConfig(change.type);
        const auto right = Loaded(change.type, {change.patch});
        EXPECT_TRUE(CompareFields(change.type, left->Fields(), change.type, left->Fields())
                        .differences.empty());
        const FieldComparison result =
            CompareFields(change.type, left->Fields(), change.type, right->Fields());
        EXPECT_TRUE(result.refusal.empty());
        ASSERT_EQ(result.differences.size(), 1U) << int{change.type};
        const FieldDifference& d = result.differences[0];
        const Expected& e = change.expected;
        EXPECT_EQ(std::tie(d.id, d.page, d.label, d.left, d.right, d.control),
                  std::tie(e.id, e.page, e.label, e.left, e.right, e.control));
    }
}

TEST(FieldTables, CompareGoesRowByRowAndRefusesOtherTypes) {
    const FieldComparison gsm =
        CompareFields(32, MakeDeviceConfig(32)->Fields(), 32, ChangedGsm()->Fields());
    std::vector<std::string> ids;
    for (const FieldDifference& d : gsm.differences)
        ids.push_back(d.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"device_number", "phone.1.number", "phone.1.group",
                                             "phone.1.partition", "phone.1.call", "caption.1.type",
                                             "caption.1.number", "caption.1.name",
                                             "event.1.130.violation", "raw.1.0", "raw.1.3"}));

    FieldTable shorter({Bytes(1, 0)});
    shorter.Add("a", "A", "1", FieldPlace{0, 0});
    FieldTable longer = shorter;
    longer.Add("b", "B", "2", std::nullopt);
    const FieldComparison rows = CompareFields(30, shorter, 30, longer);
    ASSERT_EQ(rows.differences.size(), 1U);
    EXPECT_EQ(rows.differences[0].id, "b");
    EXPECT_EQ(rows.differences[0].left, "");
    EXPECT_EQ(rows.differences[0].right, "2");

    const FieldComparison refused = CompareFields(30, shorter, 31, shorter);
    EXPECT_EQ(refused.refusal, kCompareOtherTypeText);
    EXPECT_TRUE(refused.differences.empty());
}

} // namespace
} // namespace tesmira
