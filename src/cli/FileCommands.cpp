#include "cli/Cli.h"

#include <CLI/CLI.hpp>

namespace tesmira::cli {

// To be built: defaults, show, set, diff.
void AddFileCommands(CLI::App&, CommandContext&) {}

std::unique_ptr<DeviceConfig> OpenConfigFile(const std::filesystem::path&) {
    throw CommandFailure(ExitStatus::BadUsage, "not built yet");
}

void PrintFields(CommandContext&, const DeviceConfig&, bool, bool) {}

} // namespace tesmira::cli
