// A line that takes in and gives out bytes no faster than its speed allows (ten bit times a
// byte), so that the other end's large writes back up as on a real serial line.
#pragma once

#include "SimLine.h"

#include <chrono>
#include <memory>

namespace tesmira::devsim {

class PacedLine : public Line {
public:
    using Clock = std::chrono::steady_clock;

    explicit PacedLine(std::unique_ptr<Line> line);

    const std::string& path() const override { return line_->path(); }
    bool Reopened() override { return line_->Reopened(); }
    unsigned Speed() const override { return line_->Speed(); }

    // Takes only the bytes whose time on the line has come; sleeps (within the time-out) until
    // the next one is due when none is.
    Status Read(Bytes& out, int timeoutMs, std::size_t limit = SIZE_MAX) override;
    // Gives the line only what it could have sent by now.
    std::size_t Write(std::span<const std::uint8_t> bytes) override;
    int WriteReadyInMs() const override;

private:
    // One byte's time at the line's speed; zero when the speed is unknown (no pacing then).
    Clock::duration ByteTime() const;

    std::unique_ptr<Line> line_;
    // Input: the moment up to which the line has delivered what was taken, and whether more
    // was waiting when it was last read (otherwise the line was idle: no time is owed).
    Clock::time_point inAt_{};
    bool inBacklog_ = false;
    // Output: the moment the line finishes what was given to it, and whether the last write left
    // bytes over (otherwise the line ran dry and no time is owed).
    Clock::time_point outAt_{};
    bool outBacklog_ = false;
};

} // namespace tesmira::devsim
