// Fuzzes event list loading: any bytes are taken as a file into one group of a selection. Line i
// must decide event i of that group by its first two characters, events past the last line and
// the other groups must stay, and a file saved from the result must load back to it.
#include "FuzzCheck.h"
#include "gsm/EventListFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace tesmira;
using Kind = EventSelection::Kind;

using tesmira::fuzz::Require;

// The lines of a text, split apart from the loader: CR LF, LF and CR each end a line.
std::vector<std::string> Lines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != '\r' && data[i] != '\n') {
            line += static_cast<char>(data[i]);
            continue;
        }
        lines.push_back(line);
        line.clear();
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    EventSelection selection;
    for (int event = 0; event < 256; ++event) // a pattern unlike any file's
        selection.Set(event, Kind::Violation, event % 3 == 0);
    selection.SelectGroup(data[0] % 3);
    const EventSelection before = selection;
    ApplyEventList({data + 1, size - 1}, selection);

    const std::vector<std::string> lines = Lines(data + 1, size - 1);
    for (int group = 0; group < EventSelection::kGroupCount; ++group) {
        EventSelection now = selection, was = before;
        now.SelectGroup(group);
        was.SelectGroup(group);
        for (int event = 0; event < 256; ++event) {
            for (const Kind kind : {Kind::Violation, Kind::Restoration}) {
                const auto at = static_cast<std::size_t>(event - 1);
                bool expected = was.IsSet(event, kind);
                if (group == selection.Group() && event >= 1 && at < lines.size()) {
                    const std::size_t column = kind == Kind::Violation ? 0 : 1;
                    expected = lines[at].size() > column && lines[at][column] == '1';
                }
                Require(now.IsSet(event, kind) == expected);
            }
        }
    }

    EventSelection again = before;
    ApplyEventList(EventListBytes(selection), again);
    for (int event = 1; event < 256; ++event) {
        for (const Kind kind : {Kind::Violation, Kind::Restoration})
            Require(again.IsSet(event, kind) == selection.IsSet(event, kind));
    }
    return 0;
}
