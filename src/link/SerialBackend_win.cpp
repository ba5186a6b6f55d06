// The serial port over the Win32 communications calls: a handle opened without sharing, reads
// and writes that return within a few milliseconds through the port's time-outs.
#include "link/SerialBackend_win.h"

#include <algorithm>
#include <limits>

namespace tesmira {

namespace {

constexpr WORD kNtFlowLimitCap = 4096;

WORD FlowLimit(std::uint16_t limit, const OSVERSIONINFOA& platform) {
    const bool nt4OrLater =
        platform.dwPlatformId == VER_PLATFORM_WIN32_NT && platform.dwMajorVersion >= 4;
    return nt4OrLater ? std::min<WORD>(limit, kNtFlowLimitCap) : limit;
}

DWORD ClampedSize(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
}

class Win32Backend final : public SerialBackend {
public:
    explicit Win32Backend(const Win32CommCalls& calls) : api_(calls) {}
    ~Win32Backend() override { Close(); }

    bool Open(const std::string& path) override {
        if (open() || path.empty())
            return false;
        handle_ = api_.createFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return open();
    }

    void Close() override {
        if (!open())
            return;
        // Bytes still queued for output would make the close wait until they have gone out.
        api_.purgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR);
        api_.closeHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    bool SetLine(const LineSettings& settings) override {
        if (!open())
            return false;
        OSVERSIONINFOA platform{};
        platform.dwOSVersionInfoSize = sizeof platform;
        if (!api_.getVersionEx(&platform))
            platform = {}; // an unknown platform: no cap
        DCB dcb = MakeDcb(settings, platform);
        return api_.setCommState(handle_, &dcb) != 0;
    }

    bool SetQueueSizes(std::uint32_t input, std::uint32_t output) override {
        return open() && api_.setupComm(handle_, input, output) != 0;
    }

    void SetTimeouts() override {
        if (!open())
            return;
        // A read returns what has come within 1 ms; a write gives up after 10 ms.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = 1;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = 1;
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = 10;
        api_.setCommTimeouts(handle_, &timeouts);
    }

    bool Purge(bool input, bool output) override {
        if (!open())
            return false;
        const DWORD flags = (input ? PURGE_RXABORT | PURGE_RXCLEAR : 0) |
                            (output ? PURGE_TXABORT | PURGE_TXCLEAR : 0);
        return flags == 0 || api_.purgeComm(handle_, flags) != 0;
    }

    bool Counts(QueueCounts& counts) override {
        DWORD errors = 0;
        COMSTAT status{};
        if (!open() || !api_.clearCommError(handle_, &errors, &status))
            return false;
        counts.input = status.cbInQue;
        counts.output = status.cbOutQue;
        return true;
    }

    std::ptrdiff_t Read(std::uint8_t* data, std::size_t size) override {
        DWORD got = 0;
        if (!open() || !api_.readFile(handle_, data, ClampedSize(size), &got, nullptr))
            return -1;
        return static_cast<std::ptrdiff_t>(got);
    }

    std::ptrdiff_t Write(const std::uint8_t* data, std::size_t size) override {
        DWORD written = 0;
        // A write that times out still succeeds, with what it took.
        if (!open() || !api_.writeFile(handle_, data, ClampedSize(size), &written, nullptr))
            return -1;
        return static_cast<std::ptrdiff_t>(written);
    }

    // Fails (error 50) on a port without modem lines, such as a pseudo-terminal under Wine.
    bool ModemStatus(ModemLines& lines) override {
        DWORD bits = 0;
        if (!open() || !api_.getCommModemStatus(handle_, &bits))
            return false;
        lines.cts = (bits & MS_CTS_ON) != 0;
        lines.dsr = (bits & MS_DSR_ON) != 0;
        lines.ring = (bits & MS_RING_ON) != 0;
        lines.cd = (bits & MS_RLSD_ON) != 0;
        return true;
    }

private:
    bool open() const { return handle_ != INVALID_HANDLE_VALUE; }

    Win32CommCalls api_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace

DCB MakeDcb(const LineSettings& s, const OSVERSIONINFOA& platform) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = s.baudRate;
    dcb.fBinary = 1;
    dcb.fDtrControl = s.dtrOn ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    switch (s.rts) {
    case LineSettings::Rts::On:
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        break;
    case LineSettings::Rts::Handshake:
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        break;
    case LineSettings::Rts::Off:
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        break;
    }
    dcb.fOutX = dcb.fInX = s.xonXoff ? 1 : 0;
    dcb.XonLim = FlowLimit(s.xonLimit, platform);
    dcb.XoffLim = FlowLimit(s.xoffLimit, platform);
    dcb.ByteSize = s.byteSize;
    dcb.Parity = s.parity;
    dcb.StopBits = s.stopBits;
    dcb.XonChar = static_cast<char>(s.xonChar);
    dcb.XoffChar = static_cast<char>(s.xoffChar);
    return dcb;
}

std::unique_ptr<SerialBackend> MakeWin32Backend(const Win32CommCalls& calls) {
    return std::make_unique<Win32Backend>(calls);
}

std::unique_ptr<SerialBackend> MakeSerialBackend() {
    return MakeWin32Backend(Win32CommCalls{});
}

} // namespace tesmira
