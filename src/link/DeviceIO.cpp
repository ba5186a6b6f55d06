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
    link_.comport.CancelSends(); // a long frame still going out ends at its next step
    if (target_)
        target_->AbandonReports();
}

void TDeviceIO::Report(ThreadReport code, int arg) {
    if (target_ && !StopRequested())
        target_->ExchangeReport(code, arg, false);
}

void TDeviceIO::FinalReport(Outcome outcome) {
    reported_ = true;
    Report(outcome.code, outcome.arg);
}

void TDeviceIO::PostProgress(int percent) {
    if (target_ && !StopRequested())
        target_->ExchangeReport(ThreadReport::FirmwareProgress, percent, true);
}

void TDeviceIO::Execute() {
    TCommPortDriver& port = link_.comport;
    const bool firmware = mode_ == ExchangeMode::Firmware;
    port.SetBaudRateValue(firmware ? kFirmwareBaud : kConfigBaud);
    const std::uint16_t pollMs = port.PollingDelay();
    if (firmware)
        port.SetPollingDelay(kFirmwarePollMs);
    // Connect clears an earlier cancel of sends, so a stop asked for before it is looked at after.
    if (!port.Connect()) {
        FinalReport({ThreadReport::PortFailed});
    } else if (StopRequested()) {
        reported_ = true;
    } else {
        Report(ThreadReport::PortOpened);
        switch (mode_) {
        case ExchangeMode::Read:
            FinalReport(ReadDevice());
            break;
        case ExchangeMode::Write:
            FinalReport(SendFrame(ThreadReport::Written));
            break;
        case ExchangeMode::Firmware:
            FinalReport(TransferFirmware());
            break;
        case ExchangeMode::FileCommand:
            FinalReport(SendFrame(ThreadReport::FileCommandDone));
            break;
        default: // a mode outside 0..3 does nothing
            reported_ = true;
            break;
        }
        port.Disconnect();
    }
    port.SetPollingDelay(pollMs);
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

bool TDeviceIO::SendAndClear(std::size_t n) {
    link_.ClearReceive(); // before the send, so any byte of the answer counts
    return link_.SendFrame(n);
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

TDeviceIO::Outcome TDeviceIO::ReadDevice() {
    const std::size_t n = WriteReadRequest(link_.TransmitBuffer());
    if (!SendAndClear(n) || !ReceiveReply())
        return {ThreadReport::NoValidReply};
    const std::uint8_t type = ReplyDeviceType(link_.ReceiveBuffer());
    if (!DeviceTypeSupported(type))
        return {ThreadReport::Unsupported};
    return {ThreadReport::Identified, type};
}

TDeviceIO::Outcome TDeviceIO::SendFrame(ThreadReport success) {
    // A frame that cannot be in the buffer is not sent.
    if (length_ < 0 || static_cast<std::size_t>(length_) > link_.TransmitBuffer().size())
        return {ThreadReport::NoValidReply};
    if (!SendAndClear(static_cast<std::size_t>(length_)) || !ReceiveReply())
        return {ThreadReport::NoValidReply};
    return {success};
}

bool TDeviceIO::WaitAck() {
    int rounds = kAckRounds;
    if (!WaitFor([this] { return link_.ReceivedCount() != 0; }, rounds, kAckStepMs))
        return false;
    return link_.ReceiveBuffer()[0] == kFirmwareBlockAccepted;
}

TDeviceIO::Outcome TDeviceIO::TransferFirmware() {
    const auto tx = link_.TransmitBuffer();
    const auto length = static_cast<std::size_t>(std::max(length_, 0));
    // The blocks must stay inside the image and inside the buffer that holds it.
    const std::size_t limit = std::min(length, tx.size());
    std::size_t offset = 0;
    int lastPercent = 255;
    while (offset < length) {
        if (offset + 2 > limit)
            return {ThreadReport::NoValidReply};
        const std::size_t size = (std::size_t{tx[offset]} << 8 | tx[offset + 1]) + 2;
        if (offset + size > limit)
            return {ThreadReport::NoValidReply};
        link_.ClearReceive();
        // A block that went out only in part cannot be answered for: the transfer ends there.
        if (link_.comport.SendData(tx.data() + offset, size) != size || !WaitAck())
            return {ThreadReport::NoValidReply};
        int percent = static_cast<int>(offset * 100 / length);
        if (percent == 100)
            percent = 99;
        if (percent != lastPercent) {
            lastPercent = percent;
            if (percent % 2 == 0)
                PostProgress(percent);
        }
        offset += size;
    }
    return {ThreadReport::FirmwareProgress, 100};
}

} // namespace tesmira
