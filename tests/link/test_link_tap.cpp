// The tap: silent while nobody listens, bounded, and fed by the port's writes and reads.
#include "link/LinkModule.h"
#include "support/LinkFakes.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

using test::Bytes;

TEST(LinkTap, RecordsNothingWhileNobodyListensAndForgetsWhenTheListenerLeaves) {
    LinkTap tap(8);
    const Bytes chunk = {0x7E, 0x0A};
    tap.RecordBytes(TapEventKind::Sent, 1, chunk.data(), chunk.size());
    tap.RecordStart(1, ExchangeMode::Read, 9600, 0);
    EXPECT_TRUE(tap.Take().events.empty());

    tap.Listen(true);
    tap.RecordBytes(TapEventKind::Sent, 2, chunk.data(), chunk.size());
    tap.Listen(false);
    tap.Listen(true);
    EXPECT_TRUE(tap.Take().events.empty());
}

TEST(LinkTap, AFullQueueDropsTheOldestAndCountsThem) {
    LinkTap tap(3);
    tap.Listen(true);
    for (std::uint8_t i = 1; i <= 5; ++i)
        tap.RecordBytes(TapEventKind::Received, i, &i, 1);
    TapBatch batch = tap.Take();
    EXPECT_EQ(batch.dropped, 2u);
    ASSERT_EQ(batch.events.size(), 3u);
    EXPECT_EQ(batch.events[0].bytes, Bytes{3});
    EXPECT_EQ(batch.events[0].timeMs, 3u);
    EXPECT_EQ(batch.events[2].bytes, Bytes{5});

    std::uint8_t b = 6;
    tap.RecordBytes(TapEventKind::Received, 6, &b, 1);
    batch = tap.Take(); // the count starts again with each take
    EXPECT_EQ(batch.dropped, 0u);
    EXPECT_EQ(batch.events.size(), 1u);
}

TEST(LinkTap, TheModuleShowsWhatThePortWroteAndReadWithTheLinksClock) {
    test::VirtualClock clock;
    test::ManualPollTimer timer;
    auto backend = std::make_unique<test::FakeSerialBackend>();
    test::FakeSerialBackend& line = *backend;
    LinkModule link(timer, clock, std::move(backend));
    link.tap.Listen(true);
    line.writeRoom = 4; // the frame goes out in two writes
    ASSERT_TRUE(link.port.Connect());
    const Bytes frame = {1, 2, 3, 4, 5, 6};
    std::copy(frame.begin(), frame.end(), link.TransmitBuffer().begin());
    link.SendFrame(frame.size());
    line.writeRoom = SIZE_MAX;
    link.SendFrame(2);
    line.input = {0x11, 0x22};
    clock.Advance(5);
    const std::uint64_t polledAt = clock.NowMs();
    timer.Fire();

    const TapBatch batch = link.tap.Take();
    ASSERT_EQ(batch.events.size(), 3u);
    EXPECT_EQ(batch.events[0].kind, TapEventKind::Sent);
    EXPECT_EQ(batch.events[0].bytes, (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(batch.events[1].bytes, (Bytes{1, 2}));
    EXPECT_EQ(batch.events[2].kind, TapEventKind::Received);
    EXPECT_EQ(batch.events[2].bytes, (Bytes{0x11, 0x22}));
    EXPECT_EQ(batch.events[2].timeMs, polledAt);
}

} // namespace
} // namespace tesmira
