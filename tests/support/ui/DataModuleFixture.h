// A real link data module installed as the program's one for the lifetime of a widget test.
#pragma once

#include "link/LinkModule.h"
#include "link/ui/QtPollTimer.h"

#include <cstdint>
#include <vector>

namespace tesmira::test {

class InstalledDataModule {
public:
    InstalledDataModule() { SetDataModule(&link); }
    ~InstalledDataModule() {
        link.StopExchange();
        SetDataModule(nullptr);
    }
    InstalledDataModule(const InstalledDataModule&) = delete;
    InstalledDataModule& operator=(const InstalledDataModule&) = delete;

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

    ui::QtPollTimer timer;
    LinkModule link{timer};
};

} // namespace tesmira::test
