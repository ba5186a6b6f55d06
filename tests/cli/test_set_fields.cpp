// Setting fields by id through each type's control rules, in the core: what a change brings with
// it, what is limited, and what is refused with nothing changed.
#include "app/DeviceConfigs.h"
#include "model/FieldSetters.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tesmira {
namespace {

using Assignments = std::vector<std::pair<std::string, std::string>>;

std::string ValueOf(const DeviceConfig& config, const std::string& id) {
    const FieldTable table = config.Fields();
    const Field* field = table.Find(id);
    return field ? field->value : "<no field " + id + ">";
}

enum class Outcome { Taken, Noted, Unknown, NotSettable, Disabled, BadValue };

struct SetCase {
    std::uint8_t type;
    Assignments before; // each taken, without a note
    std::pair<std::string, std::string> last;
    Outcome outcome;
    Assignments expected; // field values after a taken last assignment
};

std::string RefusalFor(Outcome outcome, const std::string& id, const std::string& value) {
    switch (outcome) {
    case Outcome::Unknown:
        return UnknownFieldText(id);
    case Outcome::NotSettable:
        return FieldNotSettableText(id);
    case Outcome::Disabled:
        return FieldDisabledText(id);
    case Outcome::BadValue:
        return FieldValueText(id, value);
    default:
        return {};
    }
}

TEST(SetField, FollowsTheRulesOfEachTypesControls) {
    using O = Outcome;
    const SetCase cases[] = {
        // A loop type brings its default event; an off loop's event box is disabled.
        {26, {}, {"loop.1.type", "Дверной"}, O::Taken, {{"loop.1.event", "134 - ВХОД/ВЫХОД"}}},
        {26, {{"loop.1.type", "Отключен"}}, {"loop.1.event", "130"}, O::Disabled, {}},
        // An event by its Contact ID code or its item text; one the box lacks is refused.
        {27, {}, {"loop.2.event", "130"}, O::Taken, {{"loop.2.event", "130 - ВТОРЖЕНИЕ"}}},
        {27,
         {},
         {"loop.2.event", "130 - ВТОРЖЕНИЕ"},
         O::Taken,
         {{"loop.2.event", "130 - ВТОРЖЕНИЕ"}}},
        {27, {}, {"loop.2.event", "9999"}, O::BadValue, {}},
        // Typed numbers are limited as the edit limits them; text that is no number is refused.
        {26, {}, {"delay.entry", "150"}, O::Noted, {{"delay.entry", "99"}, {"delay.exit", "60"}}},
        {26, {}, {"delay.exit", "тридцать"}, O::BadValue, {}},
        {26, {}, {"tx.channel_check", "1,5 мин."}, O::Taken, {{"tx.channel_check", "1,5  мин."}}},
        {26, {}, {"tx.letter", "31"}, O::BadValue, {}},
        {26, {}, {"monitor.siren", "да"}, O::BadValue, {}},
        {26, {}, {"tx.alarm_count", "12"}, O::Taken, {{"tx.alarm_count", "12"}}},
        {26, {}, {"no.such", "1"}, O::Unknown, {}},
        // Type 30: a zone type sets the boxes the window sets with it; delays only for doors.
        {30,
         {},
         {"zone.2.type", "Пожарный"},
         O::Taken,
         {{"zone.2.event", "110 - ПОЖАР"}, {"zone.2.rearm", "вкл"}, {"zone.2.requery", "выкл"}}},
        {30,
         {{"zone.2.type", "Пожарный"}},
         {"zone.2.requery", "вкл"},
         O::Taken,
         {{"zone.2.requery", "вкл"}}},
        {30, {}, {"zone.2.requery", "вкл"}, O::Disabled, {}},
        {30, {}, {"zone.3.type", "Отключен"}, O::Taken, {{"zone.3.rearm", "выкл"}}},
        {30,
         {{"zone.2.type", "Пожарный"}, {"zone.2.requery", "вкл"}},
         {"zone.2.type", "Охранный"},
         O::Taken,
         {{"zone.2.requery", "выкл"}}},
        {30, {}, {"zone.2.entry_delay", "10"}, O::Disabled, {}},
        {30,
         {},
         {"zone.1.exit_delay", "45"},
         O::Taken,
         {{"zone.1.exit_delay", "45"}, {"zone.1.entry_delay", "30"}}},
        {30,
         {{"zone.2.partition", "2"}},
         {"dependency.2", "вкл"},
         O::Taken,
         {{"dependency.2", "вкл"}}},
        {30, {}, {"dependency.2", "вкл"}, O::Disabled, {}},
        // The network number's arrows reach 1..7, and only with RS-485.
        {30, {}, {"network_number", "5"}, O::Disabled, {}},
        {30, {{"interface", "RS-485"}}, {"network_number", "8"}, O::BadValue, {}},
        {30,
         {{"interface", "RS-485"}},
         {"network_number", "7"},
         O::Taken,
         {{"network_number", "7"}}},
        // GSM is taken with the window's warning; then its page's masked number wants 4 digits.
        {30, {}, {"interface", "GSM-VANTIQ"}, O::Noted, {{"device_number", "0001"}}},
        {30, {}, {"device_number", "1234"}, O::Disabled, {}},
        {31, {}, {"device_number", "1234"}, O::Unknown, {}},
        {30, {}, {"direction.1.tries", "1"}, O::NotSettable, {}},
        // The arming condition is offered once an output follows arming.
        {30, {}, {"arming_condition", "взят любой из разделов"}, O::Disabled, {}},
        {30,
         {{"matrix.1.7", "вкл"}},
         {"arming_condition", "взят любой из разделов"},
         O::Taken,
         {{"arming_condition", "взят любой из разделов"}, {"matrix.1.7", "вкл"}}},
        {30, {}, {"siren_time", "0"}, O::Noted, {{"siren_time", "1"}}},
        // Type 33.
        {33, {}, {"zone.2.type", "Тревожный"}, O::Taken, {{"zone.2.event", "123 - Т.К.ГРОМКАЯ"}}},
        {33, {}, {"network_number", "3"}, O::Disabled, {}},
        {33, {{"interface", "RS-485"}}, {"network_number", "33"}, O::BadValue, {}},
        {33,
         {{"touch_memory", "Ставить на охрану замыканием входа TM"}},
         {"line_short_duty", "вкл"},
         O::Disabled,
         {}},
        // Types 34, 35: the number dialog sets an object's number and type together.
        {34, {}, {"system_number", "300"}, O::Noted, {{"system_number", "255"}}},
        {34,
         {{"object.1.number", "1abcd"}},
         {"object.1.type", "Кнопка"},
         O::Taken,
         {{"object.1.number", "1ABCD"}, {"object.1.type", "Кнопка"}}},
        {34, {}, {"object.2.type", "Pirra"}, O::Noted, {{"object.2.type", "Выключен"}}},
        {35, {}, {"object.32.number", "1G"}, O::BadValue, {}},
        {35, {}, {"transmit.mode", "Выключено"}, O::Taken, {{"transmit.letter", ""}}},
        {35, {{"transmit.mode", "Выключено"}}, {"transmit.letter", "1"}, O::Disabled, {}},
        {35, {}, {"stavel_channel_check", "Выкл."}, O::Taken, {{"stavel_channel_check", "Выкл."}}},
        {35, {}, {"site_channel_check", "часто"}, O::BadValue, {}},
        {35, {}, {"zone.1.type", "Отключен"}, O::Taken, {{"zone.1.event", "110 - ПОЖАР"}}},
        // Type 32: the record's controls and the phone and event grids.
        {32, {}, {"port", "порт"}, O::BadValue, {}},
        {32, {}, {"test_interval", "300"}, O::Noted, {{"test_interval", "255"}}},
        {32, {}, {"sim1.threshold", "60"}, O::Disabled, {}},
        {32,
         {{"sim1.threshold_sms", "вкл"}},
         {"sim1.threshold", "60"},
         O::Taken,
         {{"sim1.threshold", "60"}}},
        {32, {}, {"phone.1.group", "Группа 2"}, O::Disabled, {}},
        {32,
         {{"phone.1.number", "89161234567"}},
         {"phone.1.group", "Группа 2"},
         O::Taken,
         {{"phone.1.group", "Группа 2"}, {"phone.1.partition", "Все"}, {"phone.1.call", "Откл"}}},
        {32, {}, {"event.3.130.restoration", ""}, O::Taken, {{"event.3.130.restoration", ""}}},
        // A caption row takes a number and a name once it has a type; an event's number is the
        // event box's item.
        {32, {}, {"caption.1.name", "Склад"}, O::Disabled, {}},
        {32,
         {{"caption.1.type", "Шлейф"}},
         {"caption.1.name", "Склад"},
         O::Taken,
         {{"caption.1.number", "1"}, {"caption.1.name", "Склад"}}},
        {32,
         {{"caption.2.type", "Соб.Тревога."}},
         {"caption.2.number", "130"},
         O::Taken,
         {{"caption.2.number", "130 - ВТОРЖЕНИЕ"}}},
    };
    for (const SetCase& c : cases) {
        const std::string name = std::to_string(c.type) + " " + c.last.first + "=" + c.last.second;
        SCOPED_TRACE(name);
        const auto config = MakeDeviceConfig(c.type);
        ASSERT_NE(config, nullptr);
        for (const auto& [id, value] : c.before) {
            const FieldEdit edit = config->SetField(id, value);
            ASSERT_TRUE(edit.Taken()) << edit.refusal;
            ASSERT_EQ(edit.note, "");
        }
        const std::vector<std::uint8_t> image = config->Image();
        const FieldEdit edit = config->SetField(c.last.first, c.last.second);
        if (c.outcome == O::Taken || c.outcome == O::Noted) {
            EXPECT_TRUE(edit.Taken()) << edit.refusal;
            EXPECT_EQ(edit.note.empty(), c.outcome == O::Taken) << edit.note;
            for (const auto& [id, value] : c.expected)
                EXPECT_EQ(ValueOf(*config, id), value) << id;
        } else {
            // A bad value's refusal goes on to name the items offered.
            EXPECT_TRUE(
                edit.refusal.starts_with(RefusalFor(c.outcome, c.last.first, c.last.second)))
                << edit.refusal;
            EXPECT_EQ(config->Image(), image);
        }
    }
}

// Every field that can be set takes the text it shows and changes no byte with it, so no setter
// writes another field's bits or reads its item list off by one. A zone type picked again brings
// its default event again, as in the window: there only the type itself must stay.
TEST(SetField, EveryFieldTakesItsOwnTextBack) {
    for (const std::uint8_t type : {26, 27, 30, 31, 32, 33, 34, 35}) {
        const auto config = MakeDeviceConfig(type);
        const std::vector<std::uint8_t> image = config->Image();
        int taken = 0;
        const FieldTable table = config->Fields();
        for (const Field& field : table.fields()) {
            // The event grid's rows share one setter: its first rows stand for the 765 of a group.
            if (field.control == "grdEvents" && field.cell->row >= 3)
                continue;
            SCOPED_TRACE(std::to_string(type) + " " + field.id + "=" + field.value);
            const FieldEdit edit = config->SetField(field.id, field.value);
            if (!edit.Taken()) {
                EXPECT_TRUE(edit.refusal == FieldNotSettableText(field.id) ||
                            edit.refusal == FieldDisabledText(field.id) ||
                            (field.value.empty() &&
                             edit.refusal.starts_with(FieldValueText(field.id, field.value))))
                    << edit.refusal;
                continue;
            }
            ++taken;
            EXPECT_EQ(edit.note, "");
            EXPECT_EQ(ValueOf(*config, field.id), field.value);
            if (!field.id.ends_with(".type") || field.id.starts_with("object.")) {
                EXPECT_EQ(config->Image(), image);
            }
            config->LoadImage(image);
        }
        EXPECT_GT(taken, 10) << static_cast<int>(type);
    }
}

// Every check box that can be set turns over by itself: the field shows the new state and no other
// field changes, but for the threshold edit that its box fills or clears.
TEST(SetField, EveryCheckBoxTurnsOnlyItself) {
    const std::set<std::string> companions = {"sim1.threshold", "sim2.threshold"};
    for (const std::uint8_t type : {26, 27, 30, 31, 32, 33, 34, 35}) {
        const auto config = MakeDeviceConfig(type);
        const FieldTable before = config->Fields();
        for (const Field& field : before.fields()) {
            const std::optional<bool> on = OnOffOf(field.value);
            if (!on)
                continue;
            SCOPED_TRACE(std::to_string(type) + " " + field.id);
            const auto turned = MakeDeviceConfig(type);
            if (!turned->SetField(field.id, OnOffText(!*on)).Taken())
                continue;
            const FieldTable after = turned->Fields();
            for (const Field& other : after.fields()) {
                const std::string expected =
                    other.id == field.id ? OnOffText(!*on) : before.Find(other.id)->value;
                if (other.id != field.id && companions.contains(other.id))
                    continue;
                EXPECT_EQ(other.value, expected) << other.id;
            }
        }
    }
}

} // namespace
} // namespace tesmira
