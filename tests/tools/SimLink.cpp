#include "tools/SimLink.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace tesmira::test {

using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::vector<int> ExchangeOutcome::codes() const {
    std::vector<int> out;
    for (const auto& r : reports)
        out.push_back(static_cast<int>(r.code));
    return out;
}

milliseconds ExchangeOutcome::Between(ExchangeReport from, ExchangeReport to) const {
    const auto first =
        std::find_if(reports.begin(), reports.end(), [&](const auto& r) { return r.code == from; });
    const auto second =
        std::find_if(first, reports.end(), [&](const auto& r) { return r.code == to; });
    const auto i = static_cast<std::size_t>(first - reports.begin());
    const auto j = static_cast<std::size_t>(second - reports.begin());
    if (second == reports.end() || j >= times.size())
        return milliseconds(-1);
    return times[j] - times[i];
}

SimLink::SimLink(const std::vector<std::string>& simArgs, LinkClock& clock)
    : sim(simArgs), link(timer, clock) {
    link.port.SetPortName(sim.slavePath());
}

SimLink::~SimLink() {
    link.StopExchange();
}

int SimLink::Put(const Bytes& bytes) {
    const auto tx = link.TransmitBuffer();
    const std::size_t n = std::min(bytes.size(), tx.size());
    std::copy_n(bytes.begin(), n, tx.begin());
    return static_cast<int>(n);
}

ExchangeOutcome SimLink::Run(ExchangeMode mode, int length, milliseconds limit) {
    auto target = std::make_shared<RecordingTarget>();
    {
        std::lock_guard lock(mutex_);
        times_.clear();
        start_ = SteadyClock::now();
    }
    target->onReport = [this](const RecordingTarget::Entry&) {
        std::lock_guard lock(mutex_);
        times_.push_back(std::chrono::duration_cast<milliseconds>(SteadyClock::now() - start_));
    };
    ExchangeOutcome out;
    if (!link.StartExchange(mode, target, length))
        return out;
    const auto end = SteadyClock::now() + limit;
    const bool reported = target->WaitFinal(limit);
    while (link.ExchangeRunning() && SteadyClock::now() < end)
        std::this_thread::sleep_for(milliseconds(1));
    out.finished = reported && !link.ExchangeRunning();
    std::lock_guard lock(mutex_);
    out.elapsed = std::chrono::duration_cast<milliseconds>(SteadyClock::now() - start_);
    out.reports = target->entries();
    out.times = times_;
    return out;
}

Bytes SimLink::Received() const {
    const auto rx = link.ReceiveBuffer();
    const auto count = static_cast<std::size_t>(std::max(link.ReceivedCount(), 0));
    return Bytes(rx.begin(), rx.begin() + static_cast<std::ptrdiff_t>(std::min(count, rx.size())));
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace tesmira::test
