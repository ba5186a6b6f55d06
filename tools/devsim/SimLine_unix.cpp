#include "SimLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
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
    // `watch`: an inotify descriptor told of each open of `path` by the other end, or -1.
    FdLine(int fd, std::string path, int watch = -1)
        : fd_(fd), watch_(watch), path_(std::move(path)) {}
    ~FdLine() override {
        ::close(fd_);
        if (watch_ >= 0)
            ::close(watch_);
    }

    const std::string& path() const override { return path_; }

    Status Read(Bytes& out, int timeoutMs, std::size_t limit) override {
        pollfd p{fd_, POLLIN, 0};
        if (limit == 0 || ::poll(&p, 1, timeoutMs) <= 0)
            return Status::Idle;
        std::uint8_t chunk[4096];
        const ssize_t n = ::read(fd_, chunk, std::min(sizeof chunk, limit));
        if (n > 0) {
            out.insert(out.end(), chunk, chunk + n);
            return Status::Data;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return Status::Idle;
        holders_ = 0; // certain now: a pseudo-terminal master reads EIO while no slave is open
        return Status::Closed;
    }

    // The events are queued by the open itself, before the other end can write a byte, so a byte
    // read before this call was sent after every open it reports. Only an open of a line nobody
    // holds begins a session: on this machine root opens a port held by another program despite
    // TIOCEXCL, and such an open, refused by the lock and closed at once, must not cost the
    // program that holds the line the answer it waits for.
    bool Reopened() override {
        bool opened = false;
        alignas(inotify_event) char events[4096];
        ssize_t n = 0;
        while (watch_ >= 0 && (n = ::read(watch_, events, sizeof events)) > 0) {
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(events + at);
                if ((e->mask & IN_OPEN) != 0)
                    opened = opened || holders_++ == 0;
                if ((e->mask & IN_CLOSE) != 0 && holders_ > 0)
                    --holders_;
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        return opened;
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
    int watch_;
    std::string path_;
    // Opens minus closes of the slave seen so far: how many hold it now. Back to 0 whenever the
    // master reads the line closed, should the events have run together.
    int holders_ = 0;
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
    // The master reads "closed" only while no one holds the slave open; a close and reopen
    // between two reads would go unseen, and two sessions would run together.
    int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch >= 0 && ::inotify_add_watch(watch, slave, IN_OPEN | IN_CLOSE) < 0) {
        ::close(watch);
        watch = -1;
    }
    return std::make_unique<FdLine>(master, slave, watch);
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
