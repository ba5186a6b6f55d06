#include "link/DeviceIO.h"

#include "link/Frames.h"
#include "link/NonVisComp.h"

#include <algorithm>

namespace tesmira {

TDeviceIO::TDeviceIO(TNonVisComp& link, LinkClock& clock,
                     std::shared_ptr<ExchangeReportTarget> target)
    : link_(link), clock_(clock), target_(std::move(target)) {}

void TDeviceIO::SetMode(ExchangeMode mode) {
    mode_ = mode;
}

void TDeviceIO::SetLength(int length) {
    length_ = length;
}

void TDeviceIO::RequestStop() {
    stop_.store(true);
    if (target_)
        target_->AbandonReports();
}

void TDeviceIO::Report(ThreadReport code, int arg) {
    if (target_ && !StopRequested())
        target_->ExchangeReport(code, arg, false);
}

void TDeviceIO::PostProgress(int percent) {
    if (target_ && !StopRequested())
        target_->ExchangeReport(ThreadReport::FirmwareProgress, percent, true);
}

void TDeviceIO::Execute() {
    TCommPortDriver& port = link_.comport;
    port.SetBaudRateValue(mode_ == ExchangeMode::Firmware ? kFirmwareBaud : kConfigBaud);
    if (!port.Connect()) {
        Report(ThreadReport::PortFailed);
        reported_ = true;
        return;
    }
    Report(ThreadReport::PortOpened);
    switch (mode_) {
    case ExchangeMode::Read:
        ReadDevice();
        break;
    case ExchangeMode::Write:
        SendFrameAndReport(ThreadReport::Written);
        break;
    case ExchangeMode::Firmware:
        TransferFirmware();
        break;
    case ExchangeMode::FileCommand:
        SendFrameAndReport(ThreadReport::FileCommandDone);
        break;
    default: // a mode outside 0..3 does nothing
        break;
    }
    reported_ = true;
    port.Disconnect();
}

void TDeviceIO::Terminate() {
    link_.comport.Disconnect();
}

bool TDeviceIO::WaitFor(const std::function<bool()>& done, int& rounds, std::uint32_t stepMs) {
    while (!done()) {
        if (rounds <= 0 || StopRequested() || link_.comport.LineFailed())
            return false;
        --rounds;
        clock_.SleepMs(stepMs);
    }
    return true;
}

void TDeviceIO::SendAndClear(std::size_t n) {
    link_.ClearReceive(); // before the send, so any byte of the answer counts
    link_.SendFrame(n);
}

bool TDeviceIO::ReceiveReply() {
    const auto count = [this] {
        return static_cast<std::size_t>(link_.ReceivedCount());
    };
    int rounds = kFirstByteRounds;
    if (!WaitFor([&] { return count() != 0; }, rounds, kReplyStepMs))
        return false;
    Report(ThreadReport::ReplyStarted);

    const auto rx = link_.ReceiveBuffer();
    rounds = kRestRounds;
    // A first chunk may hold the start byte alone: its length field is still on its way.
    const std::size_t header = rx[0] == kShortFrameStart ? 2 : rx[0] == kLongFrameStart ? 4 : 0;
    if (header == 0 || !WaitFor([&] { return count() >= header; }, rounds, kReplyStepMs))
        return false;
    const std::size_t expected = ExpectedFrameLength(rx.first(std::min(count(), rx.size())));
    if (expected == 0 || expected > rx.size())
        return false; // nothing to wait for: such a frame can never be accepted
    WaitFor([&] { return count() >= expected; }, rounds, kReplyStepMs);
    return FrameIsValid(rx, count());
}

void TDeviceIO::ReadDevice() {
    const std::size_t n = WriteReadRequest(link_.TransmitBuffer());
    SendAndClear(n);
    if (!ReceiveReply()) {
        Report(ThreadReport::NoValidReply);
        return;
    }
    const std::uint8_t type = ReplyDeviceType(link_.ReceiveBuffer());
    if (!DeviceTypeSupported(type)) {
        Report(ThreadReport::Unsupported);
        return;
    }
    Report(ThreadReport::Identified, type);
}

void TDeviceIO::SendFrameAndReport(ThreadReport success) {
    if (length_ < 0 || static_cast<std::size_t>(length_) > link_.TransmitBuffer().size()) {
        Report(ThreadReport::NoValidReply); // a frame that cannot be in the buffer is not sent
        return;
    }
    SendAndClear(static_cast<std::size_t>(length_));
    Report(ReceiveReply() ? success : ThreadReport::NoValidReply);
}

bool TDeviceIO::WaitAck() {
    int rounds = kAckRounds;
    if (!WaitFor([this] { return link_.ReceivedCount() != 0; }, rounds, kAckStepMs))
        return false;
    return link_.ReceiveBuffer()[0] == kFirmwareBlockAccepted;
}

void TDeviceIO::TransferFirmware() {
    const auto tx = link_.TransmitBuffer();
    // The blocks must stay inside the image and inside the buffer that holds it.
    const std::size_t limit = std::min(static_cast<std::size_t>(std::max(length_, 0)), tx.size());
    std::size_t offset = 0;
    int lastPercent = 255;
    while (offset < static_cast<std::size_t>(std::max(length_, 0))) {
        if (offset + 2 > limit) {
            Report(ThreadReport::NoValidReply);
            return;
        }
        const std::size_t size = (std::size_t{tx[offset]} << 8 | tx[offset + 1]) + 2;
        if (offset + size > limit) {
            Report(ThreadReport::NoValidReply);
            return;
        }
        link_.ClearReceive();
        link_.comport.SendData(tx.data() + offset, size);
        if (!WaitAck()) {
            Report(ThreadReport::NoValidReply);
            return;
        }
        int percent = static_cast<int>(offset * 100 / static_cast<std::size_t>(length_));
        if (percent == 100)
            percent = 99;
        if (percent != lastPercent) {
            lastPercent = percent;
            if (percent % 2 == 0)
                PostProgress(percent);
        }
        offset += size;
    }
    Report(ThreadReport::FirmwareProgress, 100);
}

} // namespace tesmira
