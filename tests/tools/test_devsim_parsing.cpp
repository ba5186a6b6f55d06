// The simulator's own frame code: its CRC, and how it cuts a hostile byte stream into frames.
#include "devsim/SimAssembler.h"

#include <gtest/gtest.h>

#include <random>

namespace tesmira::devsim {
namespace {

using namespace std::chrono_literals;
using Kind = Piece::Kind;

const Bytes kReadRequest = {0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3};

Bytes Text(const char* s) {
    return Bytes(s, s + std::char_traits<char>::length(s));
}

TEST(DevsimCrc, CheckValues) {
    EXPECT_EQ(Crc8({}), 0x00);
    EXPECT_EQ(Crc8(Bytes{0x01}), 0x64);
    EXPECT_EQ(Crc8(Bytes{0xFF}), 0x23);
    EXPECT_EQ(Crc8(Text("123456789")), 0x56);
    EXPECT_EQ(Crc8(Text("abc")), 0x87);
}

TEST(DevsimFrames, BuildersLayOutBothForms) {
    const std::uint8_t head[] = {0x52, 0x01, 0x00};
    const std::uint8_t zeros[4] = {};
    EXPECT_EQ(ShortFrame(head, zeros), kReadRequest);
    const std::uint8_t type32[] = {0x20};
    EXPECT_EQ(LongFrame(1, type32, {}), (Bytes{0x14, 0x01, 0x00, 0x06, 0x20, 0x16}));
}

TEST(DevsimFrames, MonitorLineNamesFormCommandTypeLengthAndCrc) {
    EXPECT_EQ(DescribeFrame(kReadRequest, Direction::Received),
              "short cmd 'R' type 0 len 10 crc ok");
    Bytes bad = kReadRequest;
    bad.back() ^= 1;
    EXPECT_EQ(DescribeFrame(bad, Direction::Received), "short cmd 'R' type 0 len 10 crc BAD");
    const Bytes ack34 = {0x14, 0x00, 0x00, 0x07, 0x22, 0x03, 0x02};
    EXPECT_EQ(DescribeFrame(ack34, Direction::Sent), "long sub 0 type 34 version 3 len 7 crc ok");
    EXPECT_EQ(Hex(Bytes{0x7E, 0x0A, 0x05}), "7E 0A 05");
}

class AssemblerTest : public ::testing::Test {
protected:
    std::vector<Piece> Feed(const Bytes& b, InputMode mode = InputMode::Config) {
        return assembler.Feed(b, mode, now);
    }
    Clock::time_point now{};
    Assembler assembler{500ms};
};

TEST_F(AssemblerTest, FrameFedByteByByteComesOutOnceWhole) {
    for (std::size_t i = 0; i + 1 < kReadRequest.size(); ++i)
        EXPECT_TRUE(Feed({kReadRequest[i]}).empty()) << i;
    auto pieces = Feed({kReadRequest.back()});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].kind, Kind::Frame);
    EXPECT_EQ(pieces[0].bytes, kReadRequest);
    EXPECT_EQ(assembler.pending(), 0u);
}

TEST_F(AssemblerTest, GarbageBeforeAFrameIsDiscardedAsOneRun) {
    Bytes in = {0x00, 0x52, 0xFF, 0x13};
    in.insert(in.end(), kReadRequest.begin(), kReadRequest.end());
    auto pieces = Feed(in);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].kind, Kind::Discarded);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x00, 0x52, 0xFF, 0x13}));
    EXPECT_EQ(pieces[1].bytes, kReadRequest);
}

TEST_F(AssemblerTest, LengthFieldsTooSmallAreSkippedWithoutWaiting) {
    Bytes in = {0x7E, 0x00, 0x14, 0x00, 0x00, 0x00, 0x7E, 0x05};
    in.insert(in.end(), kReadRequest.begin(), kReadRequest.end());
    auto pieces = Feed(in);
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces.back().kind, Kind::Frame);
    EXPECT_EQ(pieces.back().bytes, kReadRequest);
}

TEST_F(AssemblerTest, FrameWithWrongCrcIsDroppedAndTheNextOneFound) {
    Bytes in = kReadRequest;
    in.back() ^= 0x01;
    in.insert(in.end(), kReadRequest.begin(), kReadRequest.end());
    auto pieces = Feed(in);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].kind, Kind::Discarded);
    EXPECT_EQ(pieces[0].why, "CRC mismatch");
    EXPECT_EQ(pieces[1].kind, Kind::Frame);
}

TEST_F(AssemblerTest, PartialFrameAfterAPauseIsDiscardedAndServingGoesOn) {
    Feed(Bytes(kReadRequest.begin(), kReadRequest.begin() + 6));
    now += 400ms; // within the pause: still one frame
    Feed(Bytes(kReadRequest.begin() + 6, kReadRequest.end()));
    Feed(Bytes(kReadRequest.begin(), kReadRequest.begin() + 6));
    now += 600ms;
    auto expired = assembler.Expire(now);
    ASSERT_EQ(expired.size(), 1u);
    EXPECT_EQ(expired[0].kind, Kind::Discarded);
    EXPECT_EQ(expired[0].bytes.size(), 6u);
    auto pieces = Feed(kReadRequest);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].kind, Kind::Frame);
}

TEST_F(AssemblerTest, LateRestOfAFrameDoesNotJoinItsStale) {
    Feed(Bytes(kReadRequest.begin(), kReadRequest.begin() + 6));
    now += 600ms; // no Expire call in between: Feed itself drops the stale part first
    auto pieces = Feed(kReadRequest);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].kind, Kind::Discarded);
    EXPECT_EQ(pieces[1].bytes, kReadRequest);
}

TEST_F(AssemblerTest, OversizeLongLengthWaitsThenGoesAtThePause) {
    Bytes in = {0x14, 0x00, 0xFF, 0xFF};
    in.resize(5000, 0xAA);
    EXPECT_TRUE(Feed(in).empty());
    now += 600ms;
    EXPECT_EQ(assembler.Expire(now).size(), 1u);
    EXPECT_EQ(assembler.pending(), 0u);
    EXPECT_EQ(Feed(kReadRequest).size(), 1u);
}

TEST_F(AssemblerTest, FirmwareBlocksAreCutByTheirLengthIncludingEmptyOnes) {
    auto pieces = Feed({0x00, 0x00, 0x00, 0x03, 0xA1, 0xA2, 0xA3, 0x00}, InputMode::Firmware);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x00, 0x00}));
    EXPECT_EQ(pieces[1].bytes, (Bytes{0x00, 0x03, 0xA1, 0xA2, 0xA3}));
    EXPECT_EQ(assembler.pending(), 1u);
    // A change of line speed ends whatever was half received at the old one.
    pieces = Feed(kReadRequest, InputMode::Config);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].kind, Kind::Discarded);
    EXPECT_EQ(pieces[1].bytes, kReadRequest);
}

TEST_F(AssemblerTest, RandomInputNeverStopsItFindingTheNextRequest) {
    std::mt19937 rng(6);
    for (int round = 0; round < 300; ++round) {
        Bytes junk(rng() % 300);
        for (auto& b : junk) // start bytes often, so lengths and CRCs get exercised
            b = rng() % 4 == 0 ? (rng() % 2 ? 0x7E : 0x14) : static_cast<std::uint8_t>(rng());
        Feed(junk, rng() % 5 ? InputMode::Config : InputMode::Firmware);
        now += 600ms;
        assembler.Expire(now);
        auto pieces = Feed(kReadRequest);
        ASSERT_FALSE(pieces.empty()) << round;
        EXPECT_EQ(pieces.back().bytes, kReadRequest) << round;
    }
}

} // namespace
} // namespace tesmira::devsim
