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

void TNonVisComp::SendFrame(std::size_t n) {
    comport.FlushBuffers(true, true);
    comport.SendData(tx_.data(), std::min(n, tx_.size()));
}

bool TNonVisComp::ExchangeBusy() const {
    std::lock_guard lock(exchangeMutex_);
    return BusyLocked();
}

bool TNonVisComp::BusyLocked() const {
    return running_.load(std::memory_order_acquire) && !(current_ && current_->Reported());
}

bool TNonVisComp::StartExchange(ExchangeMode mode, std::shared_ptr<ExchangeReportTarget> target,
                                int length) {
    std::lock_guard lock(exchangeMutex_);
    // An exchange that has made its last report is only closing the port: wait for that
    // rather than refuse a window that was just given its controls back.
    if (BusyLocked())
        return false;
    if (thread_.joinable())
        thread_.join();
    current_ = std::make_unique<TDeviceIO>(*this, clock_, std::move(target));
    current_->SetMode(mode);
    current_->SetLength(length);
    running_.store(true, std::memory_order_release);
    try {
        thread_ = std::thread([this, io = current_.get()] {
            LowerThreadPriority();
            io->Run();
            running_.store(false, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        running_.store(false, std::memory_order_release);
        return false;
    }
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
