// A real link module with the program's poll timer, for widget tests that hand it to the windows
// and editors they make.
#pragma once

#include "gui/QtPollTimer.h"
#include "link/LinkModule.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tesmira::test {

class LinkFixture {
public:
    explicit LinkFixture(LinkClock& clock = SystemLinkClock(),
                         std::unique_ptr<SerialBackend> backend = MakeSerialBackend())
        : link(timer, clock, std::move(backend)) {}
    ~LinkFixture() { link.StopExchange(); }
    LinkFixture(const LinkFixture&) = delete;
    LinkFixture& operator=(const LinkFixture&) = delete;

    // The receive buffer as after a read whose reply was `frame`.
    void PutReply(const std::vector<std::uint8_t>& frame) {
        link.ClearReceive();
        link.AppendReceived(frame.data(), frame.size());
    }

    // The receive buffer as after a read of a short-frame device of `type`, firmware version 1,
    // holding `record`. The CRC byte is left 0: the exchange checks it, editors do not.
    void PutShortReply(std::uint8_t type, const std::vector<std::uint8_t>& record) {
        std::vector<std::uint8_t> frame;
        frame.reserve(record.size() + 6);
        for (std::uint8_t b : {std::uint8_t{0x7E}, static_cast<std::uint8_t>(record.size() + 6),
                               std::uint8_t{0x57}, type, std::uint8_t{0x01}})
            frame.push_back(b);
        for (std::uint8_t b : record)
            frame.push_back(b);
        frame.push_back(0x00);
        PutReply(frame);
    }

    ui::QtPollTimer timer; // before the link, which polls on it
    LinkModule link;
};

} // namespace tesmira::test
