// Command line of tesmira-devsim.
#pragma once

#include "SimDevice.h"

#include <optional>
#include <string>
#include <vector>

namespace tesmira::devsim {

struct Options {
    std::optional<unsigned> type; // may come from --config instead
    std::uint8_t version = 1;
    std::string port; // empty: a new pseudo-terminal
    unsigned portBaud = 9600;
    std::string config; // *.bcf to start from
    std::string save;   // *.bcf written at exit
    std::string firmwareOut;
    std::vector<std::string> files;
    bool log = false;
    bool pace = false; // bytes in and out no faster than the line's speed
    bool help = false;
    Faults faults;
    unsigned delayMs = 0;     // before every answer
    unsigned splitChunks = 1; // answer sent in this many pieces
    unsigned splitPauseMs = 300;
};

// Parses argv[1..]; on a bad argument returns nothing and says why in `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

std::string HelpText();

} // namespace tesmira::devsim
