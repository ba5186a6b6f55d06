// The command line's ties to a Unix system: Ctrl+C and the application data folder.
#include "cli/DeviceLink.h"

#include <csignal>
#include <cstdlib>

namespace tesmira::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;
struct sigaction previous {};

void OnInterrupt(int) {
    interrupted = 1;
}

} // namespace

InterruptWatch::InterruptWatch() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous);
}

InterruptWatch::~InterruptWatch() {
    ::sigaction(SIGINT, &previous, nullptr);
}

bool InterruptWatch::Requested() {
    return interrupted != 0;
}

std::filesystem::path DefaultBackupsFolder() {
    // Where the window's data location is: a relative XDG_DATA_HOME counts as unset.
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        data = std::filesystem::path(home) / ".local" / "share";
    else
        return {};
    return data / "Korvana" / "Tesmira" / "backups";
}

} // namespace tesmira::cli
