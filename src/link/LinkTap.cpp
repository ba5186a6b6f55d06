#include "link/LinkTap.h"

#include <algorithm>
#include <iterator>

namespace tesmira {

LinkTap::LinkTap(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

void LinkTap::Listen(bool on) {
    std::lock_guard lock(mutex_);
    listening_.store(on, std::memory_order_relaxed);
    if (!on) {
        queue_.clear();
        dropped_ = 0;
    }
}

void LinkTap::RecordBytes(TapEventKind kind, std::uint64_t timeMs, const std::uint8_t* data,
                          std::size_t size) {
    if (!Listening() || data == nullptr || size == 0)
        return;
    TapEvent event;
    event.kind = kind;
    event.timeMs = timeMs;
    event.bytes.assign(data, data + size); // outside the lock
    Push(std::move(event));
}

void LinkTap::RecordStart(std::uint64_t timeMs, ExchangeMode mode, std::uint32_t baud,
                          std::size_t blocks) {
    if (!Listening())
        return;
    TapEvent event;
    event.kind = TapEventKind::ExchangeStarted;
    event.timeMs = timeMs;
    event.mode = mode;
    event.baud = baud;
    event.blocks = blocks;
    Push(std::move(event));
}

void LinkTap::RecordEnd(std::uint64_t timeMs, ExchangeReport report, OpenFailure openFailure) {
    if (!Listening())
        return;
    TapEvent event;
    event.kind = TapEventKind::ExchangeEnded;
    event.timeMs = timeMs;
    event.report = report;
    event.openFailure = openFailure;
    Push(std::move(event));
}

void LinkTap::Push(TapEvent event) {
    std::lock_guard lock(mutex_);
    if (!listening_.load(std::memory_order_relaxed))
        return; // the listener left while the event was made
    if (queue_.size() >= capacity_) {
        queue_.pop_front();
        ++dropped_;
    }
    queue_.push_back(std::move(event));
}

TapBatch LinkTap::Take() {
    std::deque<TapEvent> taken;
    TapBatch batch;
    {
        std::lock_guard lock(mutex_);
        taken.swap(queue_);
        batch.dropped = dropped_;
        dropped_ = 0;
    }
    // The copy out and the freeing of the old queue happen outside the lock.
    batch.events.assign(std::make_move_iterator(taken.begin()),
                        std::make_move_iterator(taken.end()));
    return batch;
}

} // namespace tesmira
