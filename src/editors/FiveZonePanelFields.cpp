#include "editors/FiveZonePanelRecord.h"
#include "editors/PanelCommon.h"
#include "editors/RecordFields.h"
#include "model/EventTable.h"
#include "model/ZoneTypes.h"

namespace tesmira {

FieldTable FiveZonePanelFields(const FiveZonePanelRecord& r) {
    using R = FiveZonePanelRecord;
    using Option = R::Option;
    FieldTable t({BlockOf(r.bytes())});
    t.Page("Основное");
    for (int zone = 1; zone <= R::kZoneCount; ++zone) {
        const R::ZoneView view = *r.Zone(zone);
        const std::string name = "ШС" + std::to_string(zone) + ": ";
        const auto at = static_cast<std::size_t>(2 * (zone - 1));
        t.Add(Id("zone", zone, "type"), name + "Тип шлейфа",
              ZoneTypeItemText(R::kZoneTypeSelector, view.typeIndex), At(at),
              "cbbZoneType" + std::to_string(zone));
        t.Add(Id("zone", zone, "event"), name + "Код события",
              EventBoxText(view.eventSelection.value_or(0), false), At(at + 1),
              "bxZoneEvent" + std::to_string(zone));
    }
    t.Add("siren_time", "Время работы сирены, сек", r.SirenTimeText(), At(R::kSirenTime, 0xFF, 2),
          "edtSirenTime");
    t.Add("buzzer", "Внутренний зуммер:", CodedItemText(BuzzerItems(), r.BuzzerIndex()),
          At(R::kBuzzer), "bxBuzzer");
    t.Add("touch_memory", "Режим Touch Memory",
          ItemText(TouchMemoryModeTexts(), r.TouchMemoryModeIndex()), At(R::kTouchMemory),
          "bxTouchMemory");
    const std::pair<Option, const char*> options[] = {
        {Option::LineShortDuty, "Контроль наряда замыканием линии TM"},
        {Option::KeyFobAlarm, "Включить тревожные кнопки брелка"},
        {Option::LampBlinks, "При постановке лампа мигает"}};
    static constexpr const char* kOptionIds[] = {"line_short_duty", "key_fob_alarm", "lamp_blinks"};
    static constexpr const char* kOptionControls[] = {"chkLineShort", "chkKeyFob", "chkLampBlink"};
    for (std::size_t i = 0; i < std::size(options); ++i)
        t.Add(kOptionIds[i], options[i].second, OnOffText(r.HasOption(options[i].first)),
              At(R::kOptions, static_cast<std::uint8_t>(1 << static_cast<int>(options[i].first))),
              kOptionControls[i]);
    // Bit 7 follows the buzzer's choice; bits 3..6 are not the editor's.
    t.Reserve(At(R::kOptions, 0xF8));
    t.Add("arming_feedback", "Отображать взятие с учетом обратной связи",
          OnOffText(r.ArmingFeedback()), At(R::kArmingFeedback), "chkFeedback");
    t.Page("Передача");
    t.Add("interface", "Вид передачи:", ItemText(R::InterfaceTexts(), r.InterfaceIndex()),
          At(R::kInterface), "bxInterface");
    t.Add("gsm", "Включить передачу  GSM", OnOffText(r.GsmOn()), At(R::kGsm), "chkGsm");
    t.Add("network_number", "Сетевой номер", std::to_string(r.NetworkNumber()),
          At(R::kNetworkNumber), "udNetNum");
    t.Add("remote_disarm", "Разрешить дистанционное снятие с охраны", OnOffText(r.RemoteDisarm()),
          At(R::kRemoteDisarm), "chkRemoteDisarm");
    return t;
}

} // namespace tesmira
