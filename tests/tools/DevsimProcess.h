// Starts tesmira-devsim as a process for a test, reads its slave path and stops it at the end;
// a plain raw client of the slave for tests that talk to it without the configurator's driver.
#pragma once

#include "support/TempDir.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesmira::test {

using Bytes = std::vector<std::uint8_t>;

class DevsimProcess {
public:
    // Starts the simulator with `args`; its stdout goes to a file, so a chatty --log never
    // blocks it. Fails the test (ADD_FAILURE) when no slave path appears within 20 s.
    explicit DevsimProcess(const std::vector<std::string>& args);
    ~DevsimProcess();
    DevsimProcess(const DevsimProcess&) = delete;
    DevsimProcess& operator=(const DevsimProcess&) = delete;

    const std::string& slavePath() const { return slave_; }
    bool running() const { return pid_ > 0; }
    int pid() const { return pid_; }

    // SIGTERM, then waits up to 20 s; the exit code, or nothing when it had to be killed.
    std::optional<int> Stop();

    // Everything the simulator printed so far.
    std::string Output() const;

    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    int pid_ = -1;
    std::string slave_;
};

// A raw 8N1 client of a serial line at 9600 or 115200 baud; closes the line when destroyed.
class RawClient {
public:
    RawClient(const std::string& path, unsigned baud);
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool ok() const { return fd_ >= 0; }
    void Send(const Bytes& bytes);
    // Reads until `count` bytes came or `limit` passed, and a little longer to see extra bytes.
    Bytes Receive(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5));

private:
    int fd_ = -1;
};

Bytes ReadFile(const std::string& path);

} // namespace tesmira::test
