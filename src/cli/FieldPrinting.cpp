// How the commands print fields and differences: a table for people, one JSON document for
// scripts.
#include "cli/FieldPrinting.h"

#include "model/DeviceCatalogue.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace tesmira::cli {

namespace {

using Json = nlohmann::ordered_json;

// Characters as a terminal shows them: UTF-8 continuation bytes take no place.
std::size_t ShownWidth(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string HexBytes(const FieldTable& table, const FieldPlace& place) {
    std::string text;
    const auto& block = table.blocks().at(place.block);
    for (std::size_t i = place.byte; i < place.byte + place.length && i < block.size(); ++i)
        text += (text.empty() ? "" : " ") + HexByte(block[i]);
    return text;
}

std::string PlaceText(const FieldPlace& place) {
    std::string text = std::to_string(place.block) + ":" + std::to_string(place.byte);
    if (place.length > 1)
        text += ".." + std::to_string(place.byte + place.length - 1);
    return text;
}

Json PlaceJson(const FieldTable& table, const FieldPlace& place) {
    return Json{{"block", place.block},
                {"byte", place.byte},
                {"length", place.length},
                {"bits", HexByte(place.bits)},
                {"hex", HexBytes(table, place)}};
}

void PrintJson(std::ostream& out, const Json& document) {
    // Texts from a damaged file may hold bytes that are no UTF-8: shown replaced, never thrown.
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

} // namespace

void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], ShownWidth(row[c]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - ShownWidth(row[c]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << "\n";
    }
}

void PrintFieldTable(std::ostream& out, std::uint8_t type, const FieldTable& table, bool json,
                     bool raw) {
    if (json) {
        Json fields = Json::object();
        for (const Field& field : table.fields()) {
            Json entry{{"page", field.page}, {"label", field.label}, {"value", field.value}};
            if (raw && field.place)
                entry["place"] = PlaceJson(table, *field.place);
            fields[field.id] = std::move(entry);
        }
        Json document{{"type", type}, {"device", DeviceTypeName(type)}, {"fields", fields}};
        if (raw) {
            Json reserved = Json::array();
            for (const FieldPlace& place : table.reserved())
                reserved.push_back(PlaceJson(table, place));
            document["reserved"] = std::move(reserved);
        }
        PrintJson(out, document);
        return;
    }
    out << DeviceTypeName(type) << " (тип " << static_cast<int>(type) << ")\n";
    std::vector<std::vector<std::string>> rows;
    if (raw)
        rows.push_back({"Поле", "Название", "Значение", "Место", "Биты", "Байты"});
    else
        rows.push_back({"Поле", "Название", "Значение"});
    for (const Field& field : table.fields()) {
        std::vector<std::string> row{field.id, field.label, field.value};
        if (raw) {
            if (field.place) {
                row.push_back(PlaceText(*field.place));
                row.push_back(HexByte(field.place->bits));
                row.push_back(HexBytes(table, *field.place));
            } else {
                row.insert(row.end(), {"-", "-", "-"});
            }
        }
        rows.push_back(std::move(row));
    }
    if (raw) {
        for (const FieldPlace& place : table.reserved())
            rows.push_back({"-", "(не показывается)", "", PlaceText(place), HexByte(place.bits),
                            HexBytes(table, place)});
    }
    PrintTable(out, rows);
}

void PrintDifferences(std::ostream& out, const FieldComparison& comparison,
                      const std::string& leftName, const std::string& rightName, bool json) {
    if (json) {
        Json differences = Json::object();
        for (const FieldDifference& d : comparison.differences)
            differences[d.id] =
                Json{{"page", d.page}, {"label", d.label}, {"left", d.left}, {"right", d.right}};
        PrintJson(out,
                  Json{{"left", leftName}, {"right", rightName}, {"differences", differences}});
        return;
    }
    if (comparison.differences.empty()) {
        out << "Различий нет\n";
        return;
    }
    // An empty text would leave its column blank and the other value looking like it.
    const auto shown = [](const std::string& value) {
        return value.empty() ? std::string("(пусто)") : value;
    };
    std::vector<std::vector<std::string>> rows{{"Поле", "Название", leftName, rightName}};
    for (const FieldDifference& d : comparison.differences)
        rows.push_back({d.id, d.label, shown(d.left), shown(d.right)});
    PrintTable(out, rows);
}

void PrintFields(CommandContext& context, const DeviceConfig& config, bool json, bool raw) {
    PrintFieldTable(context.out, config.Type(), config.Fields(), json, raw);
}

} // namespace tesmira::cli
