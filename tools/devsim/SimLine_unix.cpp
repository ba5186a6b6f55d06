#include "SimLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace tesmira::devsim {

namespace {

unsigned BaudOf(speed_t s) {
    switch (s) {
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

bool SpeedOf(unsigned baud, speed_t& s) {
    for (speed_t c : {B9600, B19200, B38400, B57600, B115200})
        if (BaudOf(c) == baud) {
            s = c;
            return true;
        }
    return false;
}

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

class FdLine : public Line {
public:
    FdLine(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~FdLine() override { ::close(fd_); }

    const std::string& path() const override { return path_; }

    Status Read(Bytes& out, int timeoutMs) override {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return Status::Idle;
        std::uint8_t chunk[4096];
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n > 0) {
            out.insert(out.end(), chunk, chunk + n);
            return Status::Data;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return Status::Idle;
        return Status::Closed; // a pseudo-terminal master reads EIO while no slave is open
    }

    // On Linux the master's terminal settings are those the slave's user made.
    unsigned Speed() const override {
        termios t{};
        if (::tcgetattr(fd_, &t) != 0)
            return 0;
        return BaudOf(cfgetospeed(&t));
    }

    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n >= 0)
            return static_cast<std::size_t>(n);
        return errno == EAGAIN || errno == EINTR ? 0 : bytes.size();
    }

private:
    int fd_;
    std::string path_;
};

bool MakeRaw(int fd, speed_t speed) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace

std::unique_ptr<Line> OpenPseudoTerminal(std::string& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) {
        error = Reason("posix_openpt");
        return nullptr;
    }
    const char* slave = nullptr;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || !(slave = ::ptsname(master))) {
        error = Reason("pseudo-terminal set-up");
        ::close(master);
        return nullptr;
    }
    // Raw from the start, so nothing is echoed or translated before the configurator sets the
    // line up itself.
    MakeRaw(master, B9600);
    return std::make_unique<FdLine>(master, slave);
}

std::unique_ptr<Line> OpenSerialPort(const std::string& path, unsigned baud, std::string& error) {
    speed_t speed{};
    if (!SpeedOf(baud, speed)) {
        error = "unsupported line speed " + std::to_string(baud);
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = Reason(path.c_str());
        return nullptr;
    }
    if (!MakeRaw(fd, speed)) {
        error = Reason("tcsetattr");
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FdLine>(fd, path);
}

} // namespace tesmira::devsim
