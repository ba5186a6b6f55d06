// The simulator started from a test running under Wine: the Linux program runs through Wine's
// Unix spawn call, and its pseudo-terminal becomes a COM port of the prefix through a link in
// the prefix's dosdevices folder. A shell around it notes its process id and, once it ends, its
// exit code in the test's folder, which both sides see; a line counts once its end is there.
#include "tools/DevsimProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace tesmira::test {

namespace {

using namespace std::chrono_literals;

using UnixSpawn = LONG(CDECL*)(char* const argv[], int wait);
using UnixFileName = char*(CDECL*)(const WCHAR* dosName);

template <typename F> F WineExport(const char* module, const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(module), name)));
}

// Runs a Unix program; with `wait`, its exit status.
std::optional<long> Spawn(std::vector<std::string> argv, bool wait) {
    static const auto spawn = WineExport<UnixSpawn>("ntdll.dll", "__wine_unix_spawnvp");
    if (!spawn)
        return std::nullopt;
    std::vector<char*> cargv;
    for (auto& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    return spawn(cargv.data(), wait ? 1 : 0);
}

// The Unix path of a path of this side; empty when Wine cannot tell.
std::string UnixPath(const std::filesystem::path& path) {
    static const auto convert = WineExport<UnixFileName>("kernel32.dll", "wine_get_unix_file_name");
    char* unix = convert ? convert(path.wstring().c_str()) : nullptr;
    if (!unix)
        return {};
    std::string result(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

bool IsDrivePath(const std::string& arg) {
    return arg.size() > 2 && std::isalpha(static_cast<unsigned char>(arg[0])) && arg[1] == ':' &&
           (arg[2] == '\\' || arg[2] == '/');
}

// The prefix's dosdevices folder: where drive C: is linked from.
std::string DosDevicesFolder() {
    std::string c = UnixPath("C:\\"); // ".../dosdevices/c:/"
    while (!c.empty() && c.back() == '/')
        c.pop_back();
    const auto slash = c.rfind('/');
    return slash == std::string::npos ? std::string() : c.substr(0, slash);
}

// The file's first line once it has been written whole; empty before.
std::string CompleteLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    const auto eol = text.find('\n');
    return eol == std::string::npos ? std::string() : text.substr(0, eol);
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

DevsimProcess::DevsimProcess(const std::vector<std::string>& args) {
    const std::string folder = UnixPath(dir_.path());
    if (!Spawn({"/bin/true"}, true) || folder.empty()) {
        ADD_FAILURE() << "the simulator is a Linux program: these tests run under Wine";
        return;
    }
    // $0 is the simulator, $1 the folder, the rest its arguments. Paths of this side given as
    // arguments (an output file, a configuration) become the same files' Unix paths.
    std::vector<std::string> argv{"/bin/sh", "-c",
                                  "cd \"$1\" || exit; shift; \"$0\" \"$@\" > stdout & "
                                  "echo $! > pid; wait $!; echo $? > exit",
                                  TESMIRA_DEVSIM_PATH, folder};
    for (const std::string& a : args)
        argv.push_back(IsDrivePath(a) ? UnixPath(a) : a);
    Spawn(argv, false);

    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end) {
        if (pid_ <= 0) {
            const std::string pid = CompleteLine(dir_ / "pid");
            pid_ = pid.empty() ? -1 : std::stoi(pid);
        }
        const std::string text = Output();
        if (auto eol = text.find('\n'); pid_ > 0 && eol != std::string::npos) {
            const std::string port = Lowered(TESMIRA_SIM_COM_PORT);
            Spawn({"/bin/ln", "-sfn", text.substr(0, eol), DosDevicesFolder() + "/" + port}, true);
            slave_ = std::string("\\\\.\\") + TESMIRA_SIM_COM_PORT;
            return;
        }
        if (std::filesystem::exists(dir_ / "exit")) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    ADD_FAILURE() << "the simulator printed no slave path";
}

DevsimProcess::~DevsimProcess() {
    if (pid_ > 0 && !Stop()) {
        Spawn({"/bin/sh", "-c", "kill -s KILL \"$0\"", std::to_string(pid_)}, true);
        pid_ = -1;
    }
}

std::optional<int> DevsimProcess::Stop() {
    if (pid_ <= 0)
        return std::nullopt;
    Spawn({"/bin/sh", "-c", "kill -s TERM \"$0\"", std::to_string(pid_)}, true);
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end) {
        const std::string code = CompleteLine(dir_ / "exit");
        if (!code.empty()) {
            pid_ = -1;
            return std::stoi(code);
        }
        std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
}

std::string DevsimProcess::Output() const {
    std::ifstream in(dir_ / "stdout");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace tesmira::test
