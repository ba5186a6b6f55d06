#include "support/LinkFakes.h"

#include <algorithm>

namespace tesmira::test {

void VirtualClock::SleepMs(std::uint32_t ms) {
    now_ += std::uint64_t{ms} * stretch;
    ++sleeps_;
    if (onSleep)
        onSleep();
}

std::uint64_t FastSleepClock::NowMs() {
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start_);
    // From 1000, not 0, as VirtualClock.
    return 1000 + std::uint64_t(elapsed.count()) * std::uint64_t(speedUp_) / 1000;
}

void FastSleepClock::SleepMs(std::uint32_t ms) {
    std::chrono::steady_clock::time_point until;
    {
        std::lock_guard lock(mutex_);
        end_ = std::max(end_, std::chrono::steady_clock::now()) +
               std::chrono::microseconds(1000 * std::uint64_t{ms} / std::uint64_t(speedUp_));
        until = end_;
    }
    std::this_thread::sleep_until(until);
}

// --- ManualPollTimer ---

void ManualPollTimer::Start(std::uint16_t periodMs, std::function<void()> tick) {
    std::lock_guard lock(mutex_);
    active_ = true;
    period_ = periodMs;
    tick_ = std::move(tick);
    ++starts_;
    startedAt_ = clock_ ? clock_->NowMs() : 0;
}

void ManualPollTimer::Stop() {
    std::lock_guard lock(mutex_);
    active_ = false;
    ++stops_;
}

bool ManualPollTimer::Fire() {
    std::function<void()> tick;
    {
        std::lock_guard lock(mutex_);
        if (!active_ || !tick_)
            return false;
        tick = tick_;
    }
    tick();
    return true;
}

bool ManualPollTimer::active() const {
    std::lock_guard lock(mutex_);
    return active_;
}

std::uint16_t ManualPollTimer::period() const {
    std::lock_guard lock(mutex_);
    return period_;
}

int ManualPollTimer::starts() const {
    std::lock_guard lock(mutex_);
    return starts_;
}

int ManualPollTimer::stops() const {
    std::lock_guard lock(mutex_);
    return stops_;
}

std::uint64_t ManualPollTimer::startedAt() const {
    std::lock_guard lock(mutex_);
    return startedAt_;
}

// --- FakeSerialBackend ---

bool FakeSerialBackend::Open(const std::string& path) {
    calls.push_back("Open");
    openedPath = path;
    open = openOk;
    return openOk;
}

void FakeSerialBackend::Close() {
    calls.push_back("Close");
    open = false;
    if (onClose)
        onClose();
}

bool FakeSerialBackend::SetLine(const LineSettings& settings) {
    calls.push_back("SetLine");
    lines.push_back(settings);
    return setLineOk;
}

bool FakeSerialBackend::SetQueueSizes(std::uint32_t, std::uint32_t) {
    calls.push_back("SetQueueSizes");
    return queueSizesOk;
}

void FakeSerialBackend::SetTimeouts() {
    calls.push_back("SetTimeouts");
}

bool FakeSerialBackend::Purge(bool in, bool out) {
    calls.push_back(std::string("Purge") + (in ? "In" : "") + (out ? "Out" : ""));
    if (in && purgeOk)
        input.clear();
    return purgeOk;
}

bool FakeSerialBackend::Counts(QueueCounts& counts) {
    counts.input = static_cast<std::uint32_t>(input.size());
    counts.output = outputQueued;
    return countsOk;
}

std::ptrdiff_t FakeSerialBackend::Read(std::uint8_t* data, std::size_t size) {
    readSizes.push_back(size);
    const std::size_t n = std::min(size, input.size());
    std::copy_n(input.begin(), n, data);
    input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<std::ptrdiff_t>(n);
}

std::ptrdiff_t FakeSerialBackend::Write(const std::uint8_t* data, std::size_t size) {
    calls.push_back("Write");
    if (writeFails)
        return -1;
    const std::size_t n = std::min(size, writeRoom);
    writeRoom -= n;
    written.insert(written.end(), data, data + n);
    writtenCount = written.size();
    return static_cast<std::ptrdiff_t>(n);
}

bool FakeSerialBackend::ModemStatus(ModemLines& out) {
    if (!hasModemLines)
        return false;
    out = modemLines;
    return true;
}

// --- RecordingTarget ---

bool IsFinalReport(ExchangeReport code, int arg) {
    switch (code) {
    case ExchangeReport::PortOpened:
    case ExchangeReport::ReplyStarted:
        return false;
    case ExchangeReport::FirmwareProgress:
        return arg == 100;
    default:
        return true;
    }
}

void PrintTo(const RecordingTarget::Entry& entry, std::ostream* out) {
    *out << "{" << static_cast<int>(entry.code) << ", " << entry.arg
         << (entry.posted ? ", posted}" : "}");
}

void RecordingTarget::Report(ExchangeReport code, int arg, bool posted) {
    const Entry entry{code, arg, posted};
    if (onReport)
        onReport(entry);
    {
        std::lock_guard lock(mutex_);
        entries_.push_back(entry);
    }
    changed_.notify_all();
}

std::vector<RecordingTarget::Entry> RecordingTarget::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<int> RecordingTarget::codes() const {
    std::vector<int> out;
    for (const Entry& e : entries())
        out.push_back(static_cast<int>(e.code));
    return out;
}

bool RecordingTarget::WaitFinal(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] {
        return std::any_of(entries_.begin(), entries_.end(),
                           [](const Entry& e) { return IsFinalReport(e.code, e.arg); });
    });
}

} // namespace tesmira::test
