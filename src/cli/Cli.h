// tesmira-cli: the program's device and file operations from a terminal or a script, on the core
// alone. The commands are grouped by what they need: files only, or a device on a serial port.
#pragma once

#include "model/DeviceConfig.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tesmira::cli {

// What the program's exit status tells a script.
enum class ExitStatus : int {
    Done = 0,
    Differences = 1,     // diff found fields that differ
    BadUsage = 2,        // bad options, an unknown field or value, a refused file
    PortUnavailable = 3, // the port could not be opened, or no rights to it
    NoAnswer = 4,        // no valid answer from the device
    DeviceRefused = 5,   // a firmware block, a file command or a record that does not fit
};

// Ends a command with `status`; the message (the program's own text) goes to stderr.
class CommandFailure : public std::runtime_error {
public:
    CommandFailure(ExitStatus status, const std::string& message)
        : std::runtime_error(message), status_(status) {}
    ExitStatus status() const { return status_; }

private:
    ExitStatus status_;
};

// Where a command writes, and what it may know of its terminal.
struct CommandContext {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
    // Where the write's backups go; empty: the configurator's own backups folder.
    std::filesystem::path backupsFolder;
    // Set by the command that the parse selected; run once the whole line is parsed.
    std::function<ExitStatus()> run;
};

// Runs the command line `args` (without the program name) and gives its exit status.
int RunCli(const std::vector<std::string>& args, CommandContext& context);

// The commands on files: defaults, show, set, diff (file against file or device).
void AddFileCommands(CLI::App& app, CommandContext& context);
// The commands on a device: ports, read, write, flash, files.
void AddDeviceCommands(CLI::App& app, CommandContext& context);

// The options of a command that talks to a device.
struct DeviceLine {
    std::string port;   // as the settings window names it, or a path beginning with "/"
    bool trace = false; // every frame to stderr, time-stamped, in hex
};
// Adds -p/--port (required) and --trace to `command`.
void AddDeviceOptions(CLI::App& command, DeviceLine& line);

// What a read of the device gave: its accepted reply and its configuration taken out of it.
struct DeviceRead {
    std::vector<std::uint8_t> reply;
    std::unique_ptr<DeviceConfig> config; // null for a type that has no configuration here
};
// Identifies and reads the device on `line`. Throws CommandFailure (3 or 4) with the program's
// text when the port or the device fails.
DeviceRead ReadDevice(const DeviceLine& line, CommandContext& context);

// Opens a configuration file as the window's "Открыть..." does. Throws CommandFailure (2) with
// the reader's text for a file that is missing, damaged or of a type without a configuration.
std::unique_ptr<DeviceConfig> OpenConfigFile(const std::filesystem::path& file);

// Prints every field of `config`: a table for people, or one JSON document keyed by field id.
// With `raw`, also the bytes each field lives in.
void PrintFields(CommandContext& context, const DeviceConfig& config, bool json, bool raw);

} // namespace tesmira::cli
