// The link module: the serial port, the link buffers and the one place exchanges start.
#pragma once

#include "link/Exchange.h"
#include "link/Frames.h"
#include "link/LinkTap.h"
#include "link/SerialPort.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace tesmira {

class LinkModule {
    // Declared before port, so they outlive its last poll.
    std::vector<std::uint8_t> rx_;
    std::vector<std::uint8_t> tx_;
    std::atomic<int> received_{0};
    std::mutex rxMutex_; // between clearing and appending; readers use the count alone

public:
    // What passes the line, for one listener (the link monitor, a trace); declared before the
    // port, which records into it.
    LinkTap tap;

    // `timer` (the poll's) and `clock` must outlive the module.
    explicit LinkModule(PollTimer& timer, LinkClock& clock = SystemLinkClock(),
                        std::unique_ptr<SerialBackend> backend = MakeSerialBackend());
    // Stops a running exchange and waits for its thread.
    ~LinkModule();
    LinkModule(const LinkModule&) = delete;
    LinkModule& operator=(const LinkModule&) = delete;

    // PortName "\\.\COM1", 9600 baud 8N1, no flow control, DTR off, 1024-byte queues, a 100 ms
    // poll and a 100 ms output time-out; the port hands what it receives to AppendReceived.
    SerialPort port;

    // Received count 0 and the whole receive buffer zero.
    void ClearReceive();
    // Appends what fits below the buffer's end; the count grows by the whole chunk, so a reply
    // longer than the buffer still counts as too long. At the end of the buffer a chunk is
    // dropped.
    void AppendReceived(const std::uint8_t* data, std::size_t size);
    // Flushes both queues, then sends the first n bytes of the transmit buffer. False when fewer
    // went out (a stop, a line that took nothing for the output time-out, or n past the buffer).
    bool SendFrame(std::size_t n);

    // Bytes received since the last ClearReceive (may exceed the buffer, see above). Read it
    // before the bytes: every byte below it is in the buffer.
    int ReceivedCount() const { return received_.load(std::memory_order_acquire); }
    std::span<const std::uint8_t> ReceiveBuffer() const { return rx_; }
    // The bytes received since the last ClearReceive, no further than the buffer: after a reply
    // the exchange accepted, exactly its frame. What an editor copies out of a reply comes from
    // here, bounded again by the frame's own length field.
    std::span<const std::uint8_t> Reply() const;
    std::span<std::uint8_t> TransmitBuffer() { return tx_; }

    // Starts an exchange on its own thread at the lowest priority, after the caller has filled
    // the transmit buffer. False, and nothing started, while another exchange is busy. One that
    // is making or has made its final report may still be closing the port: the new exchange's
    // thread waits for that before it opens the port, so a start from inside that report's
    // handler neither deadlocks nor is refused. The target is kept until the exchange ends.
    bool StartExchange(ExchangeMode mode, std::shared_ptr<ExchangeReportTarget> target,
                       int length = 0);
    // The last exchange started has not ended yet (it may be only closing the port).
    bool ExchangeRunning() const;
    // An exchange runs and has not come to its final report yet: it holds the port and may still
    // send from the transmit buffer. One that has is only closing the port, so a window may fill
    // the buffer and start the next exchange.
    bool ExchangeBusy() const;
    // Asks a running exchange to stop (its waits end at their next round, its target is told to
    // abandon reports) and waits for its thread to end. Nothing when none runs.
    void StopExchange();

private:
    bool BusyLocked() const;

    LinkClock& clock_;
    mutable std::mutex exchangeMutex_;
    // Shared with its thread, which may outlive the module's reference when a later exchange
    // replaces it while it still closes the port.
    std::shared_ptr<Exchange> current_;
    // The thread of current_; it joins the thread of the exchange before it first.
    std::thread thread_;
};

} // namespace tesmira
