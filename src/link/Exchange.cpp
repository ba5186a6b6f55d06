#include "link/Exchange.h"

#include "link/Frames.h"
#include "link/LinkModule.h"

#include <algorithm>

namespace tesmira {

Exchange::Exchange(LinkModule& link, LinkClock& clock, std::shared_ptr<ExchangeReportTarget> target)
    : link_(link), clock_(clock), target_(std::move(target)) {}

void Exchange::SetMode(ExchangeMode mode) {
    mode_ = mode;
}

void Exchange::SetLength(int length) {
    length_ = length;
}

void Exchange::RequestStop() {
    stop_.store(true);
    link_.port.CancelSends(); // a long frame still going out ends at its next step
    if (target_)
        target_->AbandonReports();
}

void Exchange::Report(ExchangeReport code, int arg) {
    if (target_ && !StopRequested())
        target_->Report(code, arg, false);
}

void Exchange::FinalReport(Outcome outcome) {
    reported_ = true;
    LinkTap& tap = link_.tap;
    if (tap.Listening())
        tap.RecordEnd(clock_.NowMs(), outcome.code,
                      outcome.code == ExchangeReport::PortFailed ? link_.port.LastOpenFailure()
                                                                 : OpenFailure::Other);
    Report(outcome.code, outcome.arg);
}

void Exchange::PostProgress(int percent) {
    if (target_ && !StopRequested())
        target_->Report(ExchangeReport::FirmwareProgress, percent, true);
}

void Exchange::Perform() {
    SerialPort& port = link_.port;
    const bool firmware = mode_ == ExchangeMode::Firmware;
    port.SetBaudRateValue(firmware ? kFirmwareBaud : kConfigBaud);
    const std::uint16_t pollMs = port.PollPeriodMs();
    if (firmware)
        port.SetPollPeriodMs(kFirmwarePollMs);
    if (link_.tap.Listening())
        link_.tap.RecordStart(clock_.NowMs(), mode_, port.BaudRateValue(),
                              firmware ? CountBlocks() : 0);
    // Connect clears an earlier cancel of sends, so a stop asked for before it is looked at after.
    if (!port.Connect()) {
        FinalReport({ExchangeReport::PortFailed});
    } else if (StopRequested()) {
        reported_ = true;
    } else {
        Report(ExchangeReport::PortOpened);
        switch (mode_) {
        case ExchangeMode::Read:
            FinalReport(ReadDevice());
            break;
        case ExchangeMode::Write:
            FinalReport(SendFrame(ExchangeReport::Written));
            break;
        case ExchangeMode::Firmware:
            FinalReport(TransferFirmware());
            break;
        case ExchangeMode::FileCommand:
            FinalReport(SendFrame(ExchangeReport::FileCommandDone));
            break;
        }
        port.Disconnect();
    }
    port.SetPollPeriodMs(pollMs);
}

void Exchange::Terminate() {
    link_.port.Disconnect();
}

Exchange::WaitBudget Exchange::Budget(int rounds, std::uint32_t stepMs) {
    return {rounds, clock_.NowMs() + std::uint64_t(std::max(rounds, 0)) * stepMs};
}

bool Exchange::WaitFor(const std::function<bool()>& done, WaitBudget& budget,
                       std::uint32_t stepMs) {
    while (!done()) {
        if (budget.rounds <= 0 || clock_.NowMs() >= budget.deadlineMs || StopRequested() ||
            link_.port.LineFailed())
            return false;
        --budget.rounds;
        clock_.SleepMs(stepMs);
    }
    return true;
}

bool Exchange::SendAndClear(std::size_t n) {
    link_.ClearReceive(); // before the send, so any byte of the answer counts
    return link_.SendFrame(n);
}

bool Exchange::ReceiveReply() {
    const auto count = [this] {
        return static_cast<std::size_t>(link_.ReceivedCount());
    };
    WaitBudget wait = Budget(kFirstByteRounds, kReplyStepMs);
    if (!WaitFor([&] { return count() != 0; }, wait, kReplyStepMs))
        return false;
    Report(ExchangeReport::ReplyStarted);

    const auto rx = link_.ReceiveBuffer();
    wait = Budget(kRestRounds, kReplyStepMs);
    // A first chunk may hold the start byte alone: its length field is still on its way.
    const std::size_t header = rx[0] == kShortFrameStart ? 2 : rx[0] == kLongFrameStart ? 4 : 0;
    if (header == 0 || !WaitFor([&] { return count() >= header; }, wait, kReplyStepMs))
        return false;
    const std::size_t expected = ExpectedFrameLength(rx.first(std::min(count(), rx.size())));
    if (expected == 0 || expected > rx.size())
        return false; // nothing to wait for: such a frame can never be accepted
    WaitFor([&] { return count() >= expected; }, wait, kReplyStepMs);
    return FrameIsValid(rx, count());
}

Exchange::Outcome Exchange::ReadDevice() {
    const std::size_t n = WriteReadRequest(link_.TransmitBuffer());
    if (!SendAndClear(n) || !ReceiveReply())
        return {ExchangeReport::NoValidReply};
    const std::uint8_t type = ReplyDeviceType(link_.ReceiveBuffer());
    if (!DeviceTypeSupported(type))
        return {ExchangeReport::Unsupported};
    return {ExchangeReport::Identified, type};
}

Exchange::Outcome Exchange::SendFrame(ExchangeReport success) {
    // A frame that cannot be in the buffer is not sent.
    if (length_ < 0 || static_cast<std::size_t>(length_) > link_.TransmitBuffer().size())
        return {ExchangeReport::NoValidReply};
    if (!SendAndClear(static_cast<std::size_t>(length_)) || !ReceiveReply())
        return {ExchangeReport::NoValidReply};
    return {success};
}

bool Exchange::WaitAck() {
    WaitBudget wait = Budget(kAckRounds, kAckStepMs);
    if (!WaitFor([this] { return link_.ReceivedCount() != 0; }, wait, kAckStepMs))
        return false;
    return link_.ReceiveBuffer()[0] == kFirmwareBlockAccepted;
}

std::size_t Exchange::ImageLength() {
    return static_cast<std::size_t>(std::max(length_, 0));
}

std::size_t Exchange::BlockAt(std::size_t offset) {
    const auto tx = link_.TransmitBuffer();
    // The blocks must stay inside the image and inside the buffer that holds it.
    const std::size_t limit = std::min(ImageLength(), tx.size());
    if (offset + 2 > limit)
        return 0;
    const std::size_t size = (std::size_t{tx[offset]} << 8 | tx[offset + 1]) + 2;
    return offset + size > limit ? 0 : size;
}

std::size_t Exchange::CountBlocks() {
    std::size_t blocks = 0;
    std::size_t offset = 0;
    while (offset < ImageLength()) {
        const std::size_t size = BlockAt(offset);
        if (size == 0)
            break;
        offset += size;
        ++blocks;
    }
    return blocks;
}

Exchange::Outcome Exchange::TransferFirmware() {
    const auto tx = link_.TransmitBuffer();
    const std::size_t length = ImageLength();
    std::size_t offset = 0;
    int lastPercent = 255;
    while (offset < length) {
        const std::size_t size = BlockAt(offset);
        if (size == 0)
            return {ExchangeReport::NoValidReply};
        link_.ClearReceive();
        // A block that went out only in part cannot be answered for: the transfer ends there.
        if (link_.port.SendData(tx.data() + offset, size) != size || !WaitAck())
            return {ExchangeReport::NoValidReply};
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
    return {ExchangeReport::FirmwareProgress, 100};
}

} // namespace tesmira
