#include "support/LinkPeers.h"

#include <chrono>

namespace tesmira::test {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// --- PeerThread ---

PeerThread::PeerThread(PtyPair& pty, std::vector<PeerStep> script)
    : pty_(pty), script_(std::move(script)), thread_([this] { Loop(); }) {}

PeerThread::~PeerThread() {
    quit_ = true;
    thread_.join();
}

Bytes PeerThread::fromHost() const {
    std::lock_guard lock(mutex_);
    return fromHost_;
}

void PeerThread::Loop() {
    std::size_t next = 0;
    std::size_t heard = 0;
    while (!quit_) {
        const Bytes more = pty_.Read(1, 5ms);
        {
            std::lock_guard lock(mutex_);
            fromHost_.insert(fromHost_.end(), more.begin(), more.end());
            heard = fromHost_.size();
        }
        while (next < script_.size() && heard >= script_[next].afterHostBytes && !quit_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(script_[next].delayMs));
            if (script_[next].hangUp)
                pty_.CloseMaster();
            pty_.Write(script_[next].reply);
            ++next;
        }
        if (more.empty())
            std::this_thread::sleep_for(1ms); // the slave may be closed: the master reads nothing
    }
}

// --- VirtualExchangeRig ---

struct VirtualExchangeRig::WriteLog {
    std::mutex mutex;
    std::vector<std::pair<std::size_t, std::uint64_t>> writes; // running total, time
    std::size_t total = 0;
};

class VirtualExchangeRig::CountingBackend : public SerialBackend {
public:
    CountingBackend(std::shared_ptr<WriteLog> log, LinkClock& clock)
        : inner_(MakeSerialBackend()), log_(std::move(log)), clock_(clock) {}

    bool Open(const std::string& path) override { return inner_->Open(path); }
    void Close() override { inner_->Close(); }
    bool SetLine(const LineSettings& s) override { return inner_->SetLine(s); }
    bool SetQueueSizes(std::uint32_t i, std::uint32_t o) override {
        return inner_->SetQueueSizes(i, o);
    }
    void SetTimeouts() override { inner_->SetTimeouts(); }
    bool Purge(bool i, bool o) override { return inner_->Purge(i, o); }
    bool Counts(QueueCounts& c) override { return inner_->Counts(c); }
    std::ptrdiff_t Read(std::uint8_t* d, std::size_t n) override { return inner_->Read(d, n); }
    bool ModemStatus(ModemLines& l) override { return inner_->ModemStatus(l); }

    std::ptrdiff_t Write(const std::uint8_t* data, std::size_t size) override {
        const std::ptrdiff_t n = inner_->Write(data, size);
        if (n > 0) {
            std::lock_guard lock(log_->mutex);
            log_->total += static_cast<std::size_t>(n);
            log_->writes.emplace_back(log_->total, clock_.NowMs());
        }
        return n;
    }

private:
    std::unique_ptr<SerialBackend> inner_;
    std::shared_ptr<WriteLog> log_;
    LinkClock& clock_;
};

VirtualExchangeRig::VirtualExchangeRig()
    : log_(std::make_shared<WriteLog>()),
      link(timer, clock, std::make_unique<CountingBackend>(log_, clock)) {
    link.port.SetPortName(pty.slavePath());
    // Count what the poll delivers, so a tick can wait until the bytes sent so far are in.
    link.port.SetReceiveHandler([this](SerialPort&, const std::uint8_t* data, std::size_t size) {
        link.AppendReceived(data, size);
        delivered_ += size;
    });
    reports->onReport = [this](const RecordingTarget::Entry&) {
        reportTimes_.push_back(clock.NowMs() - runStart_);
    };
    clock.onSleep = [this] {
        OnSleep();
    };
}

VirtualExchangeRig::~VirtualExchangeRig() {
    clock.onSleep = nullptr;
}

std::uint64_t VirtualExchangeRig::Run(ExchangeMode mode, int length) {
    runStart_ = clock.NowMs();
    Exchange io(link, clock, reports);
    io.SetMode(mode);
    io.SetLength(length);
    io.Run();
    return clock.NowMs() - runStart_;
}

std::vector<std::uint64_t> VirtualExchangeRig::WriteTimes() const {
    std::lock_guard lock(log_->mutex);
    std::vector<std::uint64_t> times;
    for (const auto& [total, time] : log_->writes)
        times.push_back(time - runStart_);
    return times;
}

void VirtualExchangeRig::OnSleep() {
    PullHostBytes();
    SendDueReplies();
    PollIfDue();
}

void VirtualExchangeRig::PullHostBytes() {
    std::size_t written = 0;
    {
        std::lock_guard lock(log_->mutex);
        written = log_->total;
    }
    const auto deadline = SteadyClock::now() + 2s;
    while (pty.ok() && fromHost_.size() < written && SteadyClock::now() < deadline) {
        const Bytes more = pty.Read(written - fromHost_.size(), 100ms);
        fromHost_.insert(fromHost_.end(), more.begin(), more.end());
        if (!more.empty())
            speedsSeen_.push_back(pty.Line().speed);
    }
}

std::uint64_t VirtualExchangeRig::TimeHostReached(std::size_t count) const {
    if (count == 0)
        return runStart_;
    std::lock_guard lock(log_->mutex);
    for (const auto& [total, time] : log_->writes)
        if (total >= count)
            return time;
    return UINT64_MAX;
}

void VirtualExchangeRig::SendDueReplies() {
    while (nextStep_ < steps_.size()) {
        const PeerStep& step = steps_[nextStep_];
        if (fromHost_.size() < step.afterHostBytes)
            return;
        const std::uint64_t due = TimeHostReached(step.afterHostBytes) + step.delayMs;
        if (clock.NowMs() < due)
            return;
        if (step.hangUp)
            pty.CloseMaster();
        pty.Write(step.reply);
        sentToHost_ += step.reply.size();
        ++nextStep_;
    }
}

void VirtualExchangeRig::PollIfDue() {
    if (!timer.active() || timer.period() == 0)
        return;
    if (timer.starts() != seenStarts_) {
        seenStarts_ = timer.starts();
        nextPoll_ = timer.startedAt() + timer.period();
    }
    const std::uint64_t now = clock.NowMs();
    if (now < nextPoll_)
        return;
    while (nextPoll_ <= now)
        nextPoll_ += timer.period();
    timer.Fire();
    const auto deadline = SteadyClock::now() + 2s;
    while (delivered_ < sentToHost_ && SteadyClock::now() < deadline) {
        std::this_thread::sleep_for(200us);
        timer.Fire();
    }
}

} // namespace tesmira::test
