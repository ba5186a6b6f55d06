// Turns what the tap saw into rows: one per frame on the line (decoded by its form and by what was
// asked), the bytes that form no frame, and a hint where an exchange failed. The same rows make
// the link monitor's window and the command line's trace.
#pragma once

#include "link/Frames.h"
#include "link/LinkTap.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesmira {

enum class LinkDirection : std::uint8_t { None, ToDevice, FromDevice };
enum class FrameForm : std::uint8_t { None, Short, Long };
enum class CrcCheck : std::uint8_t { None, Good, Bad };

enum class RowKind : std::uint8_t {
    ReadRequest,
    WriteRequest, // type from byte 4
    FileCommand,  // a long frame of sub-command 1..3
    Reply,        // to a read: type and version
    Acknowledgement,
    FileAnswer,
    Frame, // of either form, with no request known to tell what it answers
    FirmwareBlock,
    LoaderAnswer, // one byte
    ExtraBytes,   // bytes before or after a frame that start none
    Fragment,     // a frame cut short, or one whose length field cannot be
    Dropped,      // the tap's bound dropped events here
    Hint,         // what the bytes of a failed exchange suggest
};

struct TraceRow {
    std::uint64_t timeMs = 0; // since the exchange began
    LinkDirection direction = LinkDirection::None;
    RowKind kind = RowKind::ExtraBytes;
    FrameForm form = FrameForm::None;
    CrcCheck crc = CrcCheck::None;
    std::vector<std::uint8_t> bytes;
    LongCommand command = LongCommand::WriteConfig; // of a long frame, or the one answered
    std::size_t block = 0;                          // firmware block k (from 1) ...
    std::size_t blocks = 0;                         // ... of n (0: not known)
    std::size_t dropped = 0;
    std::string hint;
};

// "→ прибор", "← прибор", or empty.
std::string DirectionText(LinkDirection direction);
// "верна", "неверна", or empty where the bytes carry no CRC.
std::string CrcText(CrcCheck crc);
// What the row is, in words: "запрос чтения", "ответ прибора: тип 30, версия 9", ...
std::string DescribeRow(const TraceRow& row);
// Upper-case hex pairs separated by blanks.
std::string HexText(std::span<const std::uint8_t> bytes);
// One line of a trace, without its line end: time, direction, length, what it is, CRC and the
// whole frame in hex, separated by tabs.
std::string FormatTraceLine(const TraceRow& row);

class FrameDecoder {
public:
    // Appends the rows that the batch completes; dropped events break the stream, so what is
    // pending is given up as it stands and a row says how many were lost.
    void Feed(const TapBatch& batch, std::vector<TraceRow>& rows);
    void Feed(const TapEvent& event, std::vector<TraceRow>& rows);
    // What is still pending, as the end of the stream.
    void Finish(std::vector<TraceRow>& rows);

private:
    struct Pending {
        std::vector<std::uint8_t> bytes;
        // Where each chunk began in `bytes`, and when it came.
        std::vector<std::pair<std::size_t, std::uint64_t>> chunks;

        void Append(std::span<const std::uint8_t> data, std::uint64_t timeMs);
        std::uint64_t TimeOf(std::size_t offset) const;
        void Consume(std::size_t n);
    };

    enum class Request : std::uint8_t { None, Read, Write, File };

    void Start(const TapEvent& event, std::vector<TraceRow>& rows);
    void End(const TapEvent& event, std::vector<TraceRow>& rows);
    void Sent(const TapEvent& event, std::vector<TraceRow>& rows);
    void Received(const TapEvent& event, std::vector<TraceRow>& rows);
    void Flush(LinkDirection direction, std::vector<TraceRow>& rows);
    // Takes the rows that `pending` completes; `final`: nothing more will come for them.
    void Parse(LinkDirection direction, bool final, std::vector<TraceRow>& rows);
    void ParseBlocks(bool final, std::vector<TraceRow>& rows);
    void ParseFrames(LinkDirection direction, bool final, std::vector<TraceRow>& rows);
    TraceRow Take(LinkDirection direction, std::size_t n, RowKind kind);
    void Classify(TraceRow& row);
    std::uint64_t Since(std::uint64_t timeMs) const;
    Pending& PendingOf(LinkDirection direction) {
        return direction == LinkDirection::ToDevice ? sent_ : received_;
    }

    ExchangeMode mode_ = ExchangeMode::Read;
    bool haveBase_ = false;
    std::uint64_t baseMs_ = 0;
    Request request_ = Request::None;
    LongCommand fileCommand_ = LongCommand::ListFiles;
    std::size_t block_ = 0;
    std::size_t blocks_ = 0;
    bool sentAny_ = false;
    // What came back since the last request (or block) went out, for the hint.
    std::vector<std::uint8_t> answer_;
    Pending sent_;
    Pending received_;
};

} // namespace tesmira
