#include "link/CPDrv.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tesmira {

namespace {

constexpr std::array<std::uint32_t, 16> kBaudRates = {0,     110,    300,    600,   1200,  2400,
                                                      4800,  9600,   14400,  19200, 38400, 56000,
                                                      57600, 115200, 128000, 256000};

template <typename E> constexpr std::uint8_t Ordinal(E value) {
    return static_cast<std::uint8_t>(value);
}

} // namespace

std::uint32_t BaudRateBits(TBaudRate rate) {
    const auto i = Ordinal(rate);
    return i < kBaudRates.size() ? kBaudRates[i] : 0;
}

TCommPortDriver::TCommPortDriver(PollTimer& timer, LinkClock& clock,
                                 std::unique_ptr<SerialBackend> backend)
    : timer_(timer), clock_(clock), backend_(std::move(backend)) {
    inBuf_.assign(inBufSize_, 0);
}

TCommPortDriver::~TCommPortDriver() {
    Disconnect();
    timer_.Stop(); // also a tick left over from a restart while closed
}

// --- properties ---

TPortNumber TCommPortDriver::Port() const {
    return Locked(port_);
}
std::string TCommPortDriver::PortName() const {
    return Locked(portName_);
}
TBaudRate TCommPortDriver::BaudRate() const {
    return Locked(baudRate_);
}
std::uint32_t TCommPortDriver::BaudRateValue() const {
    return Locked(baudRateValue_);
}
TDataBits TCommPortDriver::DataBits() const {
    return Locked(dataBits_);
}
TStopBits TCommPortDriver::StopBits() const {
    return Locked(stopBits_);
}
TParity TCommPortDriver::Parity() const {
    return Locked(parity_);
}
THwFlowControl TCommPortDriver::HwFlow() const {
    return Locked(hwFlow_);
}
TSwFlowControl TCommPortDriver::SwFlow() const {
    return Locked(swFlow_);
}
std::uint32_t TCommPortDriver::InBufSize() const {
    return Locked(inBufSize_);
}
std::uint32_t TCommPortDriver::OutBufSize() const {
    return Locked(outBufSize_);
}
std::uint16_t TCommPortDriver::PollingDelay() const {
    return Locked(pollingDelay_);
}
bool TCommPortDriver::EnableDTROnOpen() const {
    return Locked(enableDtrOnOpen_);
}
std::uint16_t TCommPortDriver::OutputTimeout() const {
    return Locked(outputTimeout_);
}
std::uint32_t TCommPortDriver::InputTimeout() const {
    return Locked(inputTimeout_);
}
bool TCommPortDriver::CheckLineStatus() const {
    return Locked(checkLineStatus_);
}
std::int16_t TCommPortDriver::PacketSize() const {
    return Locked(packetSize_);
}
std::int32_t TCommPortDriver::PacketTimeout() const {
    return Locked(packetTimeout_);
}
TPacketMode TCommPortDriver::PacketMode() const {
    return Locked(packetMode_);
}
bool TCommPortDriver::Connected() const {
    return Locked(open_);
}
OpenFailure TCommPortDriver::LastOpenFailure() const {
    std::lock_guard lock(mutex_);
    return backend_->LastOpenFailure();
}

void TCommPortDriver::SetPort(TPortNumber port) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    port_ = port;
    if (port != TPortNumber::pnCustom)
        portName_ = "\\\\.\\COM" + std::to_string(Ordinal(port));
}

void TCommPortDriver::SetPortName(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    portName_ = name;
    port_ = TPortNumber::pnCustom;
}

void TCommPortDriver::SetBaudRate(TBaudRate rate) {
    std::lock_guard lock(mutex_);
    baudRate_ = rate;
    if (rate != TBaudRate::brCustom)
        baudRateValue_ = BaudRateBits(rate);
    ReapplyIfOpen();
}

void TCommPortDriver::SetBaudRateValue(std::uint32_t bitsPerSecond) {
    std::lock_guard lock(mutex_);
    baudRateValue_ = bitsPerSecond;
    baudRate_ = TBaudRate::brCustom;
    ReapplyIfOpen();
}

void TCommPortDriver::SetDataBits(TDataBits bits) {
    std::lock_guard lock(mutex_);
    dataBits_ = bits;
    ReapplyIfOpen();
}

void TCommPortDriver::SetStopBits(TStopBits bits) {
    std::lock_guard lock(mutex_);
    stopBits_ = bits;
    ReapplyIfOpen();
}

void TCommPortDriver::SetParity(TParity parity) {
    std::lock_guard lock(mutex_);
    parity_ = parity;
    ReapplyIfOpen();
}

void TCommPortDriver::SetHwFlow(THwFlowControl flow) {
    std::lock_guard lock(mutex_);
    hwFlow_ = flow;
    ReapplyIfOpen();
}

void TCommPortDriver::SetSwFlow(TSwFlowControl flow) {
    std::lock_guard lock(mutex_);
    swFlow_ = flow;
    ReapplyIfOpen();
}

void TCommPortDriver::SetInBufSize(std::uint32_t size) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    inBufSize_ = std::clamp(size, kMinBufSize, kMaxBufSize);
    inBuf_.assign(inBufSize_, 0);
}

void TCommPortDriver::SetOutBufSize(std::uint32_t size) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    outBufSize_ = std::clamp(size, kMinBufSize, kMaxBufSize);
}

void TCommPortDriver::SetPollingDelay(std::uint16_t ms) {
    std::uint16_t period = 0;
    {
        std::lock_guard lock(mutex_);
        pollingDelay_ = std::max(ms, kMinPollingDelay);
        if (!open_)
            return;
        period = pollingDelay_;
    }
    // Outside the lock: a tick holds the timer while it waits for the driver.
    timer_.Start(period, [this] { Poll(); });
}

void TCommPortDriver::SetEnableDTROnOpen(bool on) {
    std::lock_guard lock(mutex_);
    enableDtrOnOpen_ = on;
}

void TCommPortDriver::SetOutputTimeout(std::uint16_t ms) {
    std::lock_guard lock(mutex_);
    outputTimeout_ = ms;
}

void TCommPortDriver::SetInputTimeout(std::uint32_t ms) {
    std::lock_guard lock(mutex_);
    inputTimeout_ = ms;
}

void TCommPortDriver::SetCheckLineStatus(bool on) {
    std::lock_guard lock(mutex_);
    checkLineStatus_ = on;
}

void TCommPortDriver::SetOnReceiveData(TReceiveDataEvent handler) {
    std::lock_guard lock(mutex_);
    onReceiveData_ = std::move(handler);
}

void TCommPortDriver::SetPacketSize(std::int16_t size) {
    std::lock_guard lock(mutex_);
    packetSize_ = size;
}

void TCommPortDriver::SetPacketTimeout(std::int32_t ms) {
    std::lock_guard lock(mutex_);
    packetTimeout_ = ms;
}

void TCommPortDriver::SetPacketMode(TPacketMode mode) {
    std::lock_guard lock(mutex_);
    packetMode_ = mode;
}

void TCommPortDriver::SetOnReceivePacket(TReceivePacketEvent handler) {
    std::lock_guard lock(mutex_);
    onReceivePacket_ = std::move(handler);
}

// --- operations ---

LineSettings TCommPortDriver::CurrentLineSettings() const {
    LineSettings s;
    s.baudRate = baudRateValue_;
    s.byteSize = static_cast<std::uint8_t>(Ordinal(dataBits_) + 5);
    s.parity = Ordinal(parity_);
    s.stopBits = Ordinal(stopBits_);
    s.dtrOn = enableDtrOnOpen_;
    s.rts = hwFlow_ == THwFlowControl::hfNONERTSON ? LineSettings::Rts::On
            : hwFlow_ == THwFlowControl::hfRTSCTS  ? LineSettings::Rts::Handshake
                                                   : LineSettings::Rts::Off;
    s.xonXoff = swFlow_ == TSwFlowControl::sfXONXOFF;
    s.xonLimit = s.xoffLimit = static_cast<std::uint16_t>(inBufSize_ / 4);
    return s;
}

bool TCommPortDriver::ApplySettings() {
    std::lock_guard lock(mutex_);
    return ApplySettingsLocked();
}

bool TCommPortDriver::ApplySettingsLocked() {
    return open_ && backend_->SetLine(CurrentLineSettings()) && backend_->Purge(true, true) &&
           backend_->SetQueueSizes(inBufSize_, outBufSize_);
}

void TCommPortDriver::ReapplyIfOpen() {
    if (open_)
        ApplySettingsLocked(); // a refused change leaves the port as it was
}

bool TCommPortDriver::Connect() {
    std::uint16_t period = 0;
    {
        std::lock_guard lock(mutex_);
        if (open_)
            return true;
        if (!backend_->Open(portName_))
            return false;
        open_ = true;
        if (!ApplySettingsLocked()) {
            backend_->Close();
            open_ = false;
            return false;
        }
        backend_->SetTimeouts();
        ++session_;
        lineFailed_ = false;
        sendsCancelled_ = false;
        period = pollingDelay_;
    }
    timer_.Start(period, [this] { Poll(); });
    return true;
}

bool TCommPortDriver::Disconnect() {
    if (!Connected())
        return false;
    timer_.Stop();
    std::lock_guard lock(mutex_); // waits for a poll that is delivering a chunk
    if (!open_)
        return false;
    backend_->Purge(true, true);
    backend_->Close();
    open_ = false;
    ++session_;
    return true;
}

void TCommPortDriver::CancelSends() {
    sendsCancelled_ = true;
}

bool TCommPortDriver::FlushBuffers(bool input, bool output) {
    std::lock_guard lock(mutex_);
    return open_ && backend_->Purge(input, output);
}

std::size_t TCommPortDriver::SendData(const std::uint8_t* data, std::size_t count) {
    return SendDataEx(data, count, OutputTimeout());
}

std::size_t TCommPortDriver::SendDataEx(const std::uint8_t* data, std::size_t count,
                                        std::uint32_t timeoutMs) {
    std::size_t total = 0;
    std::uint64_t lastProgress = clock_.NowMs();
    while (data && total < count && !sendsCancelled_) {
        std::ptrdiff_t wrote = 0;
        {
            std::lock_guard lock(mutex_);
            if (!open_ || lineFailed_)
                break;
            const std::int16_t free = OutFreeSpaceLocked();
            if (lineFailed_)
                break;
            if (free > 0) {
                ModemLines lines;
                if (checkLineStatus_ && (!backend_->ModemStatus(lines) || lines.empty()))
                    break;
                const auto chunk = std::min(count - total, static_cast<std::size_t>(free));
                wrote = backend_->Write(data + total, chunk);
                if (wrote < 0) {
                    lineFailed_ = true; // no point retrying a line that has gone
                    break;
                }
            }
        }
        if (wrote > 0) {
            total += static_cast<std::size_t>(wrote);
            lastProgress = clock_.NowMs();
            continue;
        }
        if (clock_.NowMs() - lastProgress > timeoutMs)
            break;
        clock_.SleepMs(1); // a short pause rather than a spin while the queue drains
    }
    return total;
}

std::int16_t TCommPortDriver::OutFreeSpace() {
    std::lock_guard lock(mutex_);
    return OutFreeSpaceLocked();
}

std::int16_t TCommPortDriver::OutFreeSpaceLocked() {
    QueueCounts counts;
    if (!open_)
        return -1;
    if (!backend_->Counts(counts)) {
        lineFailed_ = true;
        return -1;
    }
    const std::int64_t free = std::int64_t{outBufSize_} - counts.output;
    return static_cast<std::int16_t>(std::max<std::int64_t>(free, -1));
}

TLineStatusSet TCommPortDriver::GetLineStatus() {
    std::lock_guard lock(mutex_);
    ModemLines lines;
    if (!open_ || !backend_->ModemStatus(lines))
        return {};
    return lines;
}

bool TCommPortDriver::LineFailed() const {
    return lineFailed_.load();
}

void TCommPortDriver::Poll() {
    if (polling_.exchange(true))
        return; // a poll is under way (a handler's nested call, or another thread)
    struct Done {
        std::atomic<bool>& flag;
        ~Done() { flag = false; }
    } done{polling_};

    std::lock_guard lock(mutex_);
    if (!open_ || lineFailed_)
        return;
    QueueCounts counts;
    if (!backend_->Counts(counts)) {
        lineFailed_ = true;
        return;
    }
    // Only what waited when the poll began, so a steady stream cannot hold the poll forever.
    std::uint32_t waiting = counts.input;
    const std::uint64_t session = session_;
    while (waiting > 0 && PollChunk(session, waiting)) {
    }
}

bool TCommPortDriver::PollChunk(std::uint64_t session, std::uint32_t& waiting) {
    const std::size_t want = std::min<std::size_t>(waiting, inBuf_.size());
    const std::ptrdiff_t got = backend_->Read(inBuf_.data(), want);
    if (got < 0) {
        lineFailed_ = true;
        return false;
    }
    if (got == 0)
        return false;
    waiting -= static_cast<std::uint32_t>(std::min<std::size_t>(waiting, got));
    if (onReceiveData_) {
        const TReceiveDataEvent handler = onReceiveData_; // it may replace itself
        handler(*this, inBuf_.data(), static_cast<std::size_t>(got));
    }
    return open_ && session_ == session && !lineFailed_;
}

} // namespace tesmira
