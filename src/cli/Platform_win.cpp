// The command line's ties to Windows: Ctrl+C in the console and the application data folder.
#include "cli/DeviceLink.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace tesmira::cli {

namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    interrupted = true;
    return TRUE;
}

} // namespace

InterruptWatch::InterruptWatch() {
    interrupted = false;
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

InterruptWatch::~InterruptWatch() {
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
}

bool InterruptWatch::Requested() {
    return interrupted.load();
}

std::filesystem::path DefaultBackupsFolder() {
    // The roaming application data folder, as the window's data location on Windows.
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || appData[0] == L'\0')
        return {};
    return std::filesystem::path(appData) / "Korvana" / "Tesmira" / "backups";
}

} // namespace tesmira::cli
