#include "SimOptions.h"

#include <charconv>
#include <functional>
#include <map>

namespace tesmira::devsim {

namespace {

bool ParseNumber(const std::string& text, unsigned max, unsigned& out) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty() || value > max)
        return false;
    out = value;
    return true;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t comma = text.find(',', from);
        if (comma == std::string::npos)
            comma = text.size();
        if (comma > from)
            items.push_back(text.substr(from, comma - from));
        from = comma + 1;
    }
    return items;
}

using Setter = std::function<bool(Options&, const std::string&)>;

Setter Number(unsigned max, std::function<void(Options&, unsigned)> set) {
    return [max, set](Options& o, const std::string& v) {
        unsigned n = 0;
        if (!ParseNumber(v, max, n))
            return false;
        set(o, n);
        return true;
    };
}

Setter Text(std::string Options::*field) {
    return [field](Options& o, const std::string& v) {
        o.*field = v;
        return !v.empty();
    };
}

const std::map<std::string, Setter>& ValueOptions() {
    static const std::map<std::string, Setter> table = {
        {"--type", Number(255, [](Options& o, unsigned n) { o.type = n; })},
        {"--version", Number(255, [](Options& o, unsigned n) { o.version = std::uint8_t(n); })},
        {"--port", Text(&Options::port)},
        {"--baud", Number(4000000, [](Options& o, unsigned n) { o.portBaud = n; })},
        {"--config", Text(&Options::config)},
        {"--save", Text(&Options::save)},
        {"--firmware-out", Text(&Options::firmwareOut)},
        {"--files",
         [](Options& o, const std::string& v) {
             o.files = SplitList(v);
             return true;
         }},
        {"--truncate", Number(65535, [](Options& o, unsigned n) { o.faults.truncate = n; })},
        {"--delay", Number(600000, [](Options& o, unsigned n) { o.delayMs = n; })},
        {"--split", Number(1000, [](Options& o, unsigned n) { o.splitChunks = n ? n : 1; })},
        {"--split-pause", Number(600000, [](Options& o, unsigned n) { o.splitPauseMs = n; })},
        {"--refuse-block",
         Number(1u << 20, [](Options& o, unsigned n) { o.faults.refuseBlock = n; })},
        {"--drop-block", Number(1u << 20, [](Options& o, unsigned n) { o.faults.dropBlock = n; })},
    };
    return table;
}

const std::map<std::string, bool Options::*>& FlagOptions() {
    static const std::map<std::string, bool Options::*> table = {
        {"--log", &Options::log},
        {"--pace", &Options::pace},
        {"--help", &Options::help},
    };
    return table;
}

const std::map<std::string, bool Faults::*>& FaultFlags() {
    static const std::map<std::string, bool Faults::*> table = {
        {"--silent", &Faults::silent},
        {"--bad-crc", &Faults::badCrc},
        {"--extra-byte", &Faults::extraByte},
        {"--zero-length", &Faults::zeroLength},
    };
    return table;
}

} // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (auto f = FlagOptions().find(a); f != FlagOptions().end()) {
            o.*(f->second) = true;
        } else if (auto f = FaultFlags().find(a); f != FaultFlags().end()) {
            o.faults.*(f->second) = true;
        } else if (auto v = ValueOptions().find(a); v != ValueOptions().end()) {
            if (i + 1 >= args.size() || !v->second(o, args[i + 1])) {
                error = a + " needs a valid value (see --help)";
                return std::nullopt;
            }
            ++i;
        } else {
            error = "unknown argument " + a + " (see --help)";
            return std::nullopt;
        }
    }
    if (!o.help && !o.type && o.config.empty()) {
        error = "give the device type with --type N, or a configuration with --config FILE";
        return std::nullopt;
    }
    return o;
}

std::string HelpText() {
    return R"(tesmira-devsim: a simulated device on a pseudo-terminal (or a given serial port).
The first line printed is the path to use as the port; it serves until SIGINT or SIGTERM.

  --type N            device type code 0..255 (26, 27, 30..35 have factory records)
  --version N         firmware version reported, 0..255 (default 1)
  --port PATH         serve this serial port instead of a new pseudo-terminal
  --baud N            line speed of --port (default 9600; 115200 plays the firmware loader)
  --config FILE       start from the record(s) of a *.bcf file (its type unless --type is given)
  --save FILE         write the record(s) to a *.bcf file at exit
  --firmware-out FILE write the firmware image of the last transfer at exit
  --files A,B,...     sound files the type 32 device holds at start
  --log               link monitor on stdout: time, hex and a decoding of every frame
  --pace              take and send bytes no faster than the line's speed (10 bits a byte),
                      so that large writes of the other end back up as on a real line

Faults:
  --silent            never answer
  --bad-crc           replies carry a wrong CRC
  --extra-byte        one byte more after each reply
  --truncate N        each reply cut short by N bytes
  --zero-length       replies carry a length field of 0
  --delay MS          answer MS milliseconds late
  --split N           send each reply in N pieces ...
  --split-pause MS    ... MS milliseconds apart (default 300)
  --refuse-block K    answer firmware block K (counted from 1) with 0x22
  --drop-block K      leave firmware block K unanswered

At 9600 baud the device answers configuration frames, at 115200 firmware blocks (0x11 each);
input at any other speed, and a partial frame followed by a pause of 500 ms, is dropped.
)";
}

} // namespace tesmira::devsim
