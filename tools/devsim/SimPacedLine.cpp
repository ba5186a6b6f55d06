#include "SimPacedLine.h"

#include <algorithm>
#include <thread>

namespace tesmira::devsim {

namespace {

constexpr int kBitsPerByte = 10; // start bit, eight data bits, stop bit

} // namespace

PacedLine::PacedLine(std::unique_ptr<Line> line) : line_(std::move(line)) {}

PacedLine::Clock::duration PacedLine::ByteTime() const {
    const unsigned baud = line_->Speed();
    if (baud == 0)
        return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        static_cast<double>(kBitsPerByte) / static_cast<double>(baud)));
}

Line::Status PacedLine::Read(Bytes& out, int timeoutMs, std::size_t limit) {
    const Clock::duration byte = ByteTime();
    if (byte == Clock::duration::zero())
        return line_->Read(out, timeoutMs, limit);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t allowed = 1; // after an idle spell the first byte counts from when it is seen
    if (inBacklog_) {
        auto now = Clock::now();
        if (now < inAt_ + byte) {
            std::this_thread::sleep_until(std::min(inAt_ + byte, deadline));
            now = Clock::now();
            if (now < inAt_ + byte)
                return Status::Idle;
        }
        allowed = static_cast<std::size_t>((now - inAt_) / byte);
    }
    const std::size_t before = out.size();
    const Status status = line_->Read(out, timeoutMs, std::min(allowed, limit));
    const std::size_t taken = out.size() - before;
    if (status != Status::Data) {
        inBacklog_ = false;
        return status;
    }
    if (!inBacklog_)
        inAt_ = Clock::now() - byte; // the byte just seen has been on the line for one byte time
    inAt_ += taken * byte;
    inBacklog_ = taken == allowed; // fewer than allowed: the line ran dry
    return status;
}

std::size_t PacedLine::Write(std::span<const std::uint8_t> bytes) {
    const Clock::duration byte = ByteTime();
    if (byte == Clock::duration::zero())
        return line_->Write(bytes);
    const auto now = Clock::now();
    if (!outBacklog_) // an idle line owes nothing but the byte under way
        outAt_ = std::max(outAt_, now - byte);
    const auto room = static_cast<std::size_t>((now - outAt_) / byte);
    const std::size_t n = line_->Write(bytes.first(std::min(room, bytes.size())));
    outAt_ += n * byte;
    outBacklog_ = n < bytes.size();
    return n;
}

int PacedLine::WriteReadyInMs() const {
    const Clock::duration byte = ByteTime();
    const auto wait = outAt_ + byte - Clock::now();
    if (byte == Clock::duration::zero() || wait <= Clock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}

} // namespace tesmira::devsim
