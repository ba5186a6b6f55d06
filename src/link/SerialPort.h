// The serial port: opened by name, sends with a time limit, polls for received bytes.
#pragma once

#include "link/LinkClock.h"
#include "link/LinkTap.h"
#include "link/PollTimer.h"
#include "link/SerialBackend.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tesmira {

// The ordinals of these enumerations are what the setters and the port work with; keep the order.
enum class PortNumber : std::uint8_t {
    Custom,
    Com1,
    Com2,
    Com3,
    Com4,
    Com5,
    Com6,
    Com7,
    Com8,
    Com9,
    Com10,
    Com11,
    Com12,
    Com13,
    Com14,
    Com15,
    Com16
};

// The standard rates by name; Custom means the rate in bits per second is used as it stands.
enum class StandardBaud : std::uint8_t {
    Custom,
    Baud110,
    Baud300,
    Baud600,
    Baud1200,
    Baud2400,
    Baud4800,
    Baud9600,
    Baud14400,
    Baud19200,
    Baud38400,
    Baud56000,
    Baud57600,
    Baud115200,
    Baud128000,
    Baud256000
};

enum class CharSize : std::uint8_t { Five, Six, Seven, Eight };
enum class StopBitCount : std::uint8_t { One, OneAndHalf, Two };
enum class ParityMode : std::uint8_t { None, Odd, Even, Mark, Space };
// RtsOn: no handshake, RTS raised while open.
enum class HardwareFlowMode : std::uint8_t { None, RtsOn, RtsCts };
enum class SoftwareFlowMode : std::uint8_t { None, XonXoff };

// Bits per second of each StandardBaud; 0 for Custom (BaudRateValue is used as it stands).
std::uint32_t BitsPerSecond(StandardBaud rate);

class SerialPort {
public:
    using ReceiveHandler =
        std::function<void(SerialPort& sender, const std::uint8_t* data, std::size_t size)>;

    static constexpr std::uint32_t kMinQueueSize = 128;
    static constexpr std::uint32_t kMaxQueueSize = 8192;
    static constexpr std::uint16_t kMinPollPeriodMs = 5;

    // The timer and the clock must outlive the driver.
    explicit SerialPort(PollTimer& timer, LinkClock& clock = SystemLinkClock(),
                        std::unique_ptr<SerialBackend> backend = MakeSerialBackend());
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Properties. Port, PortName, InputQueueSize and OutputQueueSize are ignored while the port is
    // open; the line settings take effect at once on an open port.
    PortNumber Port() const;
    void SetPort(PortNumber port);
    std::string PortName() const;
    void SetPortName(const std::string& name);
    StandardBaud BaudRate() const;
    void SetBaudRate(StandardBaud rate);
    std::uint32_t BaudRateValue() const;
    void SetBaudRateValue(std::uint32_t bitsPerSecond);
    CharSize DataBits() const;
    void SetDataBits(CharSize bits);
    StopBitCount StopBits() const;
    void SetStopBits(StopBitCount bits);
    ParityMode Parity() const;
    void SetParity(ParityMode parity);
    HardwareFlowMode HardwareFlow() const;
    void SetHardwareFlow(HardwareFlowMode flow);
    SoftwareFlowMode SoftwareFlow() const;
    void SetSoftwareFlow(SoftwareFlowMode flow);
    std::uint32_t InputQueueSize() const;
    void SetInputQueueSize(std::uint32_t size);
    std::uint32_t OutputQueueSize() const;
    void SetOutputQueueSize(std::uint32_t size);
    std::uint16_t PollPeriodMs() const;
    void SetPollPeriodMs(std::uint16_t ms);
    bool DtrOnOpen() const;
    void SetDtrOnOpen(bool on);
    std::uint16_t OutputTimeout() const;
    void SetOutputTimeout(std::uint16_t ms);
    bool CheckModemLines() const;
    void SetCheckModemLines(bool on);
    void SetReceiveHandler(ReceiveHandler handler);
    // Where each chunk written to the line and each chunk read from it is shown, stamped with the
    // driver's clock; null for none. The tap must outlive the driver or be taken away first.
    void SetTap(LinkTap* tap);

    // True when open, also when it already was. Opens PortName, applies the line settings (a
    // refusal closes the port again), sets the time-outs and starts the poll.
    bool Connect();
    // Stops the poll, discards what both queues still hold and closes the port; false when it was
    // not open. Output still queued is dropped rather than waited for: closing must not wait
    // for a long frame to drain. Once it returns, no poll delivers bytes of this session.
    bool Disconnect();
    bool Connected() const;
    // Why the last Connect could not open the port (Other when it opened).
    OpenFailure LastOpenFailure() const;
    bool ApplySettings();
    bool FlushBuffers(bool input, bool output);
    // Bytes written; short when the output made no progress for the time-out (counted from the
    // last progress), when sends were cancelled, or 0 when closed.
    std::size_t SendData(const std::uint8_t* data, std::size_t count);
    std::size_t SendData(const std::uint8_t* data, std::size_t count, std::uint32_t timeoutMs);
    // Ends a send under way at its next step and refuses sends until the next Connect, so that a
    // stop never waits for a long frame to go out. Any thread.
    void CancelSends();
    // OutputQueueSize minus the bytes in the output queue; -1 when closed or unreadable.
    std::int16_t OutputRoom();
    // Empty when closed, or when the port has no readable modem lines.
    ModemLines ModemLineStatus();

    // One receive poll: takes what waits, at most InputQueueSize bytes a read, and calls the
    // receive handler with each chunk. The timer calls it; a host may call it too.
    void Poll();

    // The line failed while open (the device went away): polls stop reading and sends stop at
    // once. Cleared by the next Connect.
    bool LineFailed() const;

private:
    template <typename T> T Locked(const T& field) const {
        std::lock_guard lock(mutex_);
        return field;
    }
    bool ApplySettingsLocked();
    LineSettings CurrentLineSettings() const;
    void ReapplyIfOpen();
    std::int16_t OutputRoomLocked();
    bool PollChunk(std::uint64_t session, std::uint32_t& waiting);

    PollTimer& timer_;
    LinkClock& clock_;
    std::unique_ptr<SerialBackend> backend_;

    // Guards every field below and every backend call. Held by the poll while it calls
    // the receive handler, so that Disconnect on another thread waits until a chunk of the closing
    // session has been delivered. Recursive: a handler may call back into the driver.
    mutable std::recursive_mutex mutex_;
    bool open_ = false;
    std::uint64_t session_ = 0; // counts opens, so a poll never reads a re-opened port
    std::atomic<bool> lineFailed_{false};
    std::atomic<bool> polling_{false};
    std::atomic<bool> sendsCancelled_{false};
    std::vector<std::uint8_t> readBuffer_;

    PortNumber port_ = PortNumber::Com2;
    std::string portName_ = "\\\\.\\COM2";
    StandardBaud baudRate_ = StandardBaud::Baud9600;
    std::uint32_t baudRateValue_ = 9600;
    CharSize dataBits_ = CharSize::Eight;
    StopBitCount stopBits_ = StopBitCount::One;
    ParityMode parity_ = ParityMode::None;
    HardwareFlowMode hardwareFlow_ = HardwareFlowMode::RtsOn;
    SoftwareFlowMode softwareFlow_ = SoftwareFlowMode::None;
    std::uint32_t inputQueueSize_ = 2048;
    std::uint32_t outputQueueSize_ = 2048;
    std::uint16_t pollPeriodMs_ = 50;
    bool dtrOnOpen_ = true;
    std::uint16_t outputTimeout_ = 500;
    bool checkModemLines_ = false;
    ReceiveHandler receiveHandler_;
    LinkTap* tap_ = nullptr;
};

} // namespace tesmira
