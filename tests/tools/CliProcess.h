// Runs tesmira-cli as a process of its own for a test: its output in files, its exit status, and
// the port by which it reaches the simulator on this system.
#pragma once

#include "support/TempDir.h"
#include "tools/DevsimProcess.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tesmira::test {

struct CliResult {
    int status = -1; // -1: it did not end in time and was killed
    std::string out;
    std::string err;
};

class CliProcess {
public:
    // Starts tesmira-cli with `args`; its backups go under `dataFolder` (the system's
    // application data folder for the child: XDG_DATA_HOME, or APPDATA on Windows). With
    // `terminal` (Unix), its stderr is that terminal instead of a file.
    CliProcess(const std::vector<std::string>& args, const std::filesystem::path& dataFolder,
               const std::string& terminal = {});
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Waits for its end; kills it after `limit`.
    CliResult Wait(std::chrono::milliseconds limit = std::chrono::seconds(60));
    // Ctrl+C (Unix: a console's Ctrl+C reaches only the processes of that console).
    void Interrupt();

private:
    TempDir dir_;
    long long handle_ = -1; // the process id, or the Windows process handle
};

// Runs it to its end.
CliResult RunCliProcess(const std::vector<std::string>& args,
                        const std::filesystem::path& dataFolder);

// The port text by which tesmira-cli reaches `sim`: its pseudo-terminal, or the Wine COM port.
std::string CliPortOf(const DevsimProcess& sim);
// A port text that names a port which cannot be opened.
std::string MissingPort(const TempDir& dir);

// Where tesmira-cli keeps its backups under `dataFolder`.
std::filesystem::path CliBackupsFolder(const std::filesystem::path& dataFolder);

std::string ReadText(const std::filesystem::path& file);

} // namespace tesmira::test
