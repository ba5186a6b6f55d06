#include "editors/RecordFields.h"
#include "editors/TwoLoopRecord.h"
#include "model/EventTable.h"
#include "model/ZoneTypes.h"

namespace tesmira {

FieldTable TwoLoopFields(const TwoLoopRecord& r) {
    using R = TwoLoopRecord;
    FieldTable t({BlockOf(r.bytes())});
    t.Page("Основное");
    for (int loop = 1; loop <= R::kLoopCount; ++loop) {
        const std::string name = "ШС" + std::to_string(loop) + ": ";
        const auto at = static_cast<std::size_t>(2 * loop + 2);
        t.Add(Id("loop", loop, "type"), name + "Тип шлейфа",
              ZoneTypeItemText(R::kZoneTypeSelector, r.LoopTypeIndex(loop)), At(at),
              "cbbLoopType" + std::to_string(loop));
        t.Add(Id("loop", loop, "event"), name + "Код события",
              EventBoxText(r.LoopEvent(loop), true), At(at + 1),
              "bxLoopEvent" + std::to_string(loop));
    }
    t.Page("Задержка, сек");
    t.Add("delay.entry", "вход:", r.DelayText(R::Delay::Entry), At(R::kEntryDelay), "edtRetDelIn");
    t.Add("delay.exit", "выход:", r.DelayText(R::Delay::Exit), At(R::kExitDelay), "edtRetDelOut");
    t.Page("Контроль цепей оповещения:");
    t.Add("monitor.siren", "Сирена", OnOffText(r.MonitorBit(R::kMonitorSiren)),
          At(R::kMonitoring, 1 << R::kMonitorSiren), "chkExpBox6");
    t.Add("monitor.lamp", "Лампа", OnOffText(r.MonitorBit(R::kMonitorLamp)),
          At(R::kMonitoring, 1 << R::kMonitorLamp), "chkExpBox7");
    t.Page("Основное");
    t.Add("monitor.u2", "Контроль входа U2", OnOffText(r.MonitorBit(R::kMonitorU2)),
          At(R::kMonitoring, 1 << R::kMonitorU2), "chkU2");
    t.Reserve(At(R::kMonitoring, 0x1F));
    t.Add("guard_sound", "Сигналы взятия\\снятия сиреной", OnOffText(r.GuardSound()),
          At(R::kGuardSound), "chkGuardSnd");
    t.Add("use_buzzer", "Использовать внутренний зуммер", OnOffText(r.UseBuzzer()),
          At(R::kUseBuzzer), "chkUseBuzzer");
    t.Page("Передатчик");
    t.Add("tx.letter", "Литера:", ItemText(R::LetterTexts(), r.LetterIndex()), At(R::kLetter),
          "bxTxLetter");
    t.Add("tx.alarm_count",
          "Кол-во перед тревог:", CodedItemText(R::AlarmCountItems(), r.AlarmCountIndex()),
          At(R::kAlarmCount), "bxTxAlarmCnt");
    t.Add("tx.restore_count",
          "Кол-во перед восст:", CodedItemText(R::NormCountItems(), r.NormCountIndex()),
          At(R::kNormCount), "bxTxNormCnt");
    t.Add("tx.channel_check",
          "Контроль канала:", ItemText(R::ChannelCheckTexts(), r.ChannelCheckIndex()),
          At(R::kChannelCheck), "bxTxTO");
    return t;
}

} // namespace tesmira
