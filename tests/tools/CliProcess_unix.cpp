#include "tools/CliProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tesmira::test {

using namespace std::chrono_literals;

CliProcess::CliProcess(const std::vector<std::string>& args,
                       const std::filesystem::path& dataFolder, const std::string& terminal) {
    std::vector<std::string> argv{TESMIRA_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!std::string_view(*e).starts_with("XDG_DATA_HOME="))
            env.emplace_back(*e);
    env.push_back("XDG_DATA_HOME=" + dataFolder.string());
    std::vector<char*> cenv;
    for (auto& e : env)
        cenv.push_back(e.data());
    cenv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, (dir_ / "out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (terminal.empty())
        posix_spawn_file_actions_addopen(&files, 2, (dir_ / "err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    else
        posix_spawn_file_actions_addopen(&files, 2, terminal.c_str(), O_WRONLY | O_NOCTTY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, cargv[0], &files, nullptr, cargv.data(), cenv.data()) == 0)
        handle_ = pid;
    else
        ADD_FAILURE() << "cannot start " << cargv[0];
    posix_spawn_file_actions_destroy(&files);
}

CliProcess::~CliProcess() {
    if (handle_ > 0) {
        ::kill(static_cast<pid_t>(handle_), SIGKILL);
        ::waitpid(static_cast<pid_t>(handle_), nullptr, 0);
    }
}

CliResult CliProcess::Wait(std::chrono::milliseconds limit) {
    CliResult result;
    const auto pid = static_cast<pid_t>(handle_);
    const auto end = std::chrono::steady_clock::now() + limit;
    while (handle_ > 0) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            handle_ = -1;
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        } else if (std::chrono::steady_clock::now() > end) {
            ADD_FAILURE() << "tesmira-cli did not end in time";
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            handle_ = -1;
        } else {
            std::this_thread::sleep_for(5ms);
        }
    }
    result.out = ReadText(dir_ / "out");
    result.err = ReadText(dir_ / "err");
    return result;
}

void CliProcess::Interrupt() {
    if (handle_ > 0)
        ::kill(static_cast<pid_t>(handle_), SIGINT);
}

std::string CliPortOf(const DevsimProcess& sim) {
    return sim.slavePath();
}

std::string MissingPort(const TempDir& dir) {
    return (dir / "no-such-port").string();
}

} // namespace tesmira::test
