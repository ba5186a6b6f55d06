#include "gsm/CaptionBlock.h"
#include "gsm/GsmDeviceConfig.h"
#include "gsm/PhoneTable.h"

namespace tesmira {

namespace {

using Sim = GsmRecord::Sim;

using fields::At;

std::string Id(std::string_view stem, std::size_t number, std::string_view leaf) {
    return fields::Id(stem, static_cast<int>(number), leaf);
}

void AddMain(FieldTable& t, const GsmConfig& gsm) {
    const GsmRecord& r = gsm.record;
    t.Page("Основное");
    t.Add("device_number", "Номер прибора:", r.DeviceNumberText(),
          At(GsmRecord::kDeviceNumber, 0xFF, 2), "medtDevNum");
    t.Add("input_format", "Формат:", ItemText(GsmRecord::InputFormatTexts(), r.InputFormatIndex()),
          At(GsmRecord::kInputFormat), "cbbInputType");
    static constexpr const char* kOptionIds[] = {
        "device_number_as_password", "device_number_in_sms", "partition_number", "reject_call"};
    static constexpr const char* kOptionLabels[] = {"Использовать номер прибора как пароль",
                                                    "Передавать в SMS", "Передавать номер раздела",
                                                    "Отбивать звонок"};
    static constexpr const char* kOptionControls[] = {"chkUsePass", "chkTxPribor", "chkTxRazdel",
                                                      "chkObboj"};
    for (int bit = 0; bit < GsmRecord::kOptionBitCount; ++bit)
        t.Add(kOptionIds[bit], kOptionLabels[bit], OnOffText(r.OptionBit(bit)),
              At(GsmRecord::kOptions, static_cast<std::uint8_t>(1 << bit)), kOptionControls[bit]);
    t.Reserve(At(GsmRecord::kOptions, 0xF0));

    // Row k shows entry k until the rows are written back, which packs them to the front.
    t.Page("Телефоны");
    static constexpr const char* kCellIds[] = {"number", "group", "partition", "call"};
    static constexpr const char* kCellLabels[] = {"Телефон", "гр.событий", "Раздел", "Звонок"};
    static constexpr std::size_t kCellBytes[] = {0, 13, 14, 15};
    static constexpr std::size_t kCellLengths[] = {kPhoneDigitsMax, 1, 1, 1};
    for (std::size_t k = 0; k < kPhoneCount; ++k) {
        const PhoneRow& row = gsm.phones[k];
        const std::string texts[] = {row.phone, row.group, row.partition, row.call};
        const std::size_t entry = GsmRecord::kPhones + k * kPhoneEntrySize;
        for (std::size_t c = 0; c < 4; ++c)
            t.AddCell(Id("phone", k + 1, kCellIds[c]),
                      "Телефон " + std::to_string(k + 1) + ": " + kCellLabels[c], texts[c],
                      At(entry + kCellBytes[c], 0xFF, kCellLengths[c]), "grdPhones",
                      {static_cast<int>(k), static_cast<int>(c) + 1});
    }
}

void AddEvents(FieldTable& t, const GsmConfig& gsm) {
    using Column = EventSelection::Column;
    EventSelection shown = gsm.events;
    for (int group = 0; group < EventSelection::kGroupCount; ++group) {
        shown.SelectGroup(group);
        const std::string groupText(EventSelection::GroupTexts()[static_cast<std::size_t>(group)]);
        t.Page("События: " + groupText);
        const std::size_t start =
            GsmRecord::kEvents + static_cast<std::size_t>(group) * 2 * EventSelection::kFieldSize;
        for (std::size_t kind = 0; kind < 2; ++kind)
            t.Reserve(At(start + kind * EventSelection::kFieldSize, 0x01)); // event 0 has no row
        for (int event = 1; event <= EventSelection::kRowCount; ++event) {
            const std::string name = groupText + ": " + EventSelection::EventCodeText(event) + " " +
                                     std::string(EventSelection::EventDescription(event));
            const auto byte = start + static_cast<std::size_t>(event / 8);
            const auto bit = static_cast<std::uint8_t>(1 << (event % 8));
            const std::pair<Column, const char*> kinds[] = {{Column::Violation, "violation"},
                                                            {Column::Restoration, "restoration"}};
            for (std::size_t kind = 0; kind < 2; ++kind) {
                const auto [column, leaf] = kinds[kind];
                t.AddCell(
                    "event." + std::to_string(group + 1) + "." + std::to_string(event) + "." + leaf,
                    name + (kind == 0 ? ": Наруш." : ": Восст."), shown.CellText(event, column),
                    At(byte + kind * EventSelection::kFieldSize, bit), "grdEvents",
                    {event - 1, static_cast<int>(column)});
            }
        }
    }
}

void AddInternetAndBalance(FieldTable& t, const GsmRecord& r) {
    t.Page("Интернет");
    t.Add("protocol", "Протокол", ItemText(GsmRecord::ProtocolTexts(), r.ProtocolIndex()),
          At(GsmRecord::kProtocol), "bxGPRSProtocol");
    t.Add("address", "Адрес:", r.AddressText(),
          At(GsmRecord::kAddress, 0xFF, GsmRecord::kAddressField), "edtGPRS_Addr");
    t.Add("port", "Порт:", r.PortText(), At(GsmRecord::kPort, 0xFF, 2), "medtPortNum");
    t.Add("test_interval", "Интервал контроля канала, мин:", r.TestIntervalText(),
          At(GsmRecord::kTestInterval), "edtGSM_ChTestTime");
    struct SimNames {
        Sim sim;
        const char* id;
        const char* page;
        std::size_t code;
        const char* codeControl;
        const char* monthlyControl;
        const char* thresholdControl;
        const char* limitControl;
    };
    static constexpr SimNames kSims[] = {
        {Sim::Sim2, "sim2", "SIM2 (верхняя)", 332, "edtBalancePhn2", "chkMontBalance2",
         "chkBalance2", "edtLimit2"},
        {Sim::Sim1, "sim1", "SIM1 Основная  (нижняя)", 324, "edtBalancePhn", "chkMontBalance1",
         "chkBalance1", "edtLimit1"}};
    for (const SimNames& s : kSims) {
        t.Page(s.page);
        const std::string id = s.id;
        t.Add(id + ".balance_code", "Код запроса баланса (USSD):", r.BalanceCodeText(s.sim),
              At(s.code, 0xFF, GsmRecord::kBalanceCodeMax + 1), s.codeControl);
        t.Add(id + ".monthly_report", "отчет о балансе раз в месяц",
              OnOffText(r.MonthlyReport(s.sim)), At(s.code + 6), s.monthlyControl);
        // The box shows whether the threshold byte, the edit's, is 0.
        t.Add(id + ".threshold_sms", "Отсылать SMS при снижении суммы на телефон №1",
              OnOffText(r.ThresholdOn(s.sim)), std::nullopt, s.thresholdControl);
        t.Add(id + ".threshold", "Порог, руб:", r.ThresholdText(s.sim), At(s.code + 7),
              s.limitControl);
    }
    // 376..379 no control shows; 380..383 copy the caption block's header.
    t.Reserve(At(376, 0xFF, 4));
    t.Reserve(At(GsmRecord::kCaptionHeader, 0xFF, GsmRecord::kCaptionHeaderSize));
}

// The caption grid's rows; a row has the bytes of the block's entry of its position as long as
// the rows show the block (after a read, an open or a write).
void AddCaptions(FieldTable& t, const CaptionTable& captions) {
    t.Page("Названия");
    const std::span<const std::uint8_t> block = captions.block();
    if (!block.empty())
        t.Reserve({1, 0, std::min<std::size_t>(block.size(), kCaptionHeaderSize), 0xFF});
    // The entries stop where ShowCaptionBlock stops showing them.
    const bool headed = block.size() >= kCaptionHeaderSize;
    const std::size_t count = headed ? block[0] : 0;
    const std::size_t end =
        headed ? std::min<std::size_t>(block.size(), block[2] << 8 | block[3]) : 0;
    std::size_t at = kCaptionHeaderSize;
    bool walking = true;
    for (std::size_t i = 0; i < kCaptionRowCount; ++i) {
        std::optional<FieldPlace> type, number, name;
        walking = walking && i < count && at + 3 <= end;
        if (walking) {
            const std::size_t length = block[at + 2];
            walking = block[at] < CaptionTypeTexts().size() && length > 0 &&
                      length <= kCaptionNameMax && length <= end - at - 3;
        }
        if (walking) {
            type = FieldPlace{1, at, 1, 0xFF};
            number = FieldPlace{1, at + 1, 1, 0xFF};
            t.Reserve({1, at + 2, 1, 0xFF}); // the name's length
            name = FieldPlace{1, at + 3, block[at + 2], 0xFF};
            at += 3 + block[at + 2];
        }
        const CaptionRow& row = captions.rows()[i];
        const std::string label = "Название " + std::to_string(i + 1) + ": ";
        const int r = static_cast<int>(i);
        t.AddCell(Id("caption", i + 1, "type"), label + "Тип", row.type, type, "grdCaptions",
                  {r, 0});
        t.AddCell(Id("caption", i + 1, "number"), label + "Номер", row.number, number,
                  "grdCaptions", {r, 1});
        t.AddCell(Id("caption", i + 1, "name"), label + "Название", row.name, name, "grdCaptions",
                  {r, 2});
    }
    if (at < block.size())
        t.Reserve({1, at, block.size() - at, 0xFF});
}

} // namespace

FieldTable GsmFields(const GsmConfig& gsm) {
    const auto& record = gsm.record.bytes();
    const auto block = gsm.captions.block();
    FieldTable t({{record.begin(), record.end()}, {block.begin(), block.end()}});
    AddMain(t, gsm);
    AddCaptions(t, gsm.captions);
    AddEvents(t, gsm);
    AddInternetAndBalance(t, gsm.record);
    return t;
}

} // namespace tesmira
