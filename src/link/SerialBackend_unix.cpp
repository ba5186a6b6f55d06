// The serial port over POSIX termios (Linux): raw mode, a non-blocking descriptor, an exclusive
// open guarded by TIOCEXCL and an advisory lock.
#include "link/SerialBackend.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace tesmira {

namespace {

constexpr std::array<std::pair<std::uint32_t, speed_t>, 14> kSpeeds = {{
    {110, B110},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
    {460800, B460800},
    {921600, B921600},
}};

bool SpeedFor(std::uint32_t baud, speed_t& speed) {
    for (const auto& [rate, code] : kSpeeds)
        if (rate == baud) {
            speed = code;
            return true;
        }
    return false; // 14400, 56000, 128000, 256000 and odd rates: termios has no code for them
}

tcflag_t SizeFlag(std::uint8_t byteSize) {
    switch (byteSize) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

// A port without modem lines (a pseudo-terminal, some adapters) answers ENOTTY or EINVAL; there
// is nothing to switch then, which is not a failure.
bool NoModemLines() {
    return errno == ENOTTY || errno == EINVAL;
}

bool SwitchModemLine(int fd, int line, bool on) {
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0 || NoModemLines();
}

OpenFailure FailureOf(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return OpenFailure::AccessDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return OpenFailure::NotFound;
    case EBUSY: // another program holds it exclusively (TIOCEXCL)
        return OpenFailure::Busy;
    default:
        return OpenFailure::Other;
    }
}

class TermiosBackend final : public SerialBackend {
public:
    ~TermiosBackend() override { Close(); }

    bool Open(const std::string& path) override {
        openFailure_ = OpenFailure::Other;
        if (fd_ >= 0 || path.empty())
            return false;
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            openFailure_ = FailureOf(errno);
            return false;
        }
        // TIOCEXCL does not stop root from opening the port again; the lock stops a second
        // configurator whoever runs it.
        if (!::isatty(fd)) {
            ::close(fd);
            return false;
        }
        if (::ioctl(fd, TIOCEXCL) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            openFailure_ = errno == EWOULDBLOCK ? OpenFailure::Busy : FailureOf(errno);
            ::close(fd);
            return false;
        }
        fd_ = fd;
        return true;
    }

    OpenFailure LastOpenFailure() const override { return openFailure_; }

    void Close() override {
        if (fd_ < 0)
            return;
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_); // releases the lock
        fd_ = -1;
    }

    bool SetLine(const LineSettings& s) override {
        termios t{};
        speed_t speed{};
        if (fd_ < 0 || !SpeedFor(s.baudRate, speed) || s.stopBits == 1 || s.parity > 4 ||
            s.byteSize < 5 || s.byteSize > 8 || ::tcgetattr(fd_, &t) != 0)
            return false; // termios has no 1.5 stop bits
        ::cfmakeraw(&t);
        t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
        t.c_cflag |= CLOCAL | CREAD | SizeFlag(s.byteSize);
        if (s.parity != 0)
            t.c_cflag |= PARENB;
        if (s.parity == 1 || s.parity == 3)
            t.c_cflag |= PARODD;
        if (s.parity >= 3)
            t.c_cflag |= CMSPAR;
        if (s.stopBits == 2)
            t.c_cflag |= CSTOPB;
        if (s.rts == LineSettings::Rts::Handshake)
            t.c_cflag |= CRTSCTS;
        t.c_iflag &= ~(IXON | IXOFF | IXANY);
        if (s.xonXoff) {
            t.c_iflag |= IXON | IXOFF;
            t.c_cc[VSTART] = s.xonChar;
            t.c_cc[VSTOP] = s.xoffChar;
        }
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0 ||
            ::tcsetattr(fd_, TCSANOW, &t) != 0)
            return false;
        if (!SwitchModemLine(fd_, TIOCM_DTR, s.dtrOn))
            return false;
        if (s.rts != LineSettings::Rts::Handshake &&
            !SwitchModemLine(fd_, TIOCM_RTS, s.rts == LineSettings::Rts::On))
            return false;
        return true;
    }

    // The kernel's queues have fixed sizes; there is nothing to ask for.
    bool SetQueueSizes(std::uint32_t, std::uint32_t) override { return fd_ >= 0; }

    // VMIN = VTIME = 0 on a non-blocking descriptor already returns at once.
    void SetTimeouts() override {}

    bool Purge(bool input, bool output) override {
        if (fd_ < 0)
            return false;
        if (!input && !output)
            return true;
        const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
        return ::tcflush(fd_, which) == 0;
    }

    bool Counts(QueueCounts& counts) override {
        int in = 0;
        int out = 0;
        if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &in) != 0 || ::ioctl(fd_, TIOCOUTQ, &out) != 0)
            return false;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            return false; // the device went away; what FIONREAD says then is stale
        counts.input = in > 0 ? static_cast<std::uint32_t>(in) : 0;
        counts.output = out > 0 ? static_cast<std::uint32_t>(out) : 0;
        return true;
    }

    std::ptrdiff_t Read(std::uint8_t* data, std::size_t size) override {
        if (fd_ < 0)
            return -1;
        const ssize_t n = ::read(fd_, data, size);
        if (n > 0)
            return n;
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return 0;
        return -1; // end of file on a terminal: hung up
    }

    std::ptrdiff_t Write(const std::uint8_t* data, std::size_t size) override {
        if (fd_ < 0)
            return -1;
        const ssize_t n = ::write(fd_, data, size);
        if (n >= 0)
            return n;
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    }

    bool ModemStatus(ModemLines& lines) override {
        int bits = 0;
        if (fd_ < 0 || ::ioctl(fd_, TIOCMGET, &bits) != 0)
            return false;
        lines.cts = (bits & TIOCM_CTS) != 0;
        lines.dsr = (bits & TIOCM_DSR) != 0;
        lines.ring = (bits & TIOCM_RI) != 0;
        lines.cd = (bits & TIOCM_CD) != 0;
        return true;
    }

private:
    int fd_ = -1;
    OpenFailure openFailure_ = OpenFailure::Other;
};

} // namespace

std::unique_ptr<SerialBackend> MakeSerialBackend() {
    return std::make_unique<TermiosBackend>();
}

} // namespace tesmira
