// Each fault the simulator can make, met by the real link: the report the exchange gives for it.
// Where the outcome is a time-out running out, the link sleeps on the fast clock (a tenth of each
// wait): the exact waits are checked in virtual time, here the line is.
#include "tools/SimLink.h"

#include <gtest/gtest.h>

namespace tesmira::test {
namespace {

using namespace std::chrono_literals;
using Codes = std::vector<int>;

// The type 26 write frame of the factory record.
const Bytes kWriteFrame26 = {0x7E, 0x13, 0x57, 0x01, 0x1A, 0x01, 0x08, 0x05, 0x02, 0x03,
                             0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xD9};
const Bytes kListFiles = {0x14, 0x01, 0x00, 0x06, 0x20, 0x16};

constexpr int kSpeedUp = FastSleepClock::kSpeedUp;

TEST(SimReplyFaults, SilentDeviceIsGivenUpAfterTenSeconds) {
    FastSleepClock fast;
    SimLink rig({"--type", "26", "--silent"}, fast);
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 7}));
    EXPECT_GE(out.Between(ExchangeReport::PortOpened, ExchangeReport::NoValidReply) * kSpeedUp,
              9990ms);
    EXPECT_FALSE(rig.link.port.Connected());
}

TEST(SimReplyFaults, WrongCrcIsRefused) {
    SimLink rig({"--type", "26", "--version", "9", "--bad-crc"});
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 7}));
    // The whole reply came; only its last byte is off (F1 inverted).
    const Bytes rx = rig.Received();
    ASSERT_EQ(rx.size(), 19u);
    EXPECT_EQ(rx[18], 0x0E);
}

TEST(SimReplyFaults, ByteAfterACompleteAcknowledgementFailsTheWrite) {
    SimLink rig({"--type", "26", "--extra-byte"});
    rig.Put(kWriteFrame26);
    const ExchangeOutcome out = rig.Run(ExchangeMode::Write, 19);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 7}));
    EXPECT_EQ(rig.Received().size(), 7u); // a 6-byte frame and one more
}

TEST(SimReplyFaults, TruncatedReplyIsWaitedForOneAndAHalfSecondsThenRefused) {
    FastSleepClock fast;
    SimLink rig({"--type", "30", "--truncate", "1"}, fast);
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 7}));
    EXPECT_EQ(rig.Received().size(), 63u);
    EXPECT_GE(out.Between(ExchangeReport::ReplyStarted, ExchangeReport::NoValidReply) * kSpeedUp,
              1490ms);
}

TEST(SimReplyFaults, ZeroLengthFieldIsRefusedWithoutWaitingForMore) {
    SimLink rig({"--type", "26", "--zero-length"});
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 7}));
    const Bytes rx = rig.Received();
    ASSERT_EQ(rx.size(), 19u);
    EXPECT_EQ(rx[1], 0x00);
    // Waiting would take 1.5 s; a refusal at once leaves a wide margin for a loaded machine.
    EXPECT_LT(out.Between(ExchangeReport::ReplyStarted, ExchangeReport::NoValidReply), 1000ms);
}

TEST(SimReplyFaults, ZeroLengthInALongFileListReplyIsRefused) {
    SimLink rig({"--type", "32", "--files", "a.amr", "--zero-length"});
    rig.Put(kListFiles);
    const ExchangeOutcome out = rig.Run(ExchangeMode::FileCommand, 6);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 7}));
    const Bytes rx = rig.Received();
    ASSERT_GE(rx.size(), 4u);
    EXPECT_EQ(rx[2], 0x00);
    EXPECT_EQ(rx[3], 0x00);
}

TEST(SimReplyFaults, LateReplyWithinTheFirstWaitIsAccepted) {
    SimLink rig({"--type", "33", "--version", "2", "--delay", "3000"});
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 0}));
    EXPECT_GE(out.Between(ExchangeReport::PortOpened, ExchangeReport::ReplyStarted), 2900ms);
    const Bytes rx = rig.Received();
    ASSERT_EQ(rx.size(), 26u);
    EXPECT_EQ(Bytes(rx.begin() + 5, rx.begin() + 10), (Bytes{0x07, 0x17, 0x05, 0x14, 0x06}));
}

TEST(SimReplyFaults, ReplyInPiecesWithinTheRestWaitIsAccepted) {
    // 391 bytes in three pieces 300 ms apart: the last comes 600 ms after the first.
    SimLink rig({"--type", "32", "--version", "7", "--split", "3", "--split-pause", "300"});
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 0}));
    EXPECT_GE(out.Between(ExchangeReport::ReplyStarted, ExchangeReport::Identified), 400ms);
    const Bytes rx = rig.Received();
    ASSERT_EQ(rx.size(), 391u);
    EXPECT_EQ(Bytes(rx.end() - 5, rx.end() - 1), (Bytes{0x00, 0x01, 0x00, 0x04}));
}

TEST(SimReplyFaults, RestOfAReplyAfterTheRestWaitIsTooLate) {
    FastSleepClock fast; // the rest wait is over after 150 ms; the rest comes after 1.5 s
    SimLink rig({"--type", "26", "--split", "2", "--split-pause", "1500"}, fast);
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (Codes{2, 3, 7}));
    EXPECT_EQ(rig.Received().size(), 10u); // the first half of 19 bytes
}

} // namespace
} // namespace tesmira::test
