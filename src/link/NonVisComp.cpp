#include "link/NonVisComp.h"

#include "link/ThreadPriority.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace tesmira {

TNonVisComp::TNonVisComp(PollTimer& timer, LinkClock& clock, std::unique_ptr<SerialBackend> backend)
    : rx_(kReceiveBufferSize), tx_(kTransmitBufferSize), comport(timer, clock, std::move(backend)),
      clock_(clock) {
    comport.SetPort(TPortNumber::pnCustom);
    comport.SetPortName("\\\\.\\COM1");
    comport.SetBaudRateValue(TDeviceIO::kConfigBaud);
    comport.SetDataBits(TDataBits::db8BITS);
    comport.SetStopBits(TStopBits::sb1BITS);
    comport.SetParity(TParity::ptNONE);
    comport.SetHwFlow(THwFlowControl::hfNONE);
    comport.SetSwFlow(TSwFlowControl::sfNONE);
    comport.SetInBufSize(1024);
    comport.SetOutBufSize(1024);
    comport.SetPacketSize(-1);
    comport.SetPacketTimeout(-1);
    comport.SetPacketMode(TPacketMode::pmDiscard);
    comport.SetPollingDelay(100);
    comport.SetEnableDTROnOpen(false);
    comport.SetOutputTimeout(100);
    comport.SetInputTimeout(100);
    comport.SetCheckLineStatus(false);
    comport.SetOnReceiveData([this](TCommPortDriver& sender, const std::uint8_t* data,
                                    std::size_t size) { comportReceiveData(sender, data, size); });
}

TNonVisComp::~TNonVisComp() {
    StopExchange();
    comport.Disconnect();
    comport.SetOnReceiveData(nullptr);
}

void TNonVisComp::ClearReceive() {
    std::lock_guard lock(rxMutex_);
    std::fill(rx_.begin(), rx_.end(), std::uint8_t{0});
    received_.store(0, std::memory_order_release);
}

void TNonVisComp::comportReceiveData(TCommPortDriver&, const std::uint8_t* data, std::size_t size) {
    std::lock_guard lock(rxMutex_);
    const int count = received_.load(std::memory_order_relaxed);
    if (!data || size == 0 || count < 0 || static_cast<std::size_t>(count) >= rx_.size())
        return;
    const std::size_t fit = std::min(size, rx_.size() - static_cast<std::size_t>(count));
    std::memcpy(rx_.data() + count, data, fit);
    const std::size_t grown = std::min<std::size_t>(size, INT_MAX - count);
    received_.store(count + static_cast<int>(grown), std::memory_order_release);
}

bool TNonVisComp::SendFrame(std::size_t n) {
    comport.FlushBuffers(true, true);
    return n <= tx_.size() && comport.SendData(tx_.data(), n) == n;
}

std::span<const std::uint8_t> TNonVisComp::Reply() const {
    const int count = ReceivedCount();
    const std::span<const std::uint8_t> rx(rx_);
    return rx.first(std::min(static_cast<std::size_t>(std::max(count, 0)), rx.size()));
}

bool TNonVisComp::ExchangeRunning() const {
    std::lock_guard lock(exchangeMutex_);
    return current_ && !current_->Finished();
}

bool TNonVisComp::ExchangeBusy() const {
    std::lock_guard lock(exchangeMutex_);
    return BusyLocked();
}

bool TNonVisComp::BusyLocked() const {
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

bool TNonVisComp::StartExchange(ExchangeMode mode, std::shared_ptr<ExchangeReportTarget> target,
                                int length) {
    std::lock_guard lock(exchangeMutex_);
    if (BusyLocked())
        return false;
    auto io = std::make_shared<TDeviceIO>(*this, clock_, std::move(target));
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

void TNonVisComp::StopExchange() {
    std::lock_guard lock(exchangeMutex_);
    if (current_)
        current_->RequestStop();
    if (thread_.joinable())
        thread_.join();
}

namespace {
std::atomic<TNonVisComp*> gDataModule{nullptr};
}

TNonVisComp& DataModule() {
    TNonVisComp* module = gDataModule.load(std::memory_order_acquire);
    if (!module) {
        std::fputs("tesmira: the link data module is used before it was installed\n", stderr);
        std::abort();
    }
    return *module;
}

void SetDataModule(TNonVisComp* module) {
    gDataModule.store(module, std::memory_order_release);
}

bool HasDataModule() {
    return gDataModule.load(std::memory_order_acquire) != nullptr;
}

} // namespace tesmira
