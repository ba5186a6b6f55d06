// Every exchange mode against a device played on a pseudo-terminal, in virtual time: the waits
// of 10 s, 1.5 s and 5 s take milliseconds.
#include "link/Exchange.h"
#include "link/FrameDecoder.h"
#include "link/LinkModule.h"
#include "support/LinkFrames.h"
#include "support/LinkPeers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tesmira {
namespace {

using test::Block;
using test::Bytes;
using test::kReadRequest;
using test::kReply26;
using test::LongReply;
using test::PeerStep;
using test::ShortReply;
using test::VirtualExchangeRig;
using Entry = test::RecordingTarget::Entry;
using Codes = std::vector<int>;

constexpr auto kOpened = ExchangeReport::PortOpened;
constexpr auto kProgress = ExchangeReport::FirmwareProgress;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

void PutImage(VirtualExchangeRig& rig, const Bytes& image) {
    std::copy(image.begin(), image.end(), rig.link.TransmitBuffer().begin());
}

// --- read ---

TEST(ExchangeRead, AShortReplyIdentifiesTheDevice) {
    VirtualExchangeRig rig;
    rig.Script({{10, 0, kReply26}});
    rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Reports(), (std::vector<Entry>{{kOpened, 0, false},
                                                 {ExchangeReport::ReplyStarted, 0, false},
                                                 {ExchangeReport::Identified, 26, false}}));
    EXPECT_EQ(rig.FromHost(), kReadRequest);
    EXPECT_EQ(rig.SpeedsSeen().front(), 9600u);
    EXPECT_FALSE(rig.link.port.Connected());
    // The reply stays in the receive buffer for the editor.
    EXPECT_EQ(rig.link.ReceivedCount(), 19);
    EXPECT_TRUE(std::equal(kReply26.begin(), kReply26.end(), rig.link.ReceiveBuffer().begin()));
    // Latency is set by the 100 ms poll: the reply is in at the first tick.
    EXPECT_EQ(rig.ReportTimes()[1], 100u);
}

TEST(ExchangeRead, ALongReplyLargerThanTheInputBufferIsTakenWhole) {
    // The largest GSM reply, and one that fills the receive buffer to its last byte.
    for (const int size : {2052, 2112}) {
        VirtualExchangeRig rig;
        const Bytes reply = LongReply(32, static_cast<std::size_t>(size));
        rig.Script({{10, 0, reply}});
        rig.Run(ExchangeMode::Read);
        EXPECT_EQ(rig.Codes(), (Codes{2, 3, 0})) << size;
        EXPECT_EQ(rig.Reports().back().arg, 32) << size;
        EXPECT_EQ(rig.link.ReceivedCount(), size);
        EXPECT_TRUE(std::equal(reply.begin(), reply.end(), rig.link.ReceiveBuffer().begin()));
    }
}

TEST(ExchangeRead, TypeCodesAtTheEdgesOfTheCatalogue) {
    const std::pair<std::uint8_t, Codes> rows[] = {
        {35, {2, 3, 0}}, {1, {2, 3, 0}}, {36, {2, 3, 8}}, {0, {2, 3, 8}}, {255, {2, 3, 8}}};
    for (const auto& [type, codes] : rows) {
        VirtualExchangeRig rig;
        rig.Script({{10, 0, LongReply(type, 123)}});
        rig.Run(ExchangeMode::Read);
        EXPECT_EQ(rig.Codes(), codes) << int(type);
        if (codes.back() == 0)
            EXPECT_EQ(rig.Reports().back().arg, type);
        else
            EXPECT_EQ(rig.Reports().back().arg, 0);
    }
}

TEST(ExchangeRead, SilenceEndsAfterTenSeconds) {
    VirtualExchangeRig rig;
    const std::uint64_t took = rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
    EXPECT_EQ(took, 10000u);
    EXPECT_FALSE(rig.link.port.Connected());
}

TEST(ExchangeRead, AReplyStartingAfterNinePointNineSecondsIsAccepted) {
    VirtualExchangeRig rig;
    const Bytes head(kReply26.begin(), kReply26.begin() + 6);
    const Bytes rest(kReply26.begin() + 6, kReply26.end());
    rig.Script({{10, 9900, head}, {10, 9900 + 1500, rest}});
    rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 0}));
    EXPECT_EQ(rig.ReportTimes()[1], 9900u);
    EXPECT_EQ(rig.ReportTimes()[2], 11400u);
}

TEST(ExchangeRead, TheRestMustFollowWithinOnePointFiveSeconds) {
    VirtualExchangeRig rig;
    const Bytes head(kReply26.begin(), kReply26.begin() + 6);
    const Bytes rest(kReply26.begin() + 6, kReply26.end());
    rig.Script({{10, 200, head}, {10, 200 + 1600, rest}});
    rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 7}));
    EXPECT_EQ(rig.ReportTimes()[2] - rig.ReportTimes()[1], 1500u);
}

TEST(ExchangeRead, AReplyStartingAfterTheWaitIsNotSeen) {
    VirtualExchangeRig rig;
    rig.Script({{10, 10100, kReply26}});
    rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
}

TEST(ExchangeRead, AStartByteAloneWaitsForItsLengthField) {
    // The first poll may catch the start byte before the length byte has come.
    VirtualExchangeRig rig;
    const Bytes rest(kReply26.begin() + 1, kReply26.end());
    rig.Script({{10, 0, {0x7E}}, {10, 300, rest}});
    rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 0}));
    EXPECT_EQ(rig.Reports().back().arg, 26);
}

TEST(ExchangeRead, MalformedRepliesFailAtOnceOrAfterTheirWait) {
    struct Row {
        const char* what;
        Bytes reply;
        bool atOnce; // 7 follows 3 without the 1.5 s wait
    };
    Bytes badCrc = kReply26;
    badCrc.back() ^= 0x01;
    const Row rows[] = {
        {"short length 0", {0x7E, 0x00, 0x52, 0x1A, 0x09}, true},
        {"long length 0", {0x14, 0x00, 0x00, 0x00, 0x20, 0x01}, true},
        {"foreign start byte", {0x7F, 0x13, 0x52, 0x1A, 0x09}, true},
        {"long frame past the buffer", {0x14, 0x00, 0x08, 0x41, 0x20}, true}, // 2113
        {"one byte too many", Join({kReply26, {0x00}}), false},
        {"wrong CRC", badCrc, false},
        {"one byte short", Bytes(kReply26.begin(), kReply26.end() - 1), false},
    };
    for (const Row& row : rows) {
        VirtualExchangeRig rig;
        rig.Script({{10, 0, row.reply}});
        rig.Run(ExchangeMode::Read);
        EXPECT_EQ(rig.Codes(), (Codes{2, 3, 7})) << row.what;
        ASSERT_EQ(rig.ReportTimes().size(), 3u) << row.what;
        const std::uint64_t waited = rig.ReportTimes()[2] - rig.ReportTimes()[1];
        if (row.atOnce)
            EXPECT_EQ(waited, 0u) << row.what;
        else if (row.reply.size() < kReply26.size())
            EXPECT_EQ(waited, 1500u) << row.what;
        else
            EXPECT_LT(waited, 1500u) << row.what; // complete, then judged
    }
}

TEST(ExchangeRead, BytesAfterACompleteReplyInTheSameChunkFailIt) {
    VirtualExchangeRig rig;
    rig.Script({{10, 0, Join({kReply26, kReply26})}});
    rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 7}));
}

TEST(ExchangeRead, AReplyFarLargerThanTheBufferIsRefusedWithoutOverrun) {
    VirtualExchangeRig rig;
    Bytes flood = LongReply(32, 3000); // length field 3000, more than the buffer holds
    rig.Script({{10, 0, flood}});
    rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 7}));
    EXPECT_GE(rig.link.ReceivedCount(), static_cast<int>(kReceiveBufferSize));
}

TEST(ExchangeRead, ADeviceThatGoesAwayEndsTheWaitEarly) {
    VirtualExchangeRig rig;
    PeerStep gone;
    gone.afterHostBytes = 10;
    gone.delayMs = 500;
    gone.hangUp = true;
    rig.Script({gone});
    const std::uint64_t took = rig.Run(ExchangeMode::Read);
    EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
    EXPECT_LE(took, 700u);
}

TEST(ExchangeRead, APortThatCannotBeOpenedReportsSixOnly) {
    for (ExchangeMode mode : {ExchangeMode::Read, ExchangeMode::Write, ExchangeMode::Firmware,
                              ExchangeMode::FileCommand}) {
        VirtualExchangeRig rig;
        rig.link.port.SetPortName("/dev/tesmira-missing");
        const std::uint64_t took = rig.Run(mode, 19);
        EXPECT_EQ(rig.Codes(), (Codes{6}));
        EXPECT_EQ(took, 0u);
        EXPECT_TRUE(rig.FromHost().empty());
    }
}

// --- write and file command ---

TEST(ExchangeWrite, AnyValidFrameAcknowledgesAWrite) {
    VirtualExchangeRig rig;
    PutImage(rig, test::kWriteFrame26);
    rig.Script({{19, 0, ShortReply(33, 8)}}); // another type code: not examined
    rig.Run(ExchangeMode::Write, 19);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 1}));
    EXPECT_EQ(rig.FromHost(), test::kWriteFrame26);
    EXPECT_EQ(rig.SpeedsSeen().front(), 9600u);
}

TEST(ExchangeWrite, FailuresOfAWrite) {
    {
        VirtualExchangeRig rig;
        PutImage(rig, test::kWriteFrame26);
        rig.Run(ExchangeMode::Write, 19);
        EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
    }
    {
        VirtualExchangeRig rig;
        PutImage(rig, test::kWriteFrame26);
        Bytes bad = ShortReply(26, 8);
        bad[7] ^= 0xFF;
        rig.Script({{19, 0, bad}});
        rig.Run(ExchangeMode::Write, 19);
        EXPECT_EQ(rig.Codes(), (Codes{2, 3, 7}));
    }
    {
        VirtualExchangeRig rig; // a length beyond the transmit buffer is not sent
        rig.Run(ExchangeMode::Write, static_cast<int>(kTransmitBufferSize) + 1);
        EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
        EXPECT_TRUE(rig.FromHost().empty());
    }
}

TEST(ExchangeFileCommand, AValidAnswerCompletesTheCommand) {
    VirtualExchangeRig rig;
    const Bytes listFiles = test::Closed({0x14, 0x01, 0x00, 0x06, 0x20});
    PutImage(rig, listFiles);
    const Bytes answer = LongReply(32, 40);
    rig.Script({{6, 0, answer}});
    rig.Run(ExchangeMode::FileCommand, 6);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 4}));
    EXPECT_EQ(rig.FromHost(), listFiles);
    EXPECT_TRUE(std::equal(answer.begin(), answer.end(), rig.link.ReceiveBuffer().begin()));
}

TEST(ExchangeFileCommand, AnInvalidAnswerIsNoReply) {
    VirtualExchangeRig rig;
    PutImage(rig, test::Closed({0x14, 0x01, 0x00, 0x06, 0x20}));
    rig.Script({{6, 0, {0x33}}});
    rig.Run(ExchangeMode::FileCommand, 6);
    EXPECT_EQ(rig.Codes(), (Codes{2, 3, 7}));
}

// --- firmware ---

// The firmware device: answers every block with `answer`, after `delayMs`.
std::vector<PeerStep> AnswerBlocks(const std::vector<Bytes>& blocks, std::uint8_t answer = 0x11,
                                   std::uint32_t delayMs = 0) {
    std::vector<PeerStep> steps;
    std::size_t total = 0;
    for (const Bytes& b : blocks) {
        total += b.size();
        steps.push_back({total, delayMs, {answer}});
    }
    return steps;
}

std::vector<int> Percents(const std::vector<Entry>& reports, bool posted) {
    std::vector<int> out;
    for (const Entry& e : reports)
        if (e.code == kProgress && e.posted == posted)
            out.push_back(e.arg);
    return out;
}

TEST(ExchangeFirmware, SeveralBlocksGoOneByOneAt115200) {
    VirtualExchangeRig rig;
    // 6, 3 and 91 bytes: offsets 0, 6 and 9 of 100.
    const std::vector<Bytes> blocks = {Block(4, 0xAA), Block(1, 0), Block(89, 0x55)};
    const Bytes image = Join({blocks[0], blocks[1], blocks[2]});
    PutImage(rig, image);
    rig.Script(AnswerBlocks(blocks, 0x11, 30));
    rig.Run(ExchangeMode::Firmware, static_cast<int>(image.size()));
    EXPECT_EQ(rig.FromHost(), image);
    EXPECT_EQ(rig.SpeedsSeen().front(), 115200u);
    // One write a block, each after the answer to the one before (30 ms, then the next poll).
    const auto times = rig.WriteTimes();
    ASSERT_EQ(times.size(), 3u);
    EXPECT_GE(times[1] - times[0], 30u);
    EXPECT_GE(times[2] - times[1], 30u);
    EXPECT_EQ(Percents(rig.Reports(), true), (std::vector<int>{0, 6})); // 9 is odd
    EXPECT_EQ(rig.Reports().back(), (Entry{kProgress, 100, false}));
    EXPECT_EQ(rig.Reports().front(), (Entry{kOpened, 0, false}));
}

TEST(ExchangeFirmware, TenBlocksOfAHundredBytesPostEveryTenPercent) {
    VirtualExchangeRig rig;
    std::vector<Bytes> blocks;
    for (int i = 0; i < 10; ++i)
        blocks.push_back(Block(98, static_cast<std::uint8_t>(i)));
    Bytes image;
    for (const Bytes& b : blocks)
        image.insert(image.end(), b.begin(), b.end());
    ASSERT_EQ(image.size(), 1000u);
    PutImage(rig, image);
    rig.Script(AnswerBlocks(blocks));
    rig.Run(ExchangeMode::Firmware, 1000);
    EXPECT_EQ(Percents(rig.Reports(), true),
              (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(Percents(rig.Reports(), false), (std::vector<int>{100}));
    EXPECT_EQ(rig.Codes().back(), 5);
}

TEST(ExchangeFirmware, OneEmptyBlockGivesZeroThenHundred) {
    VirtualExchangeRig rig;
    PutImage(rig, {0x00, 0x00});
    rig.Script({{2, 0, {0x11}}});
    rig.Run(ExchangeMode::Firmware, 2);
    EXPECT_EQ(rig.FromHost(), (Bytes{0x00, 0x00}));
    EXPECT_EQ(
        rig.Reports(),
        (std::vector<Entry>{{kOpened, 0, false}, {kProgress, 0, true}, {kProgress, 100, false}}));
}

TEST(ExchangeFirmware, OnlyNewEvenPercentsArePostedAndNever99) {
    // 500 two-byte blocks: every percent 0..99 comes up five times.
    VirtualExchangeRig rig;
    const Bytes image(1000, 0x00);
    PutImage(rig, image);
    std::vector<Bytes> blocks(500, Bytes{0x00, 0x00});
    rig.Script(AnswerBlocks(blocks));
    rig.Run(ExchangeMode::Firmware, 1000);
    std::vector<int> expected;
    for (int p = 0; p <= 98; p += 2)
        expected.push_back(p);
    EXPECT_EQ(Percents(rig.Reports(), true), expected);
    EXPECT_EQ(Percents(rig.Reports(), false), (std::vector<int>{100}));
}

TEST(ExchangeFirmware, AnEmptyImageSendsNothingAndFinishes) {
    VirtualExchangeRig rig;
    rig.Run(ExchangeMode::Firmware, 0);
    EXPECT_EQ(rig.Reports(), (std::vector<Entry>{{kOpened, 0, false}, {kProgress, 100, false}}));
    EXPECT_TRUE(rig.FromHost().empty());
}

TEST(ExchangeFirmware, ARefusedBlockStopsTheTransfer) {
    VirtualExchangeRig rig;
    const std::vector<Bytes> blocks = {Block(10, 1), Block(10, 2), Block(10, 3)};
    PutImage(rig, Join({blocks[0], blocks[1], blocks[2]}));
    rig.Script({{12, 0, {0x11}}, {24, 0, {0x22}}, {36, 0, {0x11}}});
    rig.Run(ExchangeMode::Firmware, 36);
    EXPECT_EQ(rig.Reports(), (std::vector<Entry>{{kOpened, 0, false},
                                                 {kProgress, 0, true},
                                                 {ExchangeReport::NoValidReply, 0, false}}));
    EXPECT_EQ(rig.FromHost(), Join({blocks[0], blocks[1]}));
}

TEST(ExchangeFirmware, AListenerSeesTheBlocksCountedAndWhereTheTransferStopped) {
    VirtualExchangeRig rig;
    PutImage(rig, Join({Block(1, 1), Block(1, 2), Block(1, 3)}));
    rig.Script({{3, 0, {0x11}}, {6, 0, {0x22}}});
    rig.link.tap.Listen(true);
    rig.Run(ExchangeMode::Firmware, 9);
    FrameDecoder decoder;
    std::vector<TraceRow> rows;
    decoder.Feed(rig.link.tap.Take(), rows);
    std::vector<std::string> what;
    for (const TraceRow& row : rows)
        what.push_back(DescribeRow(row));
    EXPECT_EQ(what, (std::vector<std::string>{
                        "блок прошивки 1 из 3", "ответ загрузчика 11: блок принят",
                        "блок прошивки 2 из 3", "ответ загрузчика 22: блок отклонен",
                        "Загрузчик отклонил блок 2 из 3 (ответ 22)"}));
}

TEST(ExchangeFirmware, AnyOtherAnswerByteIsARefusal) {
    VirtualExchangeRig rig;
    PutImage(rig, Block(4, 9));
    rig.Script({{6, 0, {0x12, 0x11}}});
    rig.Run(ExchangeMode::Firmware, 6);
    EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
}

TEST(ExchangeFirmware, TheAnswerMayTakeFiveSecondsButNoMore) {
    {
        VirtualExchangeRig rig;
        PutImage(rig, Block(4, 9));
        rig.Script({{6, 4900, {0x11}}});
        rig.Run(ExchangeMode::Firmware, 6);
        EXPECT_EQ(rig.Codes(), (Codes{2, 5, 5}));
    }
    {
        VirtualExchangeRig rig;
        PutImage(rig, Block(4, 9));
        const std::uint64_t took = rig.Run(ExchangeMode::Firmware, 6);
        EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
        EXPECT_EQ(took, 5000u);
    }
}

// Sleeps of 16 times the asked length (a 1 ms sleep on a default Windows timer): the waits still
// end at their time, not after all their rounds (80 s for a firmware answer).
TEST(ExchangeWaits, SleepsLongerThanAskedStillEndTheWaitsOnTime) {
    {
        VirtualExchangeRig rig;
        rig.clock.stretch = 16;
        PutImage(rig, Block(4, 9));
        const std::uint64_t took = rig.Run(ExchangeMode::Firmware, 6);
        EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
        EXPECT_GE(took, 5000u);
        EXPECT_LT(took, 5000u + 16);
    }
    {
        VirtualExchangeRig rig;
        rig.clock.stretch = 16;
        const std::uint64_t took = rig.Run(ExchangeMode::Read);
        EXPECT_EQ(rig.Codes(), (Codes{2, 7}));
        EXPECT_GE(took, 10000u);
        EXPECT_LT(took, 10000u + 16 * 50);
    }
}

TEST(ExchangeFirmware, ABlockRunningPastTheImageIsNeverSent) {
    VirtualExchangeRig rig;
    const Bytes first = Block(3, 0xAA);
    // The second block announces 100 bytes, but the image ends 5 bytes into it.
    PutImage(rig, Join({first, {0x00, 0x64, 1, 2, 3}}));
    rig.Script({{5, 0, {0x11}}, {107, 0, {0x11}}});
    rig.Run(ExchangeMode::Firmware, 10);
    EXPECT_EQ(rig.Codes(), (Codes{2, 5, 7}));
    EXPECT_EQ(rig.FromHost(), first);
}

TEST(ExchangeFirmware, AnOddByteAtTheEndIsNeverSent) {
    VirtualExchangeRig rig;
    PutImage(rig, {0x00, 0x00, 0x00});
    rig.Script({{2, 0, {0x11}}, {4, 0, {0x11}}});
    rig.Run(ExchangeMode::Firmware, 3);
    EXPECT_EQ(rig.Codes(), (Codes{2, 5, 7}));
    EXPECT_EQ(rig.FromHost(), (Bytes{0x00, 0x00}));
}

TEST(ExchangeFirmware, BlocksStayInsideTheTransmitBuffer) {
    // A length beyond the buffer: the blocks that fit go, the one past the buffer does not.
    VirtualExchangeRig rig;
    auto tx = rig.link.TransmitBuffer();
    tx[0] = 0xFF; // 65535 + 2 bytes
    tx[1] = 0xFF;
    tx[65537] = 0xDF; // 57342 + 2 bytes: ends exactly at the end of the buffer
    tx[65538] = 0xFE;
    rig.Script({{65537, 0, {0x11}}, {122881, 0, {0x11}}});
    rig.Run(ExchangeMode::Firmware, 130000);
    EXPECT_EQ(rig.Codes(), (Codes{2, 5, 5, 7}));
    EXPECT_EQ(rig.FromHost().size(), kTransmitBufferSize);
}

} // namespace
} // namespace tesmira
