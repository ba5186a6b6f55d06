#include "tools/DevsimProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tesmira::test {

namespace {

using namespace std::chrono_literals;

std::optional<int> WaitExit(int pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::optional(-1);
        std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
}

} // namespace

DevsimProcess::DevsimProcess(const std::vector<std::string>& args) {
    const std::string out = (dir_ / "stdout").string();
    std::vector<std::string> argv{TESMIRA_DEVSIM_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);

    // A test program that crashes runs no destructor: the simulator is told of its parent's end
    // by the kernel instead, so none is left behind serving a pseudo-terminal nobody reads.
    const int stdoutFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) { // only calls that are safe after a fork, up to the exec
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent || stdoutFd < 0 || ::dup2(stdoutFd, 1) < 0)
            ::_exit(127);
        // Nothing of the test's own (pipes, other pseudo-terminals) is held open by the simulator.
        ::close_range(3, ~0U, 0);
        ::execv(cargv[0], cargv.data());
        ::_exit(127);
    }
    if (stdoutFd >= 0)
        ::close(stdoutFd);
    if (pid < 0) {
        ADD_FAILURE() << "cannot start " << cargv[0];
        return;
    }
    pid_ = pid;
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end) {
        const std::string text = Output();
        if (auto eol = text.find('\n'); eol != std::string::npos) {
            slave_ = text.substr(0, eol);
            return;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    ADD_FAILURE() << "the simulator printed no slave path";
}

DevsimProcess::~DevsimProcess() {
    if (pid_ > 0 && !Stop()) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::optional<int> DevsimProcess::Stop() {
    if (pid_ <= 0)
        return std::nullopt;
    ::kill(pid_, SIGTERM);
    auto code = WaitExit(pid_, 20s);
    if (code)
        pid_ = -1;
    return code;
}

std::string DevsimProcess::Output() const {
    std::ifstream in(dir_ / "stdout");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

RawClient::RawClient(const std::string& path, unsigned baud) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        return;
    termios t{};
    ::tcgetattr(fd_, &t);
    cfmakeraw(&t);
    const speed_t speed = baud == 115200 ? B115200 : B9600;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    ::tcsetattr(fd_, TCSANOW, &t);
}

RawClient::~RawClient() {
    if (fd_ >= 0)
        ::close(fd_);
}

void RawClient::Send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else
            std::this_thread::sleep_for(1ms);
    }
}

Bytes RawClient::Receive(std::size_t count, std::chrono::milliseconds limit) {
    Bytes got;
    auto end = std::chrono::steady_clock::now() + limit;
    bool complete = false;
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) {
            std::uint8_t chunk[4096];
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n > 0)
                got.insert(got.end(), chunk, chunk + n);
        }
        if (!complete && got.size() >= count) {
            complete = true;
            end = std::chrono::steady_clock::now() + 100ms; // room for bytes that should not come
        }
    }
    return got;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace tesmira::test
