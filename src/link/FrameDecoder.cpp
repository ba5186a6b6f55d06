#include "link/FrameDecoder.h"

#include "link/Crc8.h"
#include "link/FailureHint.h"

#include <algorithm>
#include <cstdio>

namespace tesmira {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsStart(std::uint8_t b) {
    return b == kShortFrameStart || b == kLongFrameStart;
}

std::size_t NextStart(std::span<const std::uint8_t> bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); ++i)
        if (IsStart(bytes[i]))
            return i;
    return kNone;
}

std::string Hex2(std::uint8_t b) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

// The zero-padded name at 5..14 of a file command; what is not printable ASCII shows as '?'.
std::string FileName(std::span<const std::uint8_t> frame) {
    std::string name;
    for (std::size_t i = 5; i < 15 && i + 1 < frame.size() && frame[i] != 0; ++i)
        name += frame[i] >= 0x20 && frame[i] < 0x7F ? static_cast<char>(frame[i]) : '?';
    return name;
}

std::string TypeAndVersion(std::span<const std::uint8_t> frame) {
    return "тип " + std::to_string(ReplyDeviceType(frame)) + ", версия " +
           std::to_string(ReplyVersion(frame));
}

std::string BlockText(std::size_t block, std::size_t blocks) {
    std::string text = std::to_string(block);
    if (blocks != 0)
        text += " из " + std::to_string(blocks);
    return text;
}

std::string FileCommandText(LongCommand command, std::span<const std::uint8_t> frame) {
    switch (command) {
    case LongCommand::ListFiles:
        return "команда файла: список файлов";
    case LongCommand::DeleteFile:
        return "команда файла: удалить «" + FileName(frame) + "»";
    case LongCommand::UploadFile:
        return "команда файла: загрузить «" + FileName(frame) + "», " +
               std::to_string(frame.size() >= 16 ? frame.size() - 16 : 0) + " байт";
    default:
        return "команда файла";
    }
}

std::string FileAnswerText(LongCommand command) {
    switch (command) {
    case LongCommand::ListFiles:
        return "ответ на команду файла: список файлов";
    case LongCommand::DeleteFile:
        return "ответ на команду файла: удаление";
    case LongCommand::UploadFile:
        return "ответ на команду файла: загрузка";
    default:
        return "ответ на команду файла";
    }
}

std::string LoaderAnswerText(std::uint8_t answer) {
    const std::string code = "ответ загрузчика " + Hex2(answer);
    if (answer == kFirmwareBlockAccepted)
        return code + ": блок принят";
    if (answer == kFirmwareBlockRefused)
        return code + ": блок отклонен";
    return code + ": неизвестный ответ";
}

} // namespace

std::string DirectionText(LinkDirection direction) {
    switch (direction) {
    case LinkDirection::ToDevice:
        return "→ прибор";
    case LinkDirection::FromDevice:
        return "← прибор";
    default:
        return {};
    }
}

std::string CrcText(CrcCheck crc) {
    switch (crc) {
    case CrcCheck::Good:
        return "верна";
    case CrcCheck::Bad:
        return "неверна";
    default:
        return {};
    }
}

std::string DescribeRow(const TraceRow& row) {
    const std::span<const std::uint8_t> b = row.bytes;
    switch (row.kind) {
    case RowKind::ReadRequest:
        return "запрос чтения";
    case RowKind::WriteRequest:
        return "запись конфигурации, тип " + std::to_string(b.size() > 4 ? b[4] : 0);
    case RowKind::FileCommand:
        return FileCommandText(row.command, b);
    case RowKind::Reply:
        return "ответ прибора: " + TypeAndVersion(b);
    case RowKind::Acknowledgement:
        return "подтверждение записи";
    case RowKind::FileAnswer:
        return FileAnswerText(row.command);
    case RowKind::Frame:
        return row.direction == LinkDirection::FromDevice ? "кадр: " + TypeAndVersion(b)
                                                          : "кадр неизвестного вида";
    case RowKind::FirmwareBlock:
        return "блок прошивки " + BlockText(row.block, row.blocks);
    case RowKind::LoaderAnswer:
        return LoaderAnswerText(b.empty() ? 0 : b[0]);
    case RowKind::ExtraBytes:
        return "лишние байты";
    case RowKind::Fragment:
        return "обрывок кадра";
    case RowKind::Dropped:
        return "пропущено событий: " + std::to_string(row.dropped) +
               " (монитор не успевал их забирать)";
    case RowKind::Hint:
        return row.hint;
    }
    return {};
}

std::string HexText(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += Hex2(b);
    }
    return text;
}

std::string FormatTraceLine(const TraceRow& row) {
    const bool note = row.kind == RowKind::Hint || row.kind == RowKind::Dropped;
    return std::to_string(row.timeMs) + '\t' + DirectionText(row.direction) + '\t' +
           (note ? std::string() : std::to_string(row.bytes.size())) + '\t' + DescribeRow(row) +
           '\t' + CrcText(row.crc) + '\t' + HexText(row.bytes);
}

// --- the decoder ---

void FrameDecoder::Pending::Append(std::span<const std::uint8_t> data, std::uint64_t timeMs) {
    chunks.emplace_back(bytes.size(), timeMs);
    bytes.insert(bytes.end(), data.begin(), data.end());
}

std::uint64_t FrameDecoder::Pending::TimeOf(std::size_t offset) const {
    std::uint64_t time = chunks.empty() ? 0 : chunks.front().second;
    for (const auto& [start, at] : chunks) {
        if (start > offset)
            break;
        time = at;
    }
    return time;
}

void FrameDecoder::Pending::Consume(std::size_t n) {
    n = std::min(n, bytes.size());
    std::vector<std::pair<std::size_t, std::uint64_t>> kept;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const std::size_t end = i + 1 < chunks.size() ? chunks[i + 1].first : bytes.size();
        if (end > n)
            kept.emplace_back(chunks[i].first > n ? chunks[i].first - n : 0, chunks[i].second);
    }
    chunks = std::move(kept);
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

void FrameDecoder::Feed(const TapBatch& batch, std::vector<TraceRow>& rows) {
    if (batch.dropped != 0) {
        Finish(rows);
        TraceRow row;
        row.kind = RowKind::Dropped;
        row.dropped = batch.dropped;
        row.timeMs = batch.events.empty() ? 0 : Since(batch.events.front().timeMs);
        rows.push_back(std::move(row));
    }
    for (const TapEvent& event : batch.events)
        Feed(event, rows);
}

void FrameDecoder::Feed(const TapEvent& event, std::vector<TraceRow>& rows) {
    if (!haveBase_) { // a listener that came in during an exchange counts from what it saw first
        baseMs_ = event.timeMs;
        haveBase_ = true;
    }
    switch (event.kind) {
    case TapEventKind::ExchangeStarted:
        Start(event, rows);
        break;
    case TapEventKind::ExchangeEnded:
        End(event, rows);
        break;
    case TapEventKind::Sent:
        Sent(event, rows);
        break;
    case TapEventKind::Received:
        Received(event, rows);
        break;
    }
}

void FrameDecoder::Finish(std::vector<TraceRow>& rows) {
    Flush(LinkDirection::ToDevice, rows);
    Flush(LinkDirection::FromDevice, rows);
}

void FrameDecoder::Start(const TapEvent& event, std::vector<TraceRow>& rows) {
    Finish(rows); // what an exchange left over is its own
    mode_ = event.mode;
    baseMs_ = event.timeMs;
    // Until a frame goes out, what comes back answers what the mode sends.
    request_ = event.mode == ExchangeMode::Read          ? Request::Read
               : event.mode == ExchangeMode::Write       ? Request::Write
               : event.mode == ExchangeMode::FileCommand ? Request::File
                                                         : Request::None;
    fileCommand_ = LongCommand::ListFiles;
    block_ = 0;
    blocks_ = event.blocks;
    sentAny_ = false;
    answer_.clear();
}

void FrameDecoder::End(const TapEvent& event, std::vector<TraceRow>& rows) {
    FailureFacts facts;
    facts.mode = mode_;
    facts.report = event.report;
    facts.openFailure = event.openFailure;
    const std::vector<std::uint8_t> answer = answer_;
    facts.answer = answer;
    // A frame or block that went out only in part is still pending: it is the one that failed.
    facts.sent = sentAny_ && sent_.bytes.empty();
    facts.block = block_ + (sent_.bytes.empty() ? 0 : 1);
    facts.blocks = blocks_;
    Finish(rows);
    const std::string hint = FailureHint(facts);
    if (!hint.empty()) {
        TraceRow row;
        row.kind = RowKind::Hint;
        row.timeMs = Since(event.timeMs);
        row.hint = hint;
        rows.push_back(std::move(row));
    }
}

void FrameDecoder::Sent(const TapEvent& event, std::vector<TraceRow>& rows) {
    if (mode_ != ExchangeMode::Firmware)
        Flush(LinkDirection::FromDevice, rows); // a new request: the last answer is over
    answer_.clear();
    sentAny_ = true;
    sent_.Append(event.bytes, event.timeMs);
    Parse(LinkDirection::ToDevice, false, rows);
}

void FrameDecoder::Received(const TapEvent& event, std::vector<TraceRow>& rows) {
    // What we send is whole frames: one still pending is still going out (a late byte of the last
    // answer may come meanwhile), or was cut short, which the end of the exchange shows.
    answer_.insert(answer_.end(), event.bytes.begin(), event.bytes.end());
    if (mode_ == ExchangeMode::Firmware) {
        for (std::uint8_t b : event.bytes) { // each byte answers a block
            TraceRow row;
            row.timeMs = Since(event.timeMs);
            row.direction = LinkDirection::FromDevice;
            row.kind = RowKind::LoaderAnswer;
            row.bytes = {b};
            row.block = block_;
            row.blocks = blocks_;
            rows.push_back(std::move(row));
        }
        return;
    }
    received_.Append(event.bytes, event.timeMs);
    Parse(LinkDirection::FromDevice, false, rows);
}

void FrameDecoder::Flush(LinkDirection direction, std::vector<TraceRow>& rows) {
    Parse(direction, true, rows);
}

void FrameDecoder::Parse(LinkDirection direction, bool final, std::vector<TraceRow>& rows) {
    if (direction == LinkDirection::ToDevice && mode_ == ExchangeMode::Firmware)
        ParseBlocks(final, rows);
    else
        ParseFrames(direction, final, rows);
}

std::uint64_t FrameDecoder::Since(std::uint64_t timeMs) const {
    return timeMs >= baseMs_ ? timeMs - baseMs_ : 0;
}

TraceRow FrameDecoder::Take(LinkDirection direction, std::size_t n, RowKind kind) {
    Pending& p = PendingOf(direction);
    TraceRow row;
    row.timeMs = Since(p.TimeOf(0));
    row.direction = direction;
    row.kind = kind;
    row.bytes.assign(p.bytes.begin(), p.bytes.begin() + static_cast<std::ptrdiff_t>(n));
    p.Consume(n);
    return row;
}

void FrameDecoder::ParseBlocks(bool final, std::vector<TraceRow>& rows) {
    while (sent_.bytes.size() >= 2) {
        const std::size_t size = (std::size_t{sent_.bytes[0]} << 8 | sent_.bytes[1]) + 2;
        if (sent_.bytes.size() < size)
            break;
        TraceRow row = Take(LinkDirection::ToDevice, size, RowKind::FirmwareBlock);
        row.block = ++block_;
        row.blocks = blocks_;
        rows.push_back(std::move(row));
    }
    if (final && !sent_.bytes.empty())
        rows.push_back(Take(LinkDirection::ToDevice, sent_.bytes.size(), RowKind::Fragment));
}

void FrameDecoder::ParseFrames(LinkDirection direction, bool final, std::vector<TraceRow>& rows) {
    Pending& p = PendingOf(direction);
    while (!p.bytes.empty()) {
        const std::span<const std::uint8_t> b = p.bytes;
        // Bytes that no frame can be waiting for are not held back any longer.
        const bool last = final || b.size() > kLongFrameMaxLength;
        // Up to the next start byte, or all when nothing more comes; kNone: wait for more.
        const auto untilNextStart = [&] {
            const std::size_t next = NextStart(b, 1);
            return next != kNone ? next : last ? b.size() : kNone;
        };
        if (!IsStart(b[0])) {
            const std::size_t n = untilNextStart();
            if (n == kNone)
                return;
            rows.push_back(Take(direction, n, RowKind::ExtraBytes));
            continue;
        }
        const bool isShort = b[0] == kShortFrameStart;
        const std::size_t header = isShort ? 2 : 4;
        const std::size_t shortest = header + 1; // the length field's frame holds at least a CRC
        const std::size_t length = ExpectedFrameLength(b);
        if (b.size() >= header && length >= shortest && b.size() >= length) {
            TraceRow row = Take(direction, length, RowKind::Frame);
            row.form = isShort ? FrameForm::Short : FrameForm::Long;
            row.crc = Crc8(row.bytes.data(), length - 1) == row.bytes[length - 1] ? CrcCheck::Good
                                                                                  : CrcCheck::Bad;
            Classify(row);
            rows.push_back(std::move(row));
            continue;
        }
        // A length field that cannot be, or a frame that has not come whole (yet).
        const bool impossible = b.size() >= header && length < shortest;
        if (!last && !impossible)
            return;
        const std::size_t n = untilNextStart();
        if (n == kNone)
            return;
        rows.push_back(Take(direction, n, RowKind::Fragment));
    }
}

void FrameDecoder::Classify(TraceRow& row) {
    const bool isLong = row.form == FrameForm::Long;
    if (row.direction == LinkDirection::ToDevice) {
        if (!isLong) {
            const std::uint8_t command = row.bytes[2];
            row.kind = command == kCommandRead    ? RowKind::ReadRequest
                       : command == kCommandWrite ? RowKind::WriteRequest
                                                  : RowKind::Frame;
            request_ = command == kCommandRead    ? Request::Read
                       : command == kCommandWrite ? Request::Write
                                                  : Request::None;
            return;
        }
        row.command = static_cast<LongCommand>(row.bytes[1]);
        switch (row.command) {
        case LongCommand::WriteConfig:
            row.kind = RowKind::WriteRequest;
            request_ = Request::Write;
            break;
        case LongCommand::ListFiles:
        case LongCommand::DeleteFile:
        case LongCommand::UploadFile:
            row.kind = RowKind::FileCommand;
            request_ = Request::File;
            fileCommand_ = row.command;
            break;
        default:
            row.kind = RowKind::Frame;
            request_ = Request::None;
            break;
        }
        return;
    }
    switch (request_) {
    case Request::Read:
        row.kind = RowKind::Reply;
        break;
    case Request::Write:
        row.kind = RowKind::Acknowledgement;
        break;
    case Request::File:
        row.kind = RowKind::FileAnswer;
        row.command = fileCommand_;
        break;
    case Request::None:
        row.kind = RowKind::Frame;
        break;
    }
}

} // namespace tesmira
