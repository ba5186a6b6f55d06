// The one observer of the line: what was sent and received, and where each exchange began and
// ended, queued for a listener on another thread.
#pragma once

#include "link/Exchange.h"
#include "link/SerialBackend.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace tesmira {

enum class TapEventKind : std::uint8_t {
    Sent,            // bytes the port took for the line
    Received,        // bytes the poll read from the line
    ExchangeStarted, // mode, baud and (firmware) the number of blocks of the image
    ExchangeEnded,   // the final report's code; why the port did not open
};

struct TapEvent {
    TapEventKind kind = TapEventKind::Sent;
    std::uint64_t timeMs = 0; // the link's clock
    std::vector<std::uint8_t> bytes;
    ExchangeMode mode = ExchangeMode::Read;
    std::uint32_t baud = 0;
    std::size_t blocks = 0;
    ExchangeReport report = ExchangeReport::Identified;
    OpenFailure openFailure = OpenFailure::Other;
};

// What a listener takes at once: the events in order, and how many older ones the bound dropped
// since the last take (they came before the first of these).
struct TapBatch {
    std::vector<TapEvent> events;
    std::size_t dropped = 0;
};

class LinkTap {
public:
    static constexpr std::size_t kDefaultCapacity = 4096;

    explicit LinkTap(std::size_t capacity = kDefaultCapacity);

    // Any thread. While nobody listens the Record calls return before they copy or lock
    // anything; stopping drops what was queued.
    void Listen(bool on);
    bool Listening() const { return listening_.load(std::memory_order_relaxed); }

    // Exchange thread and receive handler. They never wait for the listener: the lock is held
    // only to put one event in, or to hand the whole queue over. A full queue drops its oldest
    // event and counts it.
    void RecordBytes(TapEventKind kind, std::uint64_t timeMs, const std::uint8_t* data,
                     std::size_t size);
    void RecordStart(std::uint64_t timeMs, ExchangeMode mode, std::uint32_t baud,
                     std::size_t blocks);
    void RecordEnd(std::uint64_t timeMs, ExchangeReport report, OpenFailure openFailure);

    // The listener's thread: everything queued since the last take.
    TapBatch Take();

private:
    void Push(TapEvent event);

    const std::size_t capacity_;
    std::atomic<bool> listening_{false};
    std::mutex mutex_;
    std::deque<TapEvent> queue_;
    std::size_t dropped_ = 0;
};

} // namespace tesmira
