// The simulator's end of the serial line: a pseudo-terminal master or a serial port.
#pragma once

#include "SimFrames.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tesmira::devsim {

class Line {
public:
    enum class Status { Data, Idle, Closed };

    virtual ~Line() = default;

    // The path the configurator opens: the pseudo-terminal's slave, or the port itself.
    virtual const std::string& path() const = 0;

    // Waits up to timeoutMs for bytes and appends at most `limit` of them to `out`. Closed:
    // nobody holds the other end open (the configurator closes the port between exchanges); the
    // line stays usable.
    virtual Status Read(Bytes& out, int timeoutMs, std::size_t limit = SIZE_MAX) = 0;

    // True when the other end has opened the line again since the last call: a new session began,
    // even if it closed and reopened too quickly for a read to see the line closed. Call it after
    // Read: the bytes that read returned then belong to the new session. An open while the line is
    // still held (another program trying the port, whose lock is then refused) starts none.
    virtual bool Reopened() = 0;

    // The line speed the other end set, in baud (0 when unknown).
    virtual unsigned Speed() const = 0;

    // Writes as much as the line takes now and returns that count; bytes the line refuses (the
    // other end closed) count as written, so a stale answer is never delivered later.
    virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;

    // How long until Write takes another byte; 0 when it takes one now.
    virtual int WriteReadyInMs() const { return 0; }
};

// A new pseudo-terminal; nothing and the reason in `error` when none can be had.
std::unique_ptr<Line> OpenPseudoTerminal(std::string& error);

// A serial port in raw mode at `baud`.
std::unique_ptr<Line> OpenSerialPort(const std::string& path, unsigned baud, std::string& error);

} // namespace tesmira::devsim
