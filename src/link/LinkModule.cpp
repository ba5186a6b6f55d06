#include "link/LinkModule.h"

#include "link/ThreadPriority.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <system_error>

namespace tesmira {

LinkModule::LinkModule(PollTimer& timer, LinkClock& clock, std::unique_ptr<SerialBackend> backend)
    : rx_(kReceiveBufferSize), tx_(kTransmitBufferSize), port(timer, clock, std::move(backend)),
      clock_(clock) {
    port.SetPort(PortNumber::Custom);
    port.SetPortName("\\\\.\\COM1");
    port.SetBaudRateValue(Exchange::kConfigBaud);
    port.SetDataBits(CharSize::Eight);
    port.SetStopBits(StopBitCount::One);
    port.SetParity(ParityMode::None);
    port.SetHardwareFlow(HardwareFlowMode::None);
    port.SetSoftwareFlow(SoftwareFlowMode::None);
    port.SetInputQueueSize(1024);
    port.SetOutputQueueSize(1024);
    port.SetPollPeriodMs(100);
    port.SetDtrOnOpen(false);
    port.SetOutputTimeout(100);
    port.SetCheckModemLines(false);
    port.SetTap(&tap);
    port.SetReceiveHandler([this](SerialPort&, const std::uint8_t* data, std::size_t size) {
        AppendReceived(data, size);
    });
}

LinkModule::~LinkModule() {
    StopExchange();
    port.Disconnect();
    port.SetReceiveHandler(nullptr);
    port.SetTap(nullptr);
}

void LinkModule::ClearReceive() {
    std::lock_guard lock(rxMutex_);
    std::fill(rx_.begin(), rx_.end(), std::uint8_t{0});
    received_.store(0, std::memory_order_release);
}

void LinkModule::AppendReceived(const std::uint8_t* data, std::size_t size) {
    std::lock_guard lock(rxMutex_);
    const int count = received_.load(std::memory_order_relaxed);
    if (!data || size == 0 || count < 0 || static_cast<std::size_t>(count) >= rx_.size())
        return;
    const std::size_t fit = std::min(size, rx_.size() - static_cast<std::size_t>(count));
    std::memcpy(rx_.data() + count, data, fit);
    const std::size_t grown = std::min<std::size_t>(size, INT_MAX - count);
    received_.store(count + static_cast<int>(grown), std::memory_order_release);
}

bool LinkModule::SendFrame(std::size_t n) {
    port.FlushBuffers(true, true);
    return n <= tx_.size() && port.SendData(tx_.data(), n) == n;
}

std::span<const std::uint8_t> LinkModule::Reply() const {
    const int count = ReceivedCount();
    const std::span<const std::uint8_t> rx(rx_);
    return rx.first(std::min(static_cast<std::size_t>(std::max(count, 0)), rx.size()));
}

bool LinkModule::ExchangeRunning() const {
    std::lock_guard lock(exchangeMutex_);
    return current_ && !current_->Finished();
}

bool LinkModule::ExchangeBusy() const {
    std::lock_guard lock(exchangeMutex_);
    return BusyLocked();
}

bool LinkModule::BusyLocked() const {
    return current_ && !current_->Reported();
}

namespace {

// The thread of the exchange before the one starting: it has come to its final report and at
// most closes the port now. The new thread waits for it before it opens the port itself.
struct Predecessor {
    std::thread thread;

    explicit Predecessor(std::thread t) : thread(std::move(t)) {}
    Predecessor(Predecessor&&) = default;
    Predecessor& operator=(Predecessor&&) = default;
    // Only when the new thread never ran: the old one owns what it uses and ends by itself.
    ~Predecessor() {
        if (thread.joinable())
            thread.detach();
    }
    void Wait() {
        if (thread.joinable())
            thread.join();
    }
};

} // namespace

bool LinkModule::StartExchange(ExchangeMode mode, std::shared_ptr<ExchangeReportTarget> target,
                               int length) {
    std::lock_guard lock(exchangeMutex_);
    if (BusyLocked())
        return false;
    auto io = std::make_shared<Exchange>(*this, clock_, std::move(target));
    io->SetMode(mode);
    io->SetLength(length);
    // Not joined here: this may run inside the last exchange's final report, which waits for
    // its handler to return.
    Predecessor before(std::move(thread_));
    try {
        thread_ = std::thread(
            [io](Predecessor previous) {
                previous.Wait();
                LowerThreadPriority();
                io->Run();
            },
            std::move(before));
    } catch (const std::system_error&) {
        return false;
    }
    current_ = std::move(io);
    return true;
}

void LinkModule::StopExchange() {
    std::lock_guard lock(exchangeMutex_);
    if (current_)
        current_->RequestStop();
    if (thread_.joinable())
        thread_.join();
}

} // namespace tesmira
