#include "cli/Cli.h"

#include <CLI/CLI.hpp>

namespace tesmira::cli {

// To be built: ports, read, write, flash, files.
void AddDeviceCommands(CLI::App&, CommandContext&) {}

void AddDeviceOptions(CLI::App& command, DeviceLine& line) {
    command.add_option("-p,--port", line.port, "Порт прибора")->required();
    command.add_flag("--trace", line.trace, "Каждый кадр обмена в stderr");
}

DeviceRead ReadDevice(const DeviceLine&, CommandContext&) {
    throw CommandFailure(ExitStatus::NoAnswer, "not built yet");
}

} // namespace tesmira::cli
