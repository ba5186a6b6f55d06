#include "model/FieldSetters.h"

#include "model/EventTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tesmira {

namespace {

// Blanks at either end dropped, runs of blanks inside made one.
std::string Squeezed(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace

std::string UnknownFieldText(std::string_view id) {
    return "Нет поля " + Quoted(id);
}

std::string FieldNotSettableText(std::string_view id) {
    return "Поле " + Quoted(id) + " не изменяется напрямую";
}

std::string FieldDisabledText(std::string_view id) {
    return "Поле " + Quoted(id) + " недоступно при этих настройках";
}

std::string FieldLimitedText(std::string_view id, std::string_view shown) {
    return "Поле " + Quoted(id) + " получило значение " + Quoted(shown);
}

std::string FieldValueText(std::string_view id, std::string_view value) {
    return "Недопустимое значение " + Quoted(value) + " поля " + Quoted(id);
}

std::string FieldValueText(std::string_view id, std::string_view value,
                           std::span<const std::string_view> items) {
    std::string text = FieldValueText(id, value) + "; допустимы:";
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? " " : ", ") + Quoted(items[i]);
    return text;
}

std::optional<bool> OnOffOf(std::string_view text) {
    if (text == kFieldOn)
        return true;
    if (text == kFieldOff)
        return false;
    return std::nullopt;
}

std::optional<int> ItemOf(std::span<const std::string_view> items, std::string_view text) {
    const auto exact = std::find(items.begin(), items.end(), text);
    if (exact != items.end())
        return static_cast<int>(exact - items.begin());
    const std::string wanted = Squeezed(text);
    if (wanted.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (Squeezed(items[i]) == wanted)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<std::uint8_t> EventOf(std::string_view text, bool allEvents) {
    const std::vector<std::uint8_t> rows = EventBoxRows(allEvents);
    std::int32_t code = -1;
    if (FieldIntegerText(text)) {
        const std::string digits = Squeezed(text);
        std::from_chars(digits.data(), digits.data() + digits.size(), code);
    }
    for (const std::uint8_t row : rows) {
        const std::string shown = EventText(row);
        if (shown == text || EventRowAt(row).code == code) {
            // The box stores the first row of the picked item's text, as its handler does.
            return EventIndexByText(shown);
        }
    }
    return std::nullopt;
}

bool FieldIntegerText(std::string_view text) {
    std::string digits = Squeezed(text);
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
        digits.erase(0, 1);
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

} // namespace tesmira
