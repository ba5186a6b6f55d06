#include "gsm/CaptionBlock.h"

#include "model/Cp1251.h"
#include "model/EventTable.h"
#include "model/TextHelpers.h"
#include "model/ZoneTypes.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, 5> kTypeTexts = {"Раздел", "Шлейф", "Пользователь",
                                                        "Соб.Тревога.", "Соб.Норма"};
constexpr std::uint8_t kFormat = 1;
constexpr std::size_t kEntryHead = 3; // type, number, name length

struct Entry {
    std::uint8_t type;
    std::uint8_t number;
    std::vector<std::uint8_t> name;   // code page 1251, 1..16 bytes
    std::vector<std::uint8_t> folded; // the name as the sort compares it
};

bool IsEventType(std::uint8_t type) {
    return type == static_cast<std::uint8_t>(CaptionType::AlarmEvent) ||
           type == static_cast<std::uint8_t>(CaptionType::NormalEvent);
}

// Upper case of the Latin and Russian letters of code page 1251.
std::uint8_t FoldCase(std::uint8_t c) {
    if ((c >= 'a' && c <= 'z') || c >= 0xE0)
        return static_cast<std::uint8_t>(c - 0x20);
    return c == 0xB8 ? 0xA8 : c; // ё
}

// The event index an event entry's number text stands for. The box's own texts, and those Show
// gives to indexes the box has no item for, map back to their index; other texts are read by the
// Contact ID code in their first three characters.
std::uint8_t EventNumber(std::string_view text) {
    if (const std::uint8_t index = EventIndexByText(text); index != 0)
        return index;
    const std::vector<std::uint8_t> bytes = Utf8ToCp1251(text);
    if (bytes.size() < 3)
        return 0;
    const std::optional<long long> code =
        ParseInteger(std::string_view(reinterpret_cast<const char*>(bytes.data()), 3));
    if (!code)
        return 0;
    return EventIndexByCode(*code >= 1000 ? 0 : static_cast<std::int32_t>(*code));
}

// A partition, zone or user number; what is no number 0..255 (negative included) becomes 1.
std::uint8_t PlainNumber(std::string_view text) {
    const std::optional<long long> value = ParseInteger(text);
    if (!value || *value < 0 || *value > 255)
        return 1;
    return static_cast<std::uint8_t>(*value);
}

std::optional<Entry> EntryOf(const CaptionRow& row) {
    if (row.type.empty() || row.number.empty() || row.name.empty())
        return std::nullopt;
    Entry entry;
    entry.type = static_cast<std::uint8_t>(std::max(0, IndexOfText(kTypeTexts, row.type)));
    entry.number = IsEventType(entry.type) ? EventNumber(row.number) : PlainNumber(row.number);
    entry.name = Utf8ToCp1251(row.name);
    entry.name.resize(std::min(entry.name.size(), kCaptionNameMax));
    entry.folded.resize(entry.name.size());
    std::transform(entry.name.begin(), entry.name.end(), entry.folded.begin(), FoldCase);
    return entry;
}

std::string NumberText(std::uint8_t type, std::uint8_t number) {
    // For 1..238 this is the event box's item at position number - 1.
    return IsEventType(type) ? EventText(number) : std::to_string(number);
}

} // namespace

std::span<const std::string_view> CaptionTypeTexts() {
    return kTypeTexts;
}

const std::vector<std::string>& CaptionEventItems() {
    static const std::vector<std::string> kItems = [] {
        std::vector<std::string> items;
        for (const std::uint8_t index : EventBoxRows(true))
            items.push_back(EventText(index));
        return items;
    }();
    return kItems;
}

std::vector<std::uint8_t> BuildCaptionBlock(std::span<const CaptionRow> rows) {
    std::vector<Entry> entries;
    for (const CaptionRow& row : rows.first(std::min(rows.size(), kCaptionRowCount))) {
        if (std::optional<Entry> entry = EntryOf(row))
            entries.push_back(std::move(*entry));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.type != b.type)
            return a.type < b.type;
        if (a.number != b.number)
            return a.number < b.number;
        return a.folded < b.folded;
    });
    std::vector<std::uint8_t> block = {static_cast<std::uint8_t>(entries.size()), kFormat, 0, 0};
    for (const Entry& entry : entries) {
        block.insert(block.end(),
                     {entry.type, entry.number, static_cast<std::uint8_t>(entry.name.size())});
        block.insert(block.end(), entry.name.begin(), entry.name.end());
    }
    block[2] = static_cast<std::uint8_t>(block.size() >> 8);
    block[3] = static_cast<std::uint8_t>(block.size() & 0xFF);
    return block;
}

CaptionRows ShowCaptionBlock(std::span<const std::uint8_t> block) {
    CaptionRows rows;
    if (block.size() < kCaptionHeaderSize)
        return rows;
    const std::size_t count = std::min<std::size_t>(block[0], kCaptionRowCount);
    const std::size_t end = std::min<std::size_t>(block.size(), block[2] << 8 | block[3]);
    std::size_t at = kCaptionHeaderSize;
    for (std::size_t i = 0; i < count && at + kEntryHead <= end; ++i) {
        const std::uint8_t type = block[at];
        const std::uint8_t number = block[at + 1];
        const std::size_t length = block[at + 2];
        if (type >= kTypeTexts.size() || length == 0 || length > kCaptionNameMax ||
            length > end - at - kEntryHead)
            break;
        rows[i].type = kTypeTexts[type];
        rows[i].number = NumberText(type, number);
        rows[i].name = Cp1251ToUtf8(block.subspan(at + kEntryHead, length));
        at += kEntryHead + length;
    }
    return rows;
}

CaptionTable::CaptionTable() : block_(BuildCaptionBlock({})) {}

bool CaptionTable::AssignBlock(std::span<const std::uint8_t> block) {
    if (block.size() < kCaptionHeaderSize || block.size() > kCaptionBufferSize ||
        static_cast<std::size_t>(block[2] << 8 | block[3]) != block.size())
        return false;
    block_.assign(block.begin(), block.end());
    return true;
}

std::size_t CaptionTable::Build() {
    block_ = BuildCaptionBlock(rows_);
    return block_.size();
}

void CaptionTable::Sort() {
    Build();
    Show();
}

CaptionRow* CaptionTable::RowAt(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= kCaptionRowCount)
        return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

void CaptionTable::RemoveRow(int row) {
    if (CaptionRow* r = RowAt(row))
        *r = {};
}

CaptionCellEditor CaptionTable::SelectCell(int row, int column) const {
    if (row < 0 || static_cast<std::size_t>(row) >= kCaptionRowCount)
        return CaptionCellEditor::None;
    const CaptionRow& r = rows_[static_cast<std::size_t>(row)];
    const int type = IndexOfText(kTypeTexts, r.type);
    if (column == 0)
        return CaptionCellEditor::TypeChoice;
    if (column == 1 && type >= 0 && IsEventType(static_cast<std::uint8_t>(type)))
        return CaptionCellEditor::EventChoice;
    if ((column == 1 || column == 2) && !r.type.empty())
        return CaptionCellEditor::Typing;
    return CaptionCellEditor::None;
}

void CaptionTable::ChooseType(int row, std::string_view typeText) {
    CaptionRow* r = RowAt(row);
    const int type = IndexOfText(kTypeTexts, typeText);
    if (r == nullptr || type < 0 || r->type == typeText)
        return;
    r->type = typeText;
    if (IsEventType(static_cast<std::uint8_t>(type))) {
        r->number = CaptionEventItems().front();
        return;
    }
    std::optional<long long> above;
    if (row > 0)
        above = ParseInteger(rows_[static_cast<std::size_t>(row) - 1].number);
    r->number = above && *above < std::numeric_limits<long long>::max() ? std::to_string(*above + 1)
                                                                        : std::string("1");
}

void CaptionTable::ChooseEvent(int row, std::string_view eventText) {
    CaptionRow* r = RowAt(row);
    if (r != nullptr && !eventText.empty())
        r->number = eventText;
}

} // namespace tesmira
