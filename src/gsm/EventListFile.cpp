#include "gsm/EventListFile.h"

#include "gsm/FileErrors.h"
#include "model/Cp1251.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tesmira {

namespace {

using Kind = EventSelection::Kind;

void AppendText(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Every file holds the same descriptions: converted to the file's code page once, not for each
// of the 255 lines of each save.
std::span<const std::uint8_t> DescriptionBytes(int event) {
    static const std::vector<std::vector<std::uint8_t>> descriptions = [] {
        std::vector<std::vector<std::uint8_t>> all(EventSelection::kRowCount + 1);
        for (int row = 1; row <= EventSelection::kRowCount; ++row)
            all[static_cast<std::size_t>(row)] =
                Utf8ToCp1251(EventSelection::EventDescription(row));
        return all;
    }();
    return descriptions.at(static_cast<std::size_t>(event));
}

} // namespace

std::vector<std::uint8_t> EventListBytes(const EventSelection& selection) {
    std::vector<std::uint8_t> out;
    for (int event = 1; event <= EventSelection::kRowCount; ++event) {
        out.push_back(selection.IsSet(event, Kind::Violation) ? '1' : ' ');
        out.push_back(selection.IsSet(event, Kind::Restoration) ? '1' : ' ');
        out.push_back('(');
        AppendText(out, DescriptionBytes(event));
        out.insert(out.end(), {')', '\r', '\n'});
    }
    AppendText(out, Utf8ToCp1251(kEventListEndLine));
    out.insert(out.end(), {'\r', '\n'});
    return out;
}

void ApplyEventList(std::span<const std::uint8_t> text, EventSelection& selection) {
    std::size_t at = 0;
    for (int event = 1; event <= EventSelection::kRowCount && at < text.size(); ++event) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::size_t length = end - at;
        selection.Set(event, Kind::Violation, length >= 1 && text[at] == '1');
        selection.Set(event, Kind::Restoration, length >= 2 && text[at + 1] == '1');
        const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        at = std::min(text.size(), end + (crLf ? 2 : 1));
    }
}

void SaveEventListFile(const std::filesystem::path& path, const EventSelection& selection) {
    const std::vector<std::uint8_t> bytes = EventListBytes(selection);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
    }
    if (!out)
        throw FileWriteFailed(path);
}

void LoadEventListFile(const std::filesystem::path& path, EventSelection& selection) {
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (std::filesystem::is_directory(path, ec) || !in)
        throw FileOpenFailed(path);
    const std::vector<std::uint8_t> text((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    if (in.bad())
        throw FileOpenFailed(path);
    ApplyEventList(text, selection);
}

} // namespace tesmira
