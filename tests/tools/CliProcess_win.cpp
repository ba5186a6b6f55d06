// tesmira-cli.exe started from a test running under Wine: a Windows process of the same prefix,
// its output in files, its backups under APPDATA as the test sets it for the child alone.
#include "tools/CliProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tesmira::test {

namespace {

// The program's path as this side sees it: the build's Unix path through Wine's drive Z:.
std::wstring ProgramPath() {
    std::wstring path = L"Z:" + std::filesystem::path(TESMIRA_CLI_PATH).wstring();
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

// One argument of a command line, quoted as the C runtime takes it apart again.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

// The C runtime writes each "\n" of a console program's text output as "\r\n".
std::string WithoutCarriageReturns(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

HANDLE OutputFile(const std::filesystem::path& file) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(file.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The environment of this process with APPDATA replaced.
std::wstring EnvironmentWith(const std::wstring& appData) {
    std::wstring block;
    wchar_t* env = ::GetEnvironmentStringsW();
    for (const wchar_t* e = env; *e != L'\0'; e += std::wcslen(e) + 1) {
        const std::wstring entry(e);
        if (_wcsnicmp(entry.c_str(), L"APPDATA=", 8) != 0)
            block += entry + L'\0';
    }
    ::FreeEnvironmentStringsW(env);
    block += L"APPDATA=" + appData + L'\0';
    return block + L'\0';
}

} // namespace

CliProcess::CliProcess(const std::vector<std::string>& args,
                       const std::filesystem::path& dataFolder, const std::string&) {
    const std::wstring program = ProgramPath();
    std::wstring line = Quoted(program);
    for (const std::string& a : args)
        line += L" " + Quoted(std::filesystem::path(a).wstring());
    HANDLE out = OutputFile(dir_ / "out");
    HANDLE err = OutputFile(dir_ / "err");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring environment = EnvironmentWith(dataFolder.wstring());
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                         CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup,
                         &info)) {
        ::CloseHandle(info.hThread);
        handle_ = reinterpret_cast<long long>(info.hProcess);
    } else {
        ADD_FAILURE() << "cannot start " << TESMIRA_CLI_PATH;
    }
    ::CloseHandle(out);
    ::CloseHandle(err);
}

CliProcess::~CliProcess() {
    if (handle_ != -1) {
        const auto process = reinterpret_cast<HANDLE>(handle_);
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, INFINITE);
        ::CloseHandle(process);
    }
}

CliResult CliProcess::Wait(std::chrono::milliseconds limit) {
    CliResult result;
    if (handle_ != -1) {
        const auto process = reinterpret_cast<HANDLE>(handle_);
        if (::WaitForSingleObject(process, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process, &code);
            result.status = static_cast<int>(code);
        } else {
            ADD_FAILURE() << "tesmira-cli did not end in time";
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, INFINITE);
        }
        ::CloseHandle(process);
        handle_ = -1;
    }
    result.out = WithoutCarriageReturns(ReadText(dir_ / "out"));
    result.err = WithoutCarriageReturns(ReadText(dir_ / "err"));
    return result;
}

std::string CliPortOf(const DevsimProcess&) {
    return TESMIRA_SIM_COM_PORT; // the port the simulator's pseudo-terminal is linked to
}

std::string MissingPort(const TempDir&) {
    return "COM99";
}

} // namespace tesmira::test
