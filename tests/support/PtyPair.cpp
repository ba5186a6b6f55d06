#include "support/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tesmira::test {

PtyPair::PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0)
        return;
    const char* slave = nullptr;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || !(slave = ::ptsname(master_))) {
        CloseMaster();
        return;
    }
    slave_ = slave;
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t); // nothing echoed or translated before the driver sets the line up
    ::tcsetattr(master_, TCSANOW, &t);
}

PtyPair::~PtyPair() {
    CloseMaster();
}

void PtyPair::CloseMaster() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

void PtyPair::Write(const Bytes& bytes) {
    std::size_t done = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (master_ >= 0 && done < bytes.size() && std::chrono::steady_clock::now() < end) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

Bytes PtyPair::ReadAvailable() {
    Bytes got;
    std::uint8_t chunk[4096];
    ssize_t n = 0;
    while (master_ >= 0 && (n = ::read(master_, chunk, sizeof chunk)) > 0)
        got.insert(got.end(), chunk, chunk + n);
    return got;
}

Bytes PtyPair::Read(std::size_t count, std::chrono::milliseconds limit) {
    Bytes got;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (master_ >= 0 && got.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
            const Bytes more = ReadAvailable();
            got.insert(got.end(), more.begin(), more.end());
        } else if (p.revents & (POLLHUP | POLLERR)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2)); // no slave open yet
        }
    }
    return got;
}

void PtyPair::SpoilLine() {
    termios t{};
    if (master_ < 0 || ::tcgetattr(master_, &t) != 0)
        return;
    t.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    t.c_oflag |= OPOST;
    t.c_iflag |= ICRNL | IXON | IXOFF;
    t.c_cflag |= CSTOPB | CRTSCTS;
    ::cfsetispeed(&t, B2400);
    ::cfsetospeed(&t, B2400);
    ::tcsetattr(master_, TCSANOW, &t);
}

LineView PtyPair::Line() const {
    LineView v;
    termios t{};
    if (master_ < 0 || ::tcgetattr(master_, &t) != 0)
        return v;
    switch (::cfgetospeed(&t)) {
    case B2400:
        v.speed = 2400;
        break;
    case B9600:
        v.speed = 9600;
        break;
    case B19200:
        v.speed = 19200;
        break;
    case B57600:
        v.speed = 57600;
        break;
    case B115200:
        v.speed = 115200;
        break;
    default:
        break;
    }
    v.raw = (t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0 && (t.c_oflag & OPOST) == 0 &&
            (t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP)) == 0;
    v.eightBits = (t.c_cflag & CSIZE) == CS8;
    v.parity = (t.c_cflag & PARENB) != 0;
    v.twoStopBits = (t.c_cflag & CSTOPB) != 0;
    v.rtsCts = (t.c_cflag & CRTSCTS) != 0;
    v.xonXoff = (t.c_iflag & (IXON | IXOFF)) != 0;
    v.localAndRead = (t.c_cflag & (CLOCAL | CREAD)) == (CLOCAL | CREAD);
    return v;
}

} // namespace tesmira::test
