// The setters of the one-record types: each field of their windows that a control lets one change,
// through what that control's handler does to the record.
#include "editors/FiveZonePanelRecord.h"
#include "editors/PanelCommon.h"
#include "editors/PanelRecord.h"
#include "editors/RecordFields.h"
#include "editors/RelayModes.h"
#include "editors/RepeaterRecord34.h"
#include "editors/RepeaterRecord35.h"
#include "editors/TwoLoopRecord.h"
#include "model/BoxFieldState.h"
#include "model/FieldSetters.h"
#include "model/TextHelpers.h"
#include "model/ZoneTypes.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tesmira {

namespace {

// The names a zone-type box of `selector` offers, in item order.
std::span<const std::string_view> ZoneTypeItems(std::uint8_t selector) {
    static const std::array<std::vector<std::string_view>, 4> items = [] {
        std::array<std::vector<std::string_view>, 4> all;
        for (std::uint8_t s = 0; s < all.size(); ++s) {
            const std::span<const std::uint8_t> codes = *ZoneTypeSelection(s);
            for (const std::uint8_t code : codes)
                all[s].push_back(ZoneTypeNameTable()[code]);
        }
        return all;
    }();
    return items.at(selector);
}

// The zone type code of a zone-type box's item.
int ZoneTypeCode(std::uint8_t selector, int index) {
    return (*ZoneTypeSelection(selector))[static_cast<std::size_t>(index)];
}

// The texts of a list's coded items, in item order, for the lists the setters match values in.
std::vector<std::string_view> TextsOf(std::span<const CodedItem> items) {
    std::vector<std::string_view> texts;
    for (const CodedItem& item : items)
        texts.push_back(item.text);
    return texts;
}

std::span<const std::string_view> BuzzerTexts() {
    static const std::vector<std::string_view> texts = TextsOf(BuzzerItems());
    return texts;
}

// An up-down field: its arrows reach min..max and nothing else.
template <class Target>
void AddStepped(FieldSetters<Target>& s, std::string id, int min, int max,
                std::function<void(Target&, int)> store,
                typename FieldSetters<Target>::Condition enabled = {}) {
    const std::string name = id;
    s.Add(
        std::move(id),
        [name, min, max, store](Target& target, std::string_view value) -> FieldEdit {
            const std::optional<long long> number =
                FieldIntegerText(value) ? ParseInteger(value) : std::nullopt;
            if (!number || *number < min || *number > max)
                return Refused(FieldValueText(name, value) + "; допустимы числа от " +
                               std::to_string(min) + " до " + std::to_string(max));
            store(target, static_cast<int>(*number));
            return FieldEdit{};
        },
        std::move(enabled));
}

// A zone's type box, whose pick brings the type's default event, and its event box, which the
// window disables for a zone that is off.
template <class R>
void AddZoneBoxes(FieldSetters<R>& s, std::string_view stem, int count, bool allEvents,
                  std::function<void(R&, int, int)> setType,
                  std::function<void(R&, int, std::uint8_t)> setEvent,
                  std::function<bool(const R&, int)> eventEnabled) {
    for (int zone = 1; zone <= count; ++zone) {
        s.Item(Id(stem, zone, "type"), ZoneTypeItems(R::kZoneTypeSelector),
               [zone, setType](R& r, int index) {
                   setType(r, zone, ZoneTypeCode(R::kZoneTypeSelector, index));
               });
        s.Event(
            Id(stem, zone, "event"), allEvents,
            [zone, setEvent](R& r, std::uint8_t event) { setEvent(r, zone, event); },
            [zone, eventEnabled](const R& r) { return eventEnabled(r, zone); });
    }
}

// --- types 26, 27 ---

FieldSetters<TwoLoopRecord> TwoLoopSetters() {
    using R = TwoLoopRecord;
    FieldSetters<R> s;
    AddZoneBoxes<R>(
        s, "loop", R::kLoopCount, true, [](R& r, int loop, int code) { r.SetLoopType(loop, code); },
        [](R& r, int loop, std::uint8_t event) { r.SetLoopEvent(loop, event); },
        [](const R& r, int loop) { return r.LoopEventEnabled(loop); });
    s.Number("delay.entry",
             [](R& r, std::string_view text) { return r.SetDelayFromText(R::Delay::Entry, text); });
    s.Number("delay.exit",
             [](R& r, std::string_view text) { return r.SetDelayFromText(R::Delay::Exit, text); });
    const std::pair<const char*, int> monitors[] = {{"monitor.siren", R::kMonitorSiren},
                                                    {"monitor.lamp", R::kMonitorLamp},
                                                    {"monitor.u2", R::kMonitorU2}};
    for (const auto& [id, bit] : monitors)
        s.OnOff(id, [bit = bit](R& r, bool on) { r.SetMonitorBit(bit, on); });
    s.OnOff("guard_sound", [](R& r, bool on) { r.SetGuardSound(on); });
    s.OnOff("use_buzzer", [](R& r, bool on) { r.SetUseBuzzer(on); });
    s.Item("tx.letter", R::LetterTexts(), [](R& r, int index) { r.SetLetterFromIndex(index); });
    static const std::vector<std::string_view> alarmCounts = TextsOf(R::AlarmCountItems());
    static const std::vector<std::string_view> restoreCounts = TextsOf(R::NormCountItems());
    s.Item("tx.alarm_count", alarmCounts, [](R& r, int index) {
        r.SetAlarmCount(R::AlarmCountItems()[static_cast<std::size_t>(index)].code);
    });
    s.Item("tx.restore_count", restoreCounts, [](R& r, int index) {
        r.SetNormCount(R::NormCountItems()[static_cast<std::size_t>(index)].code);
    });
    s.Item("tx.channel_check", R::ChannelCheckTexts(),
           [](R& r, int index) { r.SetChannelCheckFromIndex(index); });
    return s;
}

// --- types 30, 31 ---

// The boxes the window collects at commit: changed as the window's boxes would be, then stored
// as its commit stores them.
template <class Change> void WithBoxes(PanelRecord& r, Change change) {
    PanelRecord::CollectedBoxes boxes = r.ShownBoxes();
    change(boxes);
    r.StoreCollectedBoxes(boxes);
}

BoxFieldState MatrixOf(const PanelRecord& r) {
    BoxFieldState matrix;
    matrix.Load(r.MatrixOutputs(), r.ArmingCondition());
    return matrix;
}

constexpr std::string_view kArmingConditionTexts[] = {"взят любой из разделов",
                                                      "взяты все разделы"};

void AddPanelZones(FieldSetters<PanelRecord>& s) {
    using R = PanelRecord;
    for (int zone = 1; zone <= R::kZoneCount; ++zone) {
        const auto z = static_cast<std::size_t>(zone - 1);
        const auto view = [zone](const R& r) {
            return *r.Zone(zone);
        };
        s.Item(Id("zone", zone, "partition"), R::PartitionTexts(),
               [zone](R& r, int index) { r.SetZonePartition(zone, index); });
        s.Item(Id("zone", zone, "type"), ZoneTypeItems(R::kZoneTypeSelector),
               [zone, z](R& r, int index) {
                   WithBoxes(r, [&](R::CollectedBoxes& boxes) {
                       const auto change =
                           r.SetZoneType(zone, ZoneTypeCode(R::kZoneTypeSelector, index));
                       if (change) {
                           boxes.rearm[z] = change->view.rearmChecked;
                           boxes.requery[z] = change->view.requeryChecked;
                       }
                   });
               });
        s.Event(
            Id("zone", zone, "event"), false,
            [zone](R& r, std::uint8_t event) { r.SetZoneEvent(zone, event); },
            [view](const R& r) { return view(r).eventEnabled; });
        s.OnOff(
            Id("zone", zone, "requery"),
            [z](R& r, bool on) { WithBoxes(r, [&](R::CollectedBoxes& b) { b.requery[z] = on; }); },
            [view](const R& r) { return view(r).requeryVisible; });
        s.OnOff(
            Id("zone", zone, "rearm"),
            [z](R& r, bool on) { WithBoxes(r, [&](R::CollectedBoxes& b) { b.rearm[z] = on; }); },
            [view](const R& r) { return view(r).rearmVisible && view(r).rearmEnabled; });
        const std::pair<const char*, R::Delay> delays[] = {{"entry_delay", R::Delay::Entry},
                                                           {"exit_delay", R::Delay::Exit}};
        for (const auto& [leaf, delay] : delays)
            s.Number(
                Id("zone", zone, leaf),
                [zone, delay = delay](R& r, std::string_view text) {
                    return r.SetZoneDelayFromText(zone, delay, text);
                },
                [view](const R& r) { return view(r).delaysVisible; });
    }
    for (int partition = 2; partition <= R::kPartitionCount; ++partition)
        s.OnOff(
            "dependency." + std::to_string(partition),
            [partition](R& r, bool on) {
                WithBoxes(r, [&](R::CollectedBoxes& b) {
                    const auto bit = static_cast<std::uint8_t>(1 << (partition - 1));
                    b.dependency =
                        static_cast<std::uint8_t>(on ? b.dependency | bit : b.dependency & ~bit);
                });
            },
            [partition](const R& r) {
                R shown = r;
                return shown.RefreshPartitionDependency().Enabled(partition);
            });
}

void AddPanelTransmission(FieldSetters<PanelRecord>& s) {
    using R = PanelRecord;
    s.Add("interface", [](R& r, std::string_view value) -> FieldEdit {
        const std::optional<int> index = ItemOf(r.InterfaceTexts(), value);
        if (!index)
            return Refused(FieldValueText("interface", value, r.InterfaceTexts()));
        const R::InterfaceChange change = r.SetInterface(*index);
        FieldEdit edit;
        if (change.warning)
            edit.note =
                std::string(change.warning->caption) + ": " + std::string(change.warning->text);
        return edit;
    });
    const auto visible = [](const R& r) {
        return r.InterfaceVisibility();
    };
    s.OnOff(
        "remote_disarm", [](R& r, bool on) { r.SetRemoteDisarm(on); },
        [visible](const R& r) { return visible(r).remoteDisarm; });
    AddStepped<R>(
        s, "network_number", R::kNetworkNumberMin, R::kNetworkNumberMax,
        [](R& r, int number) { r.SetNetworkNumber(number); },
        [visible](const R& r) { return visible(r).networkNumber; });
    const auto gsmPage = [visible](const R& r) {
        return visible(r).gsmPage;
    };
    s.Add(
        "device_number",
        [](R& r, std::string_view value) -> FieldEdit {
            if (!r.SetDeviceNumberFromText(value))
                return Refused(FieldValueText("device_number", value));
            return FieldEdit{};
        },
        gsmPage);
    s.Number(
        "channel_test", [](R& r, std::string_view text) { return r.SetChannelTestFromText(text); },
        gsmPage);
    s.OnOff(
        "sms_disarm", [](R& r, bool on) { r.SetSmsDisarm(on); }, gsmPage);
}

void AddPanelPeriphery(FieldSetters<PanelRecord>& s) {
    using R = PanelRecord;
    const std::pair<const char*, R::Relay> relays[] = {{"relay.alarm", R::Relay::Alarm},
                                                       {"relay.fire", R::Relay::Fire},
                                                       {"relay.control", R::Relay::Control}};
    for (const auto& [id, relay] : relays)
        s.Item(id, RelayModeTexts(),
               [relay = relay](R& r, int index) { r.SetRelayMode(relay, index); });
    s.OnOff("relay.alarm_sms", [](R& r, bool on) { r.SetSmsRelay(R::SmsRelay::Alarm, on); });
    s.OnOff("relay.fire_sms", [](R& r, bool on) { r.SetSmsRelay(R::SmsRelay::Fire, on); });
    const std::pair<const char*, int> monitors[] = {{"monitor.relay3", R::kMonitorRelay3},
                                                    {"monitor.relay4", R::kMonitorRelay4},
                                                    {"monitor.siren", R::kMonitorSiren},
                                                    {"monitor.lamp", R::kMonitorLamp}};
    for (const auto& [id, bit] : monitors)
        s.OnOff(id, [bit = bit](R& r, bool on) { r.SetMonitorBit(bit, on); });
    const std::pair<const char*, R::Option> options[] = {
        {"two_threshold.events", R::Option::TwoThresholdEvents},
        {"two_threshold.siren", R::Option::TwoThresholdSiren},
        {"lamp_blinks", R::Option::LampBlinks},
        {"arming_feedback", R::Option::ArmingFeedback}};
    for (const auto& [id, option] : options)
        s.OnOff(id, [option = option](R& r, bool on) { r.SetOption(option, on); });
    s.Item("touch_memory", TouchMemoryModeTexts(),
           [](R& r, int index) { r.SetTouchMemoryMode(index); });
    s.Item("internal_partition", R::PartitionTexts(),
           [](R& r, int index) { r.SetInternalPartition(index); });
    s.Item("lamp_mode", R::LampModeTexts(), [](R& r, int index) { r.SetLampMode(index); });
    s.Item("reader_led", R::LedModeTexts(), [](R& r, int index) { r.SetLedMode(index); });
    s.Item("buzzer", BuzzerTexts(), [](R& r, int index) { r.SetBuzzerFromIndex(index); });
    s.Number("siren_time",
             [](R& r, std::string_view text) { return r.SetSirenTimeFromText(text); });
    s.OnOff("siren_signals", [](R& r, bool on) { r.SetSirenSignals(on); });

    for (int row = 0; row < BoxFieldState::kRows; ++row) {
        for (int column = 1; column <= BoxFieldState::kColumns; ++column) {
            const int tag = BoxFieldState::TagOf(row, column);
            s.OnOff("matrix." + std::to_string(column) + "." + std::to_string(row),
                    [tag](R& r, bool on) {
                        WithBoxes(r, [&](R::CollectedBoxes& b) {
                            BoxFieldState matrix = MatrixOf(r);
                            matrix.SetBox(tag, on);
                            b.matrixOutputs = matrix.OutputBytes();
                        });
                    });
        }
    }
    s.Item(
        "arming_condition", kArmingConditionTexts,
        [](R& r, int index) {
            WithBoxes(r, [&](R::CollectedBoxes& b) {
                b.armingCondition = index == 0 ? BoxFieldState::kAnyPartitionArmed
                                               : BoxFieldState::kAllPartitionsArmed;
            });
        },
        [](const R& r) { return MatrixOf(r).ConditionGroupVisible(); });
}

FieldSetters<PanelRecord> PanelSetters() {
    FieldSetters<PanelRecord> s;
    AddPanelZones(s);
    AddPanelTransmission(s);
    AddPanelPeriphery(s);
    // The direction table is a view: the window does not write its edits back into the block,
    // so its cells have no setter.
    return s;
}

// --- type 33 ---

FieldSetters<FiveZonePanelRecord> FiveZonePanelSetters() {
    using R = FiveZonePanelRecord;
    FieldSetters<R> s;
    AddZoneBoxes<R>(
        s, "zone", R::kZoneCount, false,
        [](R& r, int zone, int code) { r.SetZoneType(zone, code); },
        [](R& r, int zone, std::uint8_t event) { r.SetZoneEvent(zone, event); },
        [](const R& r, int zone) { return r.Zone(zone)->eventEnabled; });
    s.Number("siren_time",
             [](R& r, std::string_view text) { return r.SetSirenTimeFromText(text); });
    s.Item("buzzer", BuzzerTexts(), [](R& r, int index) { r.SetBuzzerFromIndex(index); });
    s.Item("touch_memory", TouchMemoryModeTexts(),
           [](R& r, int index) { r.SetTouchMemoryMode(index); });
    s.OnOff(
        "line_short_duty", [](R& r, bool on) { r.SetOption(R::Option::LineShortDuty, on); },
        [](const R& r) { return r.LineShortVisible(); });
    s.OnOff("key_fob_alarm", [](R& r, bool on) { r.SetOption(R::Option::KeyFobAlarm, on); });
    s.OnOff("lamp_blinks", [](R& r, bool on) { r.SetOption(R::Option::LampBlinks, on); });
    s.OnOff("arming_feedback", [](R& r, bool on) { r.SetArmingFeedback(on); });
    s.Item("interface", R::InterfaceTexts(), [](R& r, int index) { r.SetInterface(index); });
    s.OnOff("gsm", [](R& r, bool on) { r.SetGsm(on); });
    AddStepped<R>(
        s, "network_number", R::kNetworkNumberMin, R::kNetworkNumberMax,
        [](R& r, int number) { r.SetNetworkNumber(number); },
        [](const R& r) { return r.TransmissionVisibility().networkNumber; });
    s.OnOff(
        "remote_disarm", [](R& r, bool on) { r.SetRemoteDisarm(on); },
        [](const R& r) { return r.TransmissionVisibility().remoteDisarm; });
    return s;
}

// --- types 34, 35 ---

template <class Record> void AddRepeaterShared(FieldSetters<Record>& s) {
    s.Item("relay.alarm", RelayModeTexts(),
           [](Record& r, int index) { r.SetRelayModeFromIndex(Relay::Alarm, index); });
    s.Item("relay.fire", RelayModeTexts(),
           [](Record& r, int index) { r.SetRelayModeFromIndex(Relay::Fire, index); });
    s.OnOff("relay.fire_check", [](Record& r, bool on) { r.SetFireRelayCheck(on); });
    s.OnOff("indication.reader_led",
            [](Record& r, bool on) { r.SetIndicationBit(kIndicateOnReaderLed, on); });
    s.OnOff("indication.leds", [](Record& r, bool on) { r.SetIndicationBit(kIndicateOnLeds, on); });
    s.OnOff("buzzer", [](Record& r, bool on) { r.SetBuzzer(on); });
}

// An objects grid cell opens the number dialog, which sets the entry's object type and number
// together: the entry's dialog stays open for the next field of the same entry, unless the entry
// has changed since.
FieldEdit SetObjectField(std::span<std::uint8_t> objects, NumberDialogs& dialogs,
                         std::string_view id, std::string_view value) {
    const std::string_view rest = id.substr(std::string_view("object.").size());
    const std::size_t dot = rest.find('.');
    const std::size_t index = std::stoul(std::string(rest.substr(0, dot))) - 1;
    const std::string_view leaf = rest.substr(dot + 1);
    const auto at = static_cast<std::ptrdiff_t>(index * kTransmitterEntrySize);
    TransmitterEntry entry{};
    std::copy_n(objects.begin() + at, kTransmitterEntrySize, entry.begin());
    auto dialog = dialogs.find(index);
    if (dialog == dialogs.end() || dialog->second.Accept() != entry)
        dialog = dialogs.insert_or_assign(index, TransmitterNumberEdit(entry)).first;
    TransmitterNumberEdit& edit = dialog->second;
    FieldEdit result;
    if (leaf == "type") {
        const std::optional<int> type = ItemOf(ObjectTypeTexts(), value);
        if (!type)
            return Refused(FieldValueText(id, value, ObjectTypeTexts()));
        edit.SetObjectTypeIndex(*type);
    } else {
        // The hexadecimal field takes hexadecimal digits only, of which six count.
        std::string typed;
        for (const char c : value) {
            const std::optional<char32_t> passed = FilterHexKey(static_cast<unsigned char>(c));
            if (!passed || *passed < U'0')
                return Refused(FieldValueText(id, value));
            typed += static_cast<char>(*passed);
        }
        if (typed.size() > 6)
            return Refused(FieldValueText(id, value));
        const std::optional<Notations> shown = edit.LeaveHexField(typed);
        if (shown && shown->hex != typed)
            result.note = FieldLimitedText(id, shown->hex);
    }
    entry = edit.Accept();
    std::copy(entry.begin(), entry.end(), objects.begin() + at);
    // An entry without a number keeps no object type: the number comes first.
    if (leaf == "type" && ItemText(ObjectTypeTexts(), EntryObjectType(entry)) != value)
        result.note = FieldLimitedText(id, ItemText(ObjectTypeTexts(), EntryObjectType(entry)));
    return result;
}

template <class Record>
FieldEdit SetRepeaterFieldBy(const FieldSetters<Record>& setters, Record& record,
                             NumberDialogs& dialogs, std::string_view id, std::string_view value) {
    const FieldTable fields = RepeaterFields(record);
    if (fields.Find(id) != nullptr && id.starts_with("object."))
        return SetObjectField(record.Objects(), dialogs, id, value);
    return setters.Set(record, fields, id, value);
}

FieldSetters<RepeaterRecord34> Repeater34Setters() {
    using R = RepeaterRecord34;
    FieldSetters<R> s;
    s.Item("transmission", R::TransmissionTexts(),
           [](R& r, int index) { r.SetTransmissionFromIndex(index); });
    s.Number("system_number",
             [](R& r, std::string_view text) { return r.SetSystemNumberFromText(text); });
    s.Item("receive_letter", R::ReceiveLetterTexts(),
           [](R& r, int index) { r.SetReceiveLetterFromIndex(index); });
    s.Number("site_channel_check",
             [](R& r, std::string_view text) { return r.SetChannelCheckFromText(text); });
    AddRepeaterShared(s);
    return s;
}

FieldSetters<RepeaterRecord35> Repeater35Setters() {
    using R = RepeaterRecord35;
    using Check = R::ChannelCheck;
    FieldSetters<R> s;
    s.Item("receive_letter", R::ReceiveLetterTexts(),
           [](R& r, int index) { r.SetReceiveLetterFromIndex(index); });
    s.Item("transmit.mode", R::TransmissionModeTexts(),
           [](R& r, int index) { r.SetTransmissionModeFromIndex(index); });
    s.Item(
        "transmit.letter", [](const R& r) { return r.TransmitLetterView().items; },
        [](R& r, int index) { r.SetTransmitLetterFromIndex(index); },
        [](const R& r) { return r.TransmitLetterView().letterVisible; });
    s.OnOff(
        "transmit.rs485", [](R& r, bool on) { r.SetRs485(on); },
        [](const R& r) { return r.TransmitLetterView().rs485Visible; });
    AddRepeaterShared(s);
    s.OnOff("activate_relays", [](R& r, bool on) { r.SetActivateRelays(on); });
    s.OnOff("stavel_delay", [](R& r, bool on) { r.SetStavelDelay(on); });
    // Editable lists: an item, or a number typed in.
    const std::pair<const char*, Check> checks[] = {{"stavel_channel_check", Check::Stavel},
                                                    {"site_channel_check", Check::Site}};
    for (const auto& [id, check] : checks) {
        const std::string name = id;
        s.Add(id, [name, check = check](R& r, std::string_view value) -> FieldEdit {
            const auto coded = R::ChannelCheckItems(check);
            const std::vector<std::string_view> items = TextsOf(coded);
            const std::optional<int> index = ItemOf(items, value);
            if (!index && !FieldIntegerText(value))
                return Refused(FieldValueText(name, value, items));
            if (index)
                r.SetChannelCheckPeriod(check, coded[static_cast<std::size_t>(*index)].code);
            else
                r.SetChannelCheckFromText(check, value);
            return FieldEdit{};
        });
    }
    AddZoneBoxes<R>(
        s, "zone", R::kZoneCount, R::kEventBoxAllEvents,
        [](R& r, int zone, int code) { r.SetZoneType(zone, code); },
        [](R& r, int zone, std::uint8_t event) { r.SetZoneEvent(zone, event); },
        [](const R& r, int zone) { return r.ZoneEventEnabled(zone); });
    s.Number("delay.entry",
             [](R& r, std::string_view text) { return r.SetDelayFromText(R::Delay::Entry, text); });
    s.Number("delay.exit",
             [](R& r, std::string_view text) { return r.SetDelayFromText(R::Delay::Exit, text); });
    s.OnOff("lock_after_alarm", [](R& r, bool on) { r.SetLockAfterAlarm(on); });
    s.OnOff("communicator", [](R& r, bool on) { r.SetCommunicatorConnected(on); });
    return s;
}

} // namespace

FieldEdit SetTwoLoopField(TwoLoopRecord& record, std::string_view id, std::string_view value) {
    static const FieldSetters<TwoLoopRecord> setters = TwoLoopSetters();
    return setters.Set(record, TwoLoopFields(record), id, value);
}

FieldEdit SetPanelField(PanelRecord& record, std::string_view id, std::string_view value) {
    static const FieldSetters<PanelRecord> setters = PanelSetters();
    const FieldEdit edit = setters.Set(record, PanelFields(record), id, value);
    // Then as the window's save commits its boxes.
    if (edit.Taken())
        record.StoreCollectedBoxes(record.ShownBoxes());
    return edit;
}

FieldEdit SetFiveZonePanelField(FiveZonePanelRecord& record, std::string_view id,
                                std::string_view value) {
    static const FieldSetters<FiveZonePanelRecord> setters = FiveZonePanelSetters();
    return setters.Set(record, FiveZonePanelFields(record), id, value);
}

FieldEdit SetRepeaterField(RepeaterRecord34& record, NumberDialogs& dialogs, std::string_view id,
                           std::string_view value) {
    static const FieldSetters<RepeaterRecord34> setters = Repeater34Setters();
    return SetRepeaterFieldBy(setters, record, dialogs, id, value);
}

FieldEdit SetRepeaterField(RepeaterRecord35& record, NumberDialogs& dialogs, std::string_view id,
                           std::string_view value) {
    static const FieldSetters<RepeaterRecord35> setters = Repeater35Setters();
    return SetRepeaterFieldBy(setters, record, dialogs, id, value);
}

} // namespace tesmira
