#include "link/SerialPort.h"

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

std::uint32_t BitsPerSecond(StandardBaud rate) {
    const auto i = Ordinal(rate);
    return i < kBaudRates.size() ? kBaudRates[i] : 0;
}

SerialPort::SerialPort(PollTimer& timer, LinkClock& clock, std::unique_ptr<SerialBackend> backend)
    : timer_(timer), clock_(clock), backend_(std::move(backend)) {
    readBuffer_.assign(inputQueueSize_, 0);
}

SerialPort::~SerialPort() {
    Disconnect();
    timer_.Stop(); // also a tick left over from a restart while closed
}

// --- properties ---

PortNumber SerialPort::Port() const {
    return Locked(port_);
}
std::string SerialPort::PortName() const {
    return Locked(portName_);
}
StandardBaud SerialPort::BaudRate() const {
    return Locked(baudRate_);
}
std::uint32_t SerialPort::BaudRateValue() const {
    return Locked(baudRateValue_);
}
CharSize SerialPort::DataBits() const {
    return Locked(dataBits_);
}
StopBitCount SerialPort::StopBits() const {
    return Locked(stopBits_);
}
ParityMode SerialPort::Parity() const {
    return Locked(parity_);
}
HardwareFlowMode SerialPort::HardwareFlow() const {
    return Locked(hardwareFlow_);
}
SoftwareFlowMode SerialPort::SoftwareFlow() const {
    return Locked(softwareFlow_);
}
std::uint32_t SerialPort::InputQueueSize() const {
    return Locked(inputQueueSize_);
}
std::uint32_t SerialPort::OutputQueueSize() const {
    return Locked(outputQueueSize_);
}
std::uint16_t SerialPort::PollPeriodMs() const {
    return Locked(pollPeriodMs_);
}
bool SerialPort::DtrOnOpen() const {
    return Locked(dtrOnOpen_);
}
std::uint16_t SerialPort::OutputTimeout() const {
    return Locked(outputTimeout_);
}
bool SerialPort::CheckModemLines() const {
    return Locked(checkModemLines_);
}
bool SerialPort::Connected() const {
    return Locked(open_);
}
OpenFailure SerialPort::LastOpenFailure() const {
    std::lock_guard lock(mutex_);
    return backend_->LastOpenFailure();
}

void SerialPort::SetPort(PortNumber port) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    port_ = port;
    if (port != PortNumber::Custom)
        portName_ = "\\\\.\\COM" + std::to_string(Ordinal(port));
}

void SerialPort::SetPortName(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    portName_ = name;
    port_ = PortNumber::Custom;
}

void SerialPort::SetBaudRate(StandardBaud rate) {
    std::lock_guard lock(mutex_);
    baudRate_ = rate;
    if (rate != StandardBaud::Custom)
        baudRateValue_ = BitsPerSecond(rate);
    ReapplyIfOpen();
}

void SerialPort::SetBaudRateValue(std::uint32_t bitsPerSecond) {
    std::lock_guard lock(mutex_);
    baudRateValue_ = bitsPerSecond;
    baudRate_ = StandardBaud::Custom;
    ReapplyIfOpen();
}

void SerialPort::SetDataBits(CharSize bits) {
    std::lock_guard lock(mutex_);
    dataBits_ = bits;
    ReapplyIfOpen();
}

void SerialPort::SetStopBits(StopBitCount bits) {
    std::lock_guard lock(mutex_);
    stopBits_ = bits;
    ReapplyIfOpen();
}

void SerialPort::SetParity(ParityMode parity) {
    std::lock_guard lock(mutex_);
    parity_ = parity;
    ReapplyIfOpen();
}

void SerialPort::SetHardwareFlow(HardwareFlowMode flow) {
    std::lock_guard lock(mutex_);
    hardwareFlow_ = flow;
    ReapplyIfOpen();
}

void SerialPort::SetSoftwareFlow(SoftwareFlowMode flow) {
    std::lock_guard lock(mutex_);
    softwareFlow_ = flow;
    ReapplyIfOpen();
}

void SerialPort::SetInputQueueSize(std::uint32_t size) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    inputQueueSize_ = std::clamp(size, kMinQueueSize, kMaxQueueSize);
    readBuffer_.assign(inputQueueSize_, 0);
}

void SerialPort::SetOutputQueueSize(std::uint32_t size) {
    std::lock_guard lock(mutex_);
    if (open_)
        return;
    outputQueueSize_ = std::clamp(size, kMinQueueSize, kMaxQueueSize);
}

void SerialPort::SetPollPeriodMs(std::uint16_t ms) {
    std::uint16_t period = 0;
    {
        std::lock_guard lock(mutex_);
        pollPeriodMs_ = std::max(ms, kMinPollPeriodMs);
        if (!open_)
            return;
        period = pollPeriodMs_;
    }
    // Outside the lock: a tick holds the timer while it waits for the driver.
    timer_.Start(period, [this] { Poll(); });
}

void SerialPort::SetDtrOnOpen(bool on) {
    std::lock_guard lock(mutex_);
    dtrOnOpen_ = on;
}

void SerialPort::SetOutputTimeout(std::uint16_t ms) {
    std::lock_guard lock(mutex_);
    outputTimeout_ = ms;
}

void SerialPort::SetCheckModemLines(bool on) {
    std::lock_guard lock(mutex_);
    checkModemLines_ = on;
}

void SerialPort::SetReceiveHandler(ReceiveHandler handler) {
    std::lock_guard lock(mutex_);
    receiveHandler_ = std::move(handler);
}

void SerialPort::SetTap(LinkTap* tap) {
    std::lock_guard lock(mutex_);
    tap_ = tap;
}

// --- operations ---

LineSettings SerialPort::CurrentLineSettings() const {
    LineSettings s;
    s.baudRate = baudRateValue_;
    s.byteSize = static_cast<std::uint8_t>(Ordinal(dataBits_) + 5);
    s.parity = Ordinal(parity_);
    s.stopBits = Ordinal(stopBits_);
    s.dtrOn = dtrOnOpen_;
    s.rts = hardwareFlow_ == HardwareFlowMode::RtsOn    ? LineSettings::Rts::On
            : hardwareFlow_ == HardwareFlowMode::RtsCts ? LineSettings::Rts::Handshake
                                                        : LineSettings::Rts::Off;
    s.xonXoff = softwareFlow_ == SoftwareFlowMode::XonXoff;
    s.xonLimit = s.xoffLimit = static_cast<std::uint16_t>(inputQueueSize_ / 4);
    return s;
}

bool SerialPort::ApplySettings() {
    std::lock_guard lock(mutex_);
    return ApplySettingsLocked();
}

bool SerialPort::ApplySettingsLocked() {
    return open_ && backend_->SetLine(CurrentLineSettings()) && backend_->Purge(true, true) &&
           backend_->SetQueueSizes(inputQueueSize_, outputQueueSize_);
}

void SerialPort::ReapplyIfOpen() {
    if (open_)
        ApplySettingsLocked(); // a refused change leaves the port as it was
}

bool SerialPort::Connect() {
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
        period = pollPeriodMs_;
    }
    timer_.Start(period, [this] { Poll(); });
    return true;
}

bool SerialPort::Disconnect() {
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

void SerialPort::CancelSends() {
    sendsCancelled_ = true;
}

bool SerialPort::FlushBuffers(bool input, bool output) {
    std::lock_guard lock(mutex_);
    return open_ && backend_->Purge(input, output);
}

std::size_t SerialPort::SendData(const std::uint8_t* data, std::size_t count) {
    return SendData(data, count, OutputTimeout());
}

std::size_t SerialPort::SendData(const std::uint8_t* data, std::size_t count,
                                 std::uint32_t timeoutMs) {
    std::size_t total = 0;
    std::uint64_t lastProgress = clock_.NowMs();
    while (data && total < count && !sendsCancelled_) {
        std::ptrdiff_t wrote = 0;
        {
            std::lock_guard lock(mutex_);
            if (!open_ || lineFailed_)
                break;
            const std::int16_t free = OutputRoomLocked();
            if (lineFailed_)
                break;
            if (free > 0) {
                ModemLines lines;
                if (checkModemLines_ && (!backend_->ModemStatus(lines) || lines.empty()))
                    break;
                const auto chunk = std::min(count - total, static_cast<std::size_t>(free));
                wrote = backend_->Write(data + total, chunk);
                if (wrote < 0) {
                    lineFailed_ = true; // no point retrying a line that has gone
                    break;
                }
                if (tap_ && wrote > 0)
                    tap_->RecordBytes(TapEventKind::Sent, clock_.NowMs(), data + total,
                                      static_cast<std::size_t>(wrote));
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

std::int16_t SerialPort::OutputRoom() {
    std::lock_guard lock(mutex_);
    return OutputRoomLocked();
}

std::int16_t SerialPort::OutputRoomLocked() {
    QueueCounts counts;
    if (!open_)
        return -1;
    if (!backend_->Counts(counts)) {
        lineFailed_ = true;
        return -1;
    }
    const std::int64_t free = std::int64_t{outputQueueSize_} - counts.output;
    return static_cast<std::int16_t>(std::max<std::int64_t>(free, -1));
}

ModemLines SerialPort::ModemLineStatus() {
    std::lock_guard lock(mutex_);
    ModemLines lines;
    if (!open_ || !backend_->ModemStatus(lines))
        return {};
    return lines;
}

bool SerialPort::LineFailed() const {
    return lineFailed_.load();
}

void SerialPort::Poll() {
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

bool SerialPort::PollChunk(std::uint64_t session, std::uint32_t& waiting) {
    const std::size_t want = std::min<std::size_t>(waiting, readBuffer_.size());
    const std::ptrdiff_t got = backend_->Read(readBuffer_.data(), want);
    if (got < 0) {
        lineFailed_ = true;
        return false;
    }
    if (got == 0)
        return false;
    waiting -= static_cast<std::uint32_t>(std::min<std::size_t>(waiting, got));
    if (tap_)
        tap_->RecordBytes(TapEventKind::Received, clock_.NowMs(), readBuffer_.data(),
                          static_cast<std::size_t>(got));
    if (receiveHandler_) {
        const ReceiveHandler handler = receiveHandler_; // it may replace itself
        handler(*this, readBuffer_.data(), static_cast<std::size_t>(got));
    }
    return open_ && session_ == session && !lineFailed_;
}

} // namespace tesmira
