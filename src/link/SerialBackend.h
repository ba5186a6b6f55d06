// The platform's serial port as the driver uses it: one call for each platform call it needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tesmira {

// The line settings the driver asks for, in the platform-neutral form of a device control block.
struct LineSettings {
    enum class Rts : std::uint8_t { Off, On, Handshake };

    std::uint32_t baudRate = 9600;
    std::uint8_t byteSize = 8; // 5..8
    std::uint8_t parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t stopBits = 0; // 0 one, 1 one and a half, 2 two
    bool dtrOn = false;
    Rts rts = Rts::Off;
    bool xonXoff = false; // on output and on input
    std::uint16_t xonLimit = 0;
    std::uint16_t xoffLimit = 0;
    std::uint8_t xonChar = 0x11;
    std::uint8_t xoffChar = 0x13;

    bool operator==(const LineSettings&) const = default;
};

// Bytes waiting in the driver's queues.
struct QueueCounts {
    std::uint32_t input = 0;
    std::uint32_t output = 0;
};

// The modem input lines; all false when they cannot be read.
struct ModemLines {
    bool cts = false;
    bool dsr = false;
    bool ring = false;
    bool cd = false;

    bool empty() const { return !cts && !dsr && !ring && !cd; }
    bool operator==(const ModemLines&) const = default;
};

// Why the last open failed, as far as the user can do something about it.
enum class OpenFailure : std::uint8_t {
    Other,        // not a serial port, or a failure the platform does not tell apart
    AccessDenied, // the user lacks the rights to the port's device (Linux: not in its group)
    NotFound,     // no such port (Linux: no such device, or its driver has no device there)
    Busy,         // held by another program
};

// One open port at a time. The driver serialises every call; none of them blocks for long
// (reads and writes take what is there or what fits now).
class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Opens the port by its device path for reading and writing, shared with nobody.
    virtual bool Open(const std::string& path) = 0;
    // Why the last Open failed; Other after one that opened, and from a backend that cannot tell.
    virtual OpenFailure LastOpenFailure() const { return OpenFailure::Other; }
    virtual void Close() = 0;

    // Speed, framing, flow control and the DTR and RTS lines. False when the port refuses them.
    virtual bool SetLine(const LineSettings& settings) = 0;

    // Asks the platform for input and output queues of these sizes.
    virtual bool SetQueueSizes(std::uint32_t input, std::uint32_t output) = 0;

    // Reads and writes that return at once with what there is; the result does not matter.
    virtual void SetTimeouts() = 0;

    // Discards pending input and/or output.
    virtual bool Purge(bool input, bool output) = 0;

    // The queue counts; false when the line has failed (the device went away).
    virtual bool Counts(QueueCounts& counts) = 0;

    // Reads up to `size` bytes: the count read (0: nothing there), or -1 when the line failed.
    virtual std::ptrdiff_t Read(std::uint8_t* data, std::size_t size) = 0;

    // Writes up to `size` bytes: the count taken (0: no room now), or -1 when the line failed.
    virtual std::ptrdiff_t Write(const std::uint8_t* data, std::size_t size) = 0;

    // The modem input lines; false when the port has none or they cannot be read.
    virtual bool ModemStatus(ModemLines& lines) = 0;
};

// The backend of the platform the program runs on.
std::unique_ptr<SerialBackend> MakeSerialBackend();

} // namespace tesmira
