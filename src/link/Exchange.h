// One exchange with the device on its own thread, reported step by step.
#pragma once

#include "link/LinkClock.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace tesmira {

class LinkModule;

// The report codes; the values are those the windows know.
enum class ExchangeReport : int {
    Identified = 0, // argument: the device type 1..35
    Written = 1,    // a write was answered by a valid frame
    PortOpened = 2,
    ReplyStarted = 3,     // the first bytes of a reply arrived
    FileCommandDone = 4,  // a file command was answered by a valid frame
    FirmwareProgress = 5, // argument: percent; posted below 100
    PortFailed = 6,
    NoValidReply = 7, // also: a firmware block not accepted
    Unsupported = 8,  // a valid reply of a type code 0 or above 35
};

enum class ExchangeMode : std::uint8_t { Read = 0, Write = 1, Firmware = 2, FileCommand = 3 };

// Where an exchange reports. Report is called on the exchange thread.
class ExchangeReportTarget {
public:
    virtual ~ExchangeReportTarget() = default;

    // posted == false: return only once the report has been handled. posted == true (firmware
    // progress below 100): queue it and return.
    virtual void Report(ExchangeReport code, int arg, bool posted) = 0;

    // The exchange is being stopped (program exit), maybe from another thread while a report is
    // waiting: from now on Report returns at once, delivered or not.
    virtual void AbandonReports() {}
};

class Exchange {
public:
    // The waits of the exchange: rounds of a sleep, each round checking the received count; a
    // wait also ends once the clock has moved on by all of its rounds.
    static constexpr int kFirstByteRounds = 200; // 10 s for the first bytes of a reply
    static constexpr int kRestRounds = 30;       // 1.5 s more for the rest
    static constexpr std::uint32_t kReplyStepMs = 50;
    // 5 s for the answer to a firmware block, looked for every millisecond: the answer is the
    // one wait of every block, so a coarser step would add to each of hundreds of blocks.
    static constexpr int kAckRounds = 5000;
    static constexpr std::uint32_t kAckStepMs = 1;
    // The receive poll while a firmware transfer runs, so that an answer reaches the receive
    // buffer within a few milliseconds rather than the configuration exchanges' 100.
    static constexpr std::uint16_t kFirmwarePollMs = 5;
    static constexpr std::uint32_t kConfigBaud = 9600;
    static constexpr std::uint32_t kFirmwareBaud = 115200;

    // `link` and `clock` must outlive the object; the target is held until it is destroyed.
    Exchange(LinkModule& link, LinkClock& clock, std::shared_ptr<ExchangeReportTarget> target);

    void SetMode(ExchangeMode mode);
    // Bytes of the transmit buffer to send: the frame (write, file command) or the image
    // (firmware); not used by a read.
    void SetLength(int length);

    // The thread's whole work: the body, then the termination step.
    void Run() {
        Perform();
        Terminate();
        finished_ = true;
    }
    // Ends the waits at their next round and a send at its next step, and drops every later
    // report; tells the target to stop delivering. Any thread.
    void RequestStop();
    bool StopRequested() const { return stop_.load(); }
    // The last report is being made or has been made; what is left is closing the port. Set
    // before that report is delivered, so a window that has handled it can start the next
    // exchange at once.
    bool Reported() const { return reported_.load(); }
    // The thread's work is over, the port closed.
    bool Finished() const { return finished_.load(); }

private:
    // Opens the port, reports, runs the mode and closes the port.
    void Perform();
    // Closes the port once more; nothing when it is closed.
    void Terminate();

    // The report an exchange ends with.
    struct Outcome {
        ExchangeReport code;
        int arg = 0;
    };

    void Report(ExchangeReport code, int arg = 0);
    void FinalReport(Outcome outcome);
    void PostProgress(int percent);
    // What is left of a wait: its sleeps and the clock time they stand for. A sleep may last
    // longer than asked (a loaded machine, a coarse system timer), so the time bounds the wait too.
    struct WaitBudget {
        int rounds;
        std::uint64_t deadlineMs;
    };
    WaitBudget Budget(int rounds, std::uint32_t stepMs);
    // Checks `done`; while it does not hold sleeps `stepMs` and checks again, taking from
    // `budget`. False when the budget runs out, a stop is asked for or the line failed.
    bool WaitFor(const std::function<bool()>& done, WaitBudget& budget, std::uint32_t stepMs);
    // False when fewer bytes went out than asked (a stop, or a line that takes nothing more).
    bool SendAndClear(std::size_t n);
    bool ReceiveReply();
    Outcome ReadDevice();
    Outcome SendFrame(ExchangeReport success);
    Outcome TransferFirmware();
    std::size_t ImageLength();
    // The size of the firmware block at `offset` of the image, length field included; 0 when it
    // would run past the image or the buffer.
    std::size_t BlockAt(std::size_t offset);
    // The blocks the image holds up to the first that runs past it.
    std::size_t CountBlocks();
    bool WaitAck();

    LinkModule& link_;
    LinkClock& clock_;
    std::shared_ptr<ExchangeReportTarget> target_;
    ExchangeMode mode_ = ExchangeMode::Read;
    int length_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> reported_{false};
    std::atomic<bool> finished_{false};
};

} // namespace tesmira
