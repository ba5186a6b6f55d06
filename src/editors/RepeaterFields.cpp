#include "editors/RadioLetters.h"
#include "editors/RecordFields.h"
#include "editors/RelayModes.h"
#include "editors/RepeaterRecord34.h"
#include "editors/RepeaterRecord35.h"
#include "model/EventTable.h"
#include "model/ZoneTypes.h"

namespace tesmira {

namespace {

namespace text = repeater_text;

// The relay group, the indication group and the buzzer, which both forms have.
template <class Record>
void AddSharedFields(FieldTable& t, const Record& r, const char* alarmList, const char* fireList) {
    t.Page(text::kRelayGroup);
    t.Add("relay.alarm", text::kAlarmRelayLabel,
          ItemText(RelayModeTexts(), r.RelayModeIndex(Relay::Alarm)), At(Record::kRelayModes, 0xF0),
          alarmList);
    t.Add("relay.fire", text::kFireRelayLabel,
          ItemText(RelayModeTexts(), r.RelayModeIndex(Relay::Fire)), At(Record::kRelayModes, 0x0F),
          fireList);
    t.Add("relay.fire_check", text::kFireRelayCheck, OnOffText(r.FireRelayCheck()),
          At(Record::kFireRelayCheck), "chkRetReleFireCtr");
    t.Page(text::kIndicationGroup);
    t.Add("indication.reader_led", text::kIndicateOnReaderLedCaption,
          OnOffText(r.IndicationBit(kIndicateOnReaderLed)),
          At(Record::kIndication, 1 << kIndicateOnReaderLed), "chkRetIndTxTM");
    t.Add("indication.leds", text::kIndicateOnLedsCaption,
          OnOffText(r.IndicationBit(kIndicateOnLeds)),
          At(Record::kIndication, 1 << kIndicateOnLeds), "chkRetIndTxLed");
    t.Reserve(At(Record::kIndication, 0xFC));
    t.Page(text::kMainTab);
    t.Add("buzzer", text::kBuzzer, OnOffText(r.Buzzer()), At(Record::kBuzzer), "chkRetBuzOn");
}

} // namespace

FieldTable RepeaterFields(const RepeaterRecord34& r) {
    using R = RepeaterRecord34;
    FieldTable t({BlockOf(r.bytes())});
    t.Page(text::kMainTab);
    t.Add("transmission", text::kTransmissionLabel,
          ItemText(R::TransmissionTexts(), r.TransmissionIndex()), At(R::kTransmission),
          "cbbTxMode");
    t.Add("system_number", text::kSystemNumberLabel, r.SystemNumberText(), At(R::kSystemNumber),
          "edtSysNum");
    t.Add("receive_letter", text::kLetterLabel,
          ItemText(R::ReceiveLetterTexts(), r.ReceiveLetterIndex()), At(R::kReceiveLetter),
          "cbbRetLiterRX");
    t.Add("site_channel_check", text::kSiteChannelCheckMinutesLabel, r.ChannelCheckText(),
          At(R::kChannelCheck), "edtRetObjCheck");
    AddSharedFields(t, r, "cbbRetReleAlarmCfg", "cbbRetReleFireCfg");
    // Bytes the editor passes through as they are.
    for (const std::size_t at : {2, 4, 5, 6, 12})
        t.Reserve(At(at));
    AddObjectFields(t, r.Objects(), R::kObjects);
    return t;
}

FieldTable RepeaterFields(const RepeaterRecord35& r) {
    using R = RepeaterRecord35;
    using Check = R::ChannelCheck;
    FieldTable t({BlockOf(r.bytes())});
    t.Page(text::kMainTab);
    t.Add("receive_letter", text::kReceiveLetterLabel,
          ItemText(R::ReceiveLetterTexts(), r.ReceiveLetterIndex()), At(R::kReceiveLetter),
          "bxRetLiterRX");
    t.Page(text::kTransmitGroup);
    t.Add("transmit.mode", text::kModeLabel,
          ItemText(R::TransmissionModeTexts(), r.TransmissionModeIndex()),
          At(R::kTransmission, 0x7F), "bxRetTxMode");
    const R::TransmitLetters letters = r.TransmitLetterView();
    t.Add("transmit.letter", text::kLetterLabel, ItemText(letters.items, letters.index),
          At(R::kTransmitLetter), "bxRetLiterTX");
    t.Add("transmit.rs485", text::kRs485Caption, OnOffText(r.Rs485()),
          At(R::kTransmission, 1 << R::kRs485Bit), "chkRetTx485");
    AddSharedFields(t, r, "bxRetReleAlarmCfg", "bxRetReleFireCfg");
    t.Add("activate_relays", text::kActivateRelaysCaption, OnOffText(r.ActivateRelays()),
          At(R::kActivateRelays), "chkRetActivateRele");
    t.Add("stavel_delay", text::kStavelDelayCaption, OnOffText(r.StavelDelay()),
          At(R::kStavelDelay), "chkStavelDelay");
    t.Add("stavel_channel_check", text::kStavelChannelCheckLabel, r.ChannelCheckText(Check::Stavel),
          At(R::kStavelCheck), "cbbStavelCheck");
    t.Add("site_channel_check", text::kSiteChannelCheckLabel, r.ChannelCheckText(Check::Site),
          At(R::kSiteCheck), "cbbObjCheck");

    t.Page(text::kLoopsTab);
    const std::string_view zoneLabels[] = {text::kZone1Label, text::kZone2Label};
    for (int zone = 1; zone <= R::kZoneCount; ++zone) {
        const std::string name = std::string(zoneLabels[zone - 1]) + " ";
        const auto at = static_cast<std::size_t>(2 * zone + 1);
        t.Add(Id("zone", zone, "type"), name + std::string(text::kZoneTypeHead),
              ZoneTypeItemText(R::kZoneTypeSelector, r.ZoneTypeIndex(zone)), At(at),
              "cbbRetShlfType" + std::to_string(zone));
        t.Add(Id("zone", zone, "event"), name + std::string(text::kZoneEventHead),
              EventBoxText(r.ZoneEvent(zone).value_or(0), R::kEventBoxAllEvents), At(at + 1),
              "bxShlfEvent" + std::to_string(zone));
    }
    t.Page(text::kDelayGroup);
    t.Add("delay.entry", text::kEntryDelayLabel, r.DelayText(R::Delay::Entry), At(R::kEntryDelay),
          "edtRetDelIn");
    t.Add("delay.exit", text::kExitDelayLabel, r.DelayText(R::Delay::Exit), At(R::kExitDelay),
          "edtRetDelOut");
    t.Page(text::kLoopsTab);
    t.Add("lock_after_alarm", text::kLockAfterAlarmCaption, OnOffText(r.LockAfterAlarm()),
          At(R::kLockAfterAlarm), "chkLockAlrm");
    t.Page(text::kTransferTab);
    t.Add("communicator", text::kCommunicatorCaption, OnOffText(r.CommunicatorConnected()),
          At(R::kCommunicator, 1 << R::kCommunicatorBit), "chkCNC_TxGSM");
    t.Reserve(At(R::kCommunicator, 0xFE));
    t.Reserve(At(2));
    AddObjectFields(t, r.Objects(), R::kObjects);
    return t;
}

} // namespace tesmira
