// The setters of the GSM communicator's fields: the record's controls through their handlers, the
// phone, event and caption grids' cells as the grids take them. The grids keep what they are given
// until a save commits them, as the window's do.
#include "gsm/CaptionBlock.h"
#include "gsm/GsmDeviceConfig.h"
#include "gsm/PhoneTable.h"
#include "model/FieldSetters.h"

namespace tesmira {

namespace {

using Sim = GsmRecord::Sim;

std::string Id(std::string_view stem, std::size_t number, std::string_view leaf) {
    return fields::Id(stem, static_cast<int>(number), leaf);
}

// The toggle columns show "1" for a selected event and nothing otherwise.
constexpr std::string_view kEventCellTexts[] = {"1", ""};

void AddRecordSetters(FieldSetters<GsmConfig>& s) {
    using G = GsmConfig;
    s.Typed("device_number",
            [](G& g, std::string_view text) { return g.record.SetDeviceNumberFromText(text); });
    s.Item("input_format", GsmRecord::InputFormatTexts(),
           [](G& g, int index) { g.record.SetInputFormat(index); });
    static constexpr const char* kOptionIds[] = {
        "device_number_as_password", "device_number_in_sms", "partition_number", "reject_call"};
    for (int bit = 0; bit < GsmRecord::kOptionBitCount; ++bit)
        s.OnOff(kOptionIds[bit], [bit](G& g, bool on) { g.record.SetOptionBit(bit, on); });
    s.Item("protocol", GsmRecord::ProtocolTexts(),
           [](G& g, int index) { g.record.SetProtocol(index); });
    s.Typed("address",
            [](G& g, std::string_view text) { return g.record.SetAddressFromText(text); });
    s.Typed("port", [](G& g, std::string_view text) { return g.record.SetPortFromText(text); });
    s.Number("test_interval", [](G& g, std::string_view text) {
        return g.record.SetTestIntervalFromText(text).shownText;
    });
    for (const auto& [sim, stem] : {std::pair{Sim::Sim1, "sim1."}, std::pair{Sim::Sim2, "sim2."}}) {
        const std::string id = stem;
        s.Typed(id + "balance_code", [sim = sim](G& g, std::string_view text) {
            return g.record.SetBalanceCodeFromText(sim, text);
        });
        s.OnOff(id + "monthly_report",
                [sim = sim](G& g, bool on) { g.record.SetMonthlyReport(sim, on); });
        s.OnOff(id + "threshold_sms",
                [sim = sim](G& g, bool on) { g.record.SetThresholdOn(sim, on); });
        s.Number(
            id + "threshold",
            [sim = sim](G& g, std::string_view text) {
                return g.record.SetThresholdFromText(sim, text).shownText;
            },
            [sim = sim](const G& g) { return g.record.ThresholdOn(sim); });
    }
}

// A phone row's cells as a click and typing or a pick in its choice box leave them.
void AddPhoneSetters(FieldSetters<GsmConfig>& s) {
    using G = GsmConfig;
    for (std::size_t k = 0; k < kPhoneCount; ++k) {
        const auto hasPhone = [k](const G& g) {
            return !g.phones[k].phone.empty();
        };
        s.Add(Id("phone", k + 1, "number"), [k](G& g, std::string_view value) -> FieldEdit {
            SelectPhoneCell(g.phones[k], PhoneColumn::Phone);
            g.phones[k].phone = value;
            return FieldEdit{};
        });
        s.Add(Id("phone", k + 1, "partition"), [k](G& g, std::string_view value) -> FieldEdit {
            SelectPhoneCell(g.phones[k], PhoneColumn::Partition);
            g.phones[k].partition = value;
            return FieldEdit{};
        });
        s.Item(
            Id("phone", k + 1, "group"), PhoneGroupTexts(),
            [k](G& g, int index) {
                SelectPhoneCell(g.phones[k], PhoneColumn::Group);
                g.phones[k].group = PhoneGroupTexts()[static_cast<std::size_t>(index)];
            },
            hasPhone);
        s.Item(
            Id("phone", k + 1, "call"), PhoneCallTexts(),
            [k](G& g, int index) {
                SelectPhoneCell(g.phones[k], PhoneColumn::Call);
                g.phones[k].call = PhoneCallTexts()[static_cast<std::size_t>(index)];
            },
            hasPhone);
    }
}

void AddEventSetters(FieldSetters<GsmConfig>& s) {
    using G = GsmConfig;
    using Kind = EventSelection::Kind;
    for (int group = 0; group < EventSelection::kGroupCount; ++group) {
        for (int event = 1; event <= EventSelection::kRowCount; ++event) {
            const std::string stem =
                "event." + std::to_string(group + 1) + "." + std::to_string(event) + ".";
            for (const auto& [kind, leaf] : {std::pair{Kind::Violation, "violation"},
                                             std::pair{Kind::Restoration, "restoration"}})
                s.Item(stem + leaf, kEventCellTexts, [group, event, kind = kind](G& g, int index) {
                    const int shown = g.events.Group();
                    g.events.SelectGroup(group);
                    g.events.Set(event, kind, index == 0);
                    g.events.SelectGroup(shown);
                });
        }
    }
}

// A caption row's cells: the type from its choice box, then the number from the event box for an
// event entry or typed for the others, and the name typed.
void AddCaptionSetters(FieldSetters<GsmConfig>& s) {
    using G = GsmConfig;
    for (std::size_t k = 0; k < kCaptionRowCount; ++k) {
        const int row = static_cast<int>(k);
        const auto opens = [row](CaptionCellEditor editor, int column) {
            return [row, editor, column](const G& g) {
                return g.captions.SelectCell(row, column) == editor;
            };
        };
        s.Item(Id("caption", k + 1, "type"), CaptionTypeTexts(), [row](G& g, int index) {
            g.captions.ChooseType(row, CaptionTypeTexts()[static_cast<std::size_t>(index)]);
        });
        s.Add(
            Id("caption", k + 1, "number"),
            [row, k](G& g, std::string_view value) -> FieldEdit {
                if (g.captions.SelectCell(row, 1) == CaptionCellEditor::Typing) {
                    g.captions.rows()[k].number = value;
                    return FieldEdit{};
                }
                const std::vector<std::string>& events = CaptionEventItems();
                const std::vector<std::string_view> items(events.begin(), events.end());
                std::optional<int> index = ItemOf(items, value);
                // Or just the Contact ID code, as the event boxes take it.
                for (std::size_t i = 0; !index && FieldIntegerText(value) && i < items.size();
                     ++i) {
                    if (items[i].starts_with(std::string(value) + " - "))
                        index = static_cast<int>(i);
                }
                if (!index)
                    return Refused(FieldValueText(Id("caption", k + 1, "number"), value));
                g.captions.ChooseEvent(row, events[static_cast<std::size_t>(*index)]);
                return FieldEdit{};
            },
            [opens](const G& g) {
                return opens(CaptionCellEditor::Typing, 1)(g) ||
                       opens(CaptionCellEditor::EventChoice, 1)(g);
            });
        s.Add(
            Id("caption", k + 1, "name"),
            [k](G& g, std::string_view value) -> FieldEdit {
                g.captions.rows()[k].name = value;
                return FieldEdit{};
            },
            opens(CaptionCellEditor::Typing, 2));
    }
}

FieldSetters<GsmConfig> GsmSetters() {
    FieldSetters<GsmConfig> s;
    AddRecordSetters(s);
    AddPhoneSetters(s);
    AddEventSetters(s);
    AddCaptionSetters(s);
    return s;
}

} // namespace

FieldEdit SetGsmField(GsmConfig& gsm, std::string_view id, std::string_view value) {
    static const FieldSetters<GsmConfig> setters = GsmSetters();
    return setters.Set(gsm, GsmFields(gsm), id, value);
}

} // namespace tesmira
