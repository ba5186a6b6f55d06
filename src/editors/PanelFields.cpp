#include "editors/PanelCommon.h"
#include "editors/PanelRecord.h"
#include "editors/RecordFields.h"
#include "editors/RelayModes.h"
#include "model/BitHelpers.h"
#include "model/BoxFieldState.h"
#include "model/EventTable.h"
#include "model/ZoneTypes.h"

#include <algorithm>
#include <tuple>

namespace tesmira {

namespace {

using R = PanelRecord;

void AddZones(FieldTable& t, const R& r) {
    t.Page("Основное");
    const R::CollectedBoxes shown = r.ShownBoxes();
    for (int zone = 1; zone <= R::kZoneCount; ++zone) {
        const R::ZoneView view = *r.Zone(zone);
        const std::string name = "ШС" + std::to_string(zone) + ": ";
        const std::string n = std::to_string(zone);
        const auto at = static_cast<std::size_t>(4 * (zone - 1));
        t.Add(Id("zone", zone, "partition"), name + "Раздел",
              ItemText(R::PartitionTexts(), view.partitionIndex), At(at, 0x07), "cbbZonePart" + n);
        t.Add(Id("zone", zone, "type"), name + "Тип шлейфа",
              ZoneTypeItemText(R::kZoneTypeSelector, view.typeIndex), At(at, 0x78),
              "cbbZoneType" + n);
        t.Add(Id("zone", zone, "event"), name + "Код события",
              EventBoxText(view.eventSelection.value_or(0), false), At(at + 1), "bxZoneEvent" + n);
        t.Add(Id("zone", zone, "requery"), name + "Перезапрос", OnOffText(shown.requery[zone - 1]),
              At(at, 0x80), "chkRequery" + n);
        t.Add(Id("zone", zone, "rearm"), name + "Авто восст.", OnOffText(shown.rearm[zone - 1]),
              At(R::kRearm, static_cast<std::uint8_t>(1 << (zone - 1))), "chkRearm" + n);
        t.Add(Id("zone", zone, "entry_delay"), name + "Задержка, сек: Вход", view.entryDelayText,
              At(at + 3), "edtDelayIn" + n);
        t.Add(Id("zone", zone, "exit_delay"), name + "Задержка, сек: Выход", view.exitDelayText,
              At(at + 2), "edtDelayOut" + n);
    }
    t.Page("Зависимость охраны раздела 1");
    for (int partition = 2; partition <= R::kPartitionCount; ++partition)
        t.Add("dependency." + std::to_string(partition), std::to_string(partition),
              OnOffText(BitIsSet(shown.dependency, partition - 1)),
              At(R::kDependency, static_cast<std::uint8_t>(1 << (partition - 1))),
              "chkDepend" + std::to_string(partition));
    // Partition 1 is the one that depends; byte 33 follows the zones.
    t.Reserve(At(R::kDependency, 0x01));
    t.Reserve(At(R::kGuardlessPartitions));
    t.Page("Основное");
    t.Add("touch_memory", "Режим Touch Memory",
          ItemText(TouchMemoryModeTexts(), r.TouchMemoryModeIndex()), At(R::kTouchMemory),
          "bxTouchMemory");
    t.Add("internal_partition", "Раздел для внутренних событий",
          ItemText(R::PartitionTexts(), r.InternalPartitionIndex()), At(R::kOptions, 0x07),
          "bxInternalPartition");
}

// The direction block's rows as the table shows them, each cell with the bytes it comes from.
void AddDirections(FieldTable& t, const PanelDirections& directions) {
    const PanelDirections::Rows rows = directions.DecodeRows();
    const auto& bytes = directions.bytes();
    std::size_t at = PanelDirections::kEntries;
    for (int k = 0; k < PanelDirections::kRowCount; ++k) {
        std::optional<FieldPlace> tries, sim, protocol, phone;
        if (at < bytes.size()) {
            const std::size_t length = bytes[at];
            if (length == 0) {
                tries = FieldPlace{1, at, 1, 0xFF};
                ++at;
            } else if (at + 1 < bytes.size()) {
                tries = FieldPlace{1, at + 1, 1, 0xE0};
                sim = FieldPlace{1, at + 1, 1, 0x18};
                protocol = FieldPlace{1, at + 1, 1, 0x07};
                t.Reserve({1, at, 1, 0xFF}); // the entry's length
                const std::size_t shown = std::min(length - 1, bytes.size() - at - 2);
                if (shown > 0)
                    phone = FieldPlace{1, at + 2, shown, 0xFF};
                at += 2 + shown;
            } else {
                t.Reserve({1, at, 1, 0xFF});
                ++at;
            }
        }
        const DirectionRow& row = rows[static_cast<std::size_t>(k)];
        const std::string name = "Направление " + std::to_string(k + 1) + ": ";
        const int n = k + 1;
        t.AddCell(Id("direction", n, "tries"), name + "Попыток", row.tries, tries, "grdDirections",
                  {k, 2});
        t.AddCell(Id("direction", n, "sim"), name + "SIM", row.sim, sim, "grdDirections", {k, 3});
        t.AddCell(Id("direction", n, "protocol"), name + "Протокол", row.protocol, protocol,
                  "grdDirections", {k, 4});
        t.AddCell(Id("direction", n, "phone"), name + "Телефон", row.phone, phone, "grdDirections",
                  {k, 5});
    }
    if (at < bytes.size())
        t.Reserve({1, at, bytes.size() - at, 0xFF});
}

void AddTransmission(FieldTable& t, const R& r) {
    t.Page("Передача");
    t.Add("interface", "Вид передачи:", ItemText(r.InterfaceTexts(), r.InterfaceIndex()),
          At(R::kInterface), "bxInterface");
    t.Add("remote_disarm", "Разрешить снятие с охраны", OnOffText(r.RemoteDisarm()),
          At(R::kRemoteDisarm), "chkRemoteDisarm");
    if (!r.HasGsm()) {
        // Type 31 has none of the GSM page's controls and keeps these bytes as read.
        t.Reserve(At(R::kNetworkNumber, 0xFF, 3));
        return;
    }
    t.Add("network_number", "Сетевой номер", std::to_string(r.NetworkNumber()),
          At(R::kNetworkNumber), "udNetNum");
    const R::GsmPageView gsm = r.GsmPage();
    t.Add("device_number", "Номер прибора:", gsm.deviceNumber,
          FieldPlace{1, PanelDirections::kDeviceNumber, 2, 0xFF}, "medtDevNum");
    t.Reserve({1, 0, 4, 0xFF}); // the block's header
    t.Reserve({1, 6, 1, 0xFF});
    AddDirections(t, r.directions());
    t.Add("send_sms", "Передавать SMS", OnOffText(gsm.sendSms),
          FieldPlace{1, PanelDirections::kSmsFlag}, "chkSendSms");
    t.Add("channel_test", "Интервал контроля канала, мин:", gsm.channelTestText,
          At(R::kChannelTest), "edtChannelTest");
    t.Add("sms_disarm", "Разрешить снятие  по SMS", OnOffText(r.SmsDisarm()), At(R::kSmsDisarm),
          "chkSmsDisarm");
}

void AddPeriphery(FieldTable& t, const R& r) {
    using Option = R::Option;
    t.Page("Режим работы реле");
    t.Add("relay.alarm", "Тревога", ItemText(RelayModeTexts(), r.RelayModeIndex(R::Relay::Alarm)),
          At(R::kRelayModes, 0xF0), "bxRelayAlarm");
    t.Add("relay.alarm_sms", "Тревога: по СМС", OnOffText(r.SmsRelayOn(R::SmsRelay::Alarm)),
          At(R::kSmsRelays, 0x01), "chkSmsAlarm");
    t.Add("relay.fire", "Пожар", ItemText(RelayModeTexts(), r.RelayModeIndex(R::Relay::Fire)),
          At(R::kRelayModes, 0x0F), "bxRelayFire");
    t.Add("relay.fire_sms", "Пожар: по СМС", OnOffText(r.SmsRelayOn(R::SmsRelay::Fire)),
          At(R::kSmsRelays, 0x02), "chkSmsFire");
    t.Reserve(At(R::kSmsRelays, 0xFC));
    t.Add("relay.control", "Управление",
          ItemText(RelayModeTexts(), r.RelayModeIndex(R::Relay::Control)),
          At(R::kControlRelay, 0xF0), "bxRelayControl");
    t.Reserve(At(R::kControlRelay, 0x0F));
    t.Page("Контроль цепей оповещения:");
    const std::tuple<const char*, const char*, const char*, int> monitors[] = {
        {"monitor.relay3", "Реле 3", "chkExpBox1", R::kMonitorRelay3},
        {"monitor.relay4", "Реле 4", "chkExpBox2", R::kMonitorRelay4},
        {"monitor.siren", "Сирена", "chkExpBox6", R::kMonitorSiren},
        {"monitor.lamp", "Лампа", "chkExpBox7", R::kMonitorLamp}};
    for (const auto& [id, label, control, bit] : monitors)
        t.Add(id, label, OnOffText(r.MonitorBit(bit)),
              At(R::kMonitoring, static_cast<std::uint8_t>(1 << bit)), control);
    t.Reserve(At(R::kMonitoring, 0x39));
    t.Page("Двухпороговые шлейфы");
    t.Add("two_threshold.events", "Передавать события на ПЦН",
          OnOffText(r.HasOption(Option::TwoThresholdEvents)), At(R::kOptions, 0x20),
          "chkAttentionPcn");
    t.Add("two_threshold.siren", "Включить сирену",
          OnOffText(r.HasOption(Option::TwoThresholdSiren)), At(R::kOptions, 0x40),
          "chkAttentionSiren");
    t.Page("Периферия");
    t.Add("lamp_mode", "Режим работы лампы:", ItemText(R::LampModeTexts(), r.LampModeIndex()),
          At(R::kLampAndLed, 0x0F), "bxLampMode");
    t.Add("buzzer", "Внутренний зуммер:", CodedItemText(BuzzerItems(), r.BuzzerIndex()),
          At(R::kBuzzer), "bxBuzzer");
    // Bit 7 of byte 40 follows the buzzer's choice.
    t.Reserve(At(R::kOptions, 0x80));
    t.Add("siren_time", "Время работы сирены, сек", r.SirenTimeText(), At(R::kSirenTime, 0xFF, 2),
          "edtSirenTime");
    t.Add("reader_led", "Светодиод считывателя Touch Memory",
          ItemText(R::LedModeTexts(), r.LedModeIndex()), At(R::kLampAndLed, 0xF0), "bxLedMode");
    t.Add("siren_signals", "Сигналы взятия\\снятия сиреной", OnOffText(r.SirenSignals()),
          At(R::kSirenSignals), "chkGuardSnd");
    t.Add("lamp_blinks", "При постановке лампа мигает", OnOffText(r.HasOption(Option::LampBlinks)),
          At(R::kOptions, 0x08), "chkLampBlink");
    t.Add("arming_feedback", "Отображать взятие с учетом обратной связи",
          OnOffText(r.HasOption(Option::ArmingFeedback)), At(R::kOptions, 0x10), "chkFeedback");
}

void AddOutputs(FieldTable& t, const R& r) {
    t.Page("Выходы");
    BoxFieldState matrix;
    matrix.Load(r.MatrixOutputs(), r.ArmingCondition());
    for (int row = 0; row < BoxFieldState::kRows; ++row) {
        for (int column = 1; column <= BoxFieldState::kColumns; ++column) {
            const int tag = BoxFieldState::TagOf(row, column);
            t.Add("matrix." + std::to_string(column) + "." + std::to_string(row),
                  std::string(BoxFieldState::kColumnLabels[column - 1]) + ": " +
                      std::string(BoxFieldState::kRowLabels[row]),
                  OnOffText(matrix.Checked(row, column)),
                  At(R::kMatrix + static_cast<std::size_t>(column - 1),
                     static_cast<std::uint8_t>(1 << row)),
                  "chkBox" + std::to_string(tag));
        }
    }
    t.Add("arming_condition", "Прибор считается взят если ...",
          matrix.AllPartitionsRequired() ? "взяты все разделы" : "взят любой из разделов",
          At(R::kArmingCondition), "grpArmCondition");
}

} // namespace

FieldTable PanelFields(const PanelRecord& r) {
    std::vector<std::vector<std::uint8_t>> blocks{BlockOf(r.bytes())};
    if (r.HasGsm())
        blocks.push_back(BlockOf(r.directions().bytes()));
    FieldTable t(std::move(blocks));
    AddZones(t, r);
    AddTransmission(t, r);
    AddPeriphery(t, r);
    AddOutputs(t, r);
    return t;
}

} // namespace tesmira
