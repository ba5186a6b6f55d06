// The device commands' link without an event loop: the port driver polled from a thread of its
// own, the link module and one exchange at a time, waited for on the command's thread, with the
// trace of every frame and the failures as the window words them.
#pragma once

#include "cli/Cli.h"
#include "link/FrameDecoder.h"
#include "link/LinkModule.h"
#include "link/ThreadPollTimer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace tesmira::cli {

// What a command stopped by Ctrl+C ends with, as a shell reports a program ended by SIGINT.
inline constexpr auto kInterrupted = static_cast<ExitStatus>(130);

// The final report of one exchange.
struct ExchangeEnd {
    ExchangeReport code = ExchangeReport::NoValidReply;
    int arg = 0;
    bool interrupted = false; // stopped by Ctrl+C before its final report
};

class DeviceLink {
public:
    // Points the port at `line.port`; throws CommandFailure (2) for a text that names no port on
    // this system.
    DeviceLink(const DeviceLine& line, CommandContext& context);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    std::span<std::uint8_t> TransmitBuffer() { return module_.TransmitBuffer(); }
    // The answer to the last exchange, bounded by the bytes received.
    std::span<const std::uint8_t> Reply() const { return module_.Reply(); }

    // Runs one exchange from the transmit buffer and waits for its final report. `onProgress`
    // runs on this thread between waits with the last progress percent and, when the trace or
    // the progress needs the tap, the last firmware block row seen. With `interruptible`, Ctrl+C
    // stops the exchange.
    using Progress = std::function<void(int percent, const TraceRow* block)>;
    ExchangeEnd Run(ExchangeMode mode, int length = 0, const Progress& onProgress = {},
                    bool interruptible = false);

    // Sends the frame of `length` bytes in the transmit buffer and waits for `success`; throws
    // the window's failure otherwise ("Нет связи с прибором", 4; the port's, 3).
    void SendFrame(ExchangeMode mode, std::size_t length, ExchangeReport success);

    // Listens to the line for the progress's firmware blocks, traced or not.
    void WatchBlocks() { module_.tap.Listen(true); }
    // The last firmware block the line carried in the last exchange; null before the first.
    const TraceRow* LastBlock() const { return haveBlock_ ? &lastBlock_ : nullptr; }

    // The failure of a final report: `text` (the window's status), the port's rights note, then
    // on its own line what the bytes suggest.
    CommandFailure Failure(ExitStatus status, const std::string& text, ExchangeMode mode,
                           ExchangeReport report) const;
    // "Невозможно открыть порт" with the note, exit 3.
    CommandFailure PortFailure(ExchangeMode mode) const;

private:
    // Prints the trace rows of what the tap queued; with `end`, also what is still pending.
    void DrainTap(bool end);

    CommandContext& context_;
    bool trace_;
    ThreadPollTimer timer_;
    LinkModule module_;
    FrameDecoder decoder_;
    TraceRow lastBlock_;
    bool haveBlock_ = false;
};

// The configurator's own backups folder: its application data folder and "backups" (on Linux
// $XDG_DATA_HOME or ~/.local/share, on Windows %APPDATA%, then Korvana/Tesmira). Empty when
// the system names no such folder.
std::filesystem::path DefaultBackupsFolder();

// While it lives, Ctrl+C (SIGINT, the console's Ctrl+C and Ctrl+Break) sets a flag instead of
// ending the program.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    static bool Requested();
};

// Identifies and reads the device on an open link, as ReadDevice does.
DeviceRead ReadDeviceOn(DeviceLink& link);

} // namespace tesmira::cli
