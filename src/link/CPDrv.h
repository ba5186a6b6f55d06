// TCommPortDriver: opens a serial port by name, sends with a time limit, polls for received bytes.
#pragma once

#include "link/LinkClock.h"
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
enum class TPortNumber : std::uint8_t {
    pnCustom,
    pnCOM1,
    pnCOM2,
    pnCOM3,
    pnCOM4,
    pnCOM5,
    pnCOM6,
    pnCOM7,
    pnCOM8,
    pnCOM9,
    pnCOM10,
    pnCOM11,
    pnCOM12,
    pnCOM13,
    pnCOM14,
    pnCOM15,
    pnCOM16
};

enum class TBaudRate : std::uint8_t {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};

enum class TDataBits : std::uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum class TStopBits : std::uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum class TParity : std::uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum class THwFlowControl : std::uint8_t { hfNONE, hfNONERTSON, hfRTSCTS };
enum class TSwFlowControl : std::uint8_t { sfNONE, sfXONXOFF };
enum class TPacketMode : std::uint8_t { pmDiscard, pmPass };

// Bits per second of each TBaudRate; 0 for brCustom (BaudRateValue is used as it stands).
std::uint32_t BaudRateBits(TBaudRate rate);

using TLineStatusSet = ModemLines;

class TCommPortDriver {
public:
    using TReceiveDataEvent =
        std::function<void(TCommPortDriver& sender, const std::uint8_t* data, std::size_t size)>;
    using TReceivePacketEvent =
        std::function<void(TCommPortDriver& sender, const std::uint8_t* packet, std::size_t size)>;

    static constexpr std::uint32_t kMinBufSize = 128;
    static constexpr std::uint32_t kMaxBufSize = 8192;
    static constexpr std::uint16_t kMinPollingDelay = 5;

    // The timer and the clock must outlive the driver.
    explicit TCommPortDriver(PollTimer& timer, LinkClock& clock = SystemLinkClock(),
                             std::unique_ptr<SerialBackend> backend = MakeSerialBackend());
    ~TCommPortDriver();
    TCommPortDriver(const TCommPortDriver&) = delete;
    TCommPortDriver& operator=(const TCommPortDriver&) = delete;

    // Properties. Port, PortName, InBufSize and OutBufSize are ignored while the port is open;
    // the line settings take effect at once on an open port.
    TPortNumber Port() const;
    void SetPort(TPortNumber port);
    std::string PortName() const;
    void SetPortName(const std::string& name);
    TBaudRate BaudRate() const;
    void SetBaudRate(TBaudRate rate);
    std::uint32_t BaudRateValue() const;
    void SetBaudRateValue(std::uint32_t bitsPerSecond);
    TDataBits DataBits() const;
    void SetDataBits(TDataBits bits);
    TStopBits StopBits() const;
    void SetStopBits(TStopBits bits);
    TParity Parity() const;
    void SetParity(TParity parity);
    THwFlowControl HwFlow() const;
    void SetHwFlow(THwFlowControl flow);
    TSwFlowControl SwFlow() const;
    void SetSwFlow(TSwFlowControl flow);
    std::uint32_t InBufSize() const;
    void SetInBufSize(std::uint32_t size);
    std::uint32_t OutBufSize() const;
    void SetOutBufSize(std::uint32_t size);
    std::uint16_t PollingDelay() const;
    void SetPollingDelay(std::uint16_t ms);
    bool EnableDTROnOpen() const;
    void SetEnableDTROnOpen(bool on);
    std::uint16_t OutputTimeout() const;
    void SetOutputTimeout(std::uint16_t ms);
    std::uint32_t InputTimeout() const; // stored only
    void SetInputTimeout(std::uint32_t ms);
    bool CheckLineStatus() const;
    void SetCheckLineStatus(bool on);
    void SetOnReceiveData(TReceiveDataEvent handler);

    // Packet delivery is not built: these are stored, and the poll always delivers plain chunks.
    std::int16_t PacketSize() const;
    void SetPacketSize(std::int16_t size);
    std::int32_t PacketTimeout() const;
    void SetPacketTimeout(std::int32_t ms);
    TPacketMode PacketMode() const;
    void SetPacketMode(TPacketMode mode);
    void SetOnReceivePacket(TReceivePacketEvent handler);

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
    std::size_t SendDataEx(const std::uint8_t* data, std::size_t count, std::uint32_t timeoutMs);
    // Ends a send under way at its next step and refuses sends until the next Connect, so that a
    // stop never waits for a long frame to go out. Any thread.
    void CancelSends();
    // OutBufSize minus the bytes in the output queue; -1 when closed or unreadable.
    std::int16_t OutFreeSpace();
    // Empty when closed, or when the port has no readable modem lines.
    TLineStatusSet GetLineStatus();

    // One receive poll: takes what waits, at most InBufSize bytes a read, and calls OnReceiveData
    // with each chunk. The timer calls it; a host may call it too.
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
    std::int16_t OutFreeSpaceLocked();
    bool PollChunk(std::uint64_t session, std::uint32_t& waiting);

    PollTimer& timer_;
    LinkClock& clock_;
    std::unique_ptr<SerialBackend> backend_;

    // Guards every field below and every backend call. Held by the poll while it calls
    // OnReceiveData, so that Disconnect on another thread waits until a chunk of the closing
    // session has been delivered. Recursive: a handler may call back into the driver.
    mutable std::recursive_mutex mutex_;
    bool open_ = false;
    std::uint64_t session_ = 0; // counts opens, so a poll never reads a re-opened port
    std::atomic<bool> lineFailed_{false};
    std::atomic<bool> polling_{false};
    std::atomic<bool> sendsCancelled_{false};
    std::vector<std::uint8_t> inBuf_;

    TPortNumber port_ = TPortNumber::pnCOM2;
    std::string portName_ = "\\\\.\\COM2";
    TBaudRate baudRate_ = TBaudRate::br9600;
    std::uint32_t baudRateValue_ = 9600;
    TDataBits dataBits_ = TDataBits::db8BITS;
    TStopBits stopBits_ = TStopBits::sb1BITS;
    TParity parity_ = TParity::ptNONE;
    THwFlowControl hwFlow_ = THwFlowControl::hfNONERTSON;
    TSwFlowControl swFlow_ = TSwFlowControl::sfNONE;
    std::uint32_t inBufSize_ = 2048;
    std::uint32_t outBufSize_ = 2048;
    std::int16_t packetSize_ = -1;
    std::int32_t packetTimeout_ = -1;
    TPacketMode packetMode_ = TPacketMode::pmDiscard;
    std::uint16_t pollingDelay_ = 50;
    bool enableDtrOnOpen_ = true;
    std::uint16_t outputTimeout_ = 500;
    std::uint32_t inputTimeout_ = 200;
    bool checkLineStatus_ = false;
    TReceiveDataEvent onReceiveData_;
    TReceivePacketEvent onReceivePacket_;
};

} // namespace tesmira
