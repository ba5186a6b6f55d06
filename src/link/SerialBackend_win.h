// The serial port over the Win32 communications calls, which come through a table so that tests
// can script them.
#pragma once

#include "link/SerialBackend.h"

#include <windows.h>

#include <memory>

namespace tesmira {

// The kernel32 calls the port makes, as the system declares them.
struct Win32CommCalls {
    decltype(&::CreateFileA) createFile = &::CreateFileA;
    decltype(&::CloseHandle) closeHandle = &::CloseHandle;
    decltype(&::SetCommState) setCommState = &::SetCommState;
    decltype(&::SetupComm) setupComm = &::SetupComm;
    decltype(&::SetCommTimeouts) setCommTimeouts = &::SetCommTimeouts;
    decltype(&::PurgeComm) purgeComm = &::PurgeComm;
    decltype(&::ClearCommError) clearCommError = &::ClearCommError;
    decltype(&::ReadFile) readFile = &::ReadFile;
    decltype(&::WriteFile) writeFile = &::WriteFile;
    decltype(&::GetCommModemStatus) getCommModemStatus = &::GetCommModemStatus;
    decltype(&::GetVersionExA) getVersionEx = &::GetVersionExA;
};

// The device control block for `settings`. From Windows NT 4.0 on, the XON and XOFF limits are
// capped at 4096 bytes.
DCB MakeDcb(const LineSettings& settings, const OSVERSIONINFOA& platform);

std::unique_ptr<SerialBackend> MakeWin32Backend(const Win32CommCalls& calls);

} // namespace tesmira
