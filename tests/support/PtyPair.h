// A pseudo-terminal for link tests: the test holds the master, the driver opens the slave.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tesmira::test {

using Bytes = std::vector<std::uint8_t>;

// The line as the device end sees it (the master's terminal settings are the slave's).
struct LineView {
    unsigned speed = 0; // baud; 0 when unknown
    bool raw = false;   // no canonical mode, echo, signals or output processing
    bool eightBits = false;
    bool parity = false;
    bool twoStopBits = false;
    bool rtsCts = false;
    bool xonXoff = false;
    bool localAndRead = false; // CLOCAL and CREAD
};

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& slavePath() const { return slave_; }

    void Write(const Bytes& bytes);
    // What has arrived so far, without waiting.
    Bytes ReadAvailable();
    // Waits until `count` bytes arrived or `limit` passed.
    Bytes Read(std::size_t count, std::chrono::milliseconds limit);
    LineView Line() const;
    // Puts the line into a state no serial driver wants (canonical, echo, 2400 baud, two stop
    // bits, both flow controls), so a test sees what the driver changes.
    void SpoilLine();
    void CloseMaster();

private:
    int master_ = -1;
    std::string slave_;
};

} // namespace tesmira::test
