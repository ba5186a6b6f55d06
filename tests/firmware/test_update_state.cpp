// What the firmware window shows as the reports of its transfer come in, in either order of the
// queued progress and the final report.
#include "firmware/UpdateState.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

struct Shown {
    bool updating;
    bool barVisible;
    int position;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* out) {
    *out << "{updating " << s.updating << ", bar " << s.barVisible << ", at " << s.position << "}";
}

Shown Of(const FirmwareUpdateState& state) {
    return {state.Updating(), state.BarVisible(), state.Position()};
}

constexpr ExchangeReport kOpened = ExchangeReport::PortOpened;
constexpr ExchangeReport kProgress = ExchangeReport::FirmwareProgress;

TEST(FirmwareUpdateState, ProgressMovesTheBarAndTheFinalHundredHidesIt) {
    FirmwareUpdateState state;
    EXPECT_EQ(Of(state), (Shown{false, false, 0}));
    state.Start();
    EXPECT_EQ(Of(state), (Shown{true, false, 0}));
    EXPECT_EQ(state.Report(kOpened, 0), UpdateOutcome::None);
    EXPECT_EQ(Of(state), (Shown{true, true, 0}));
    for (int percent : {0, 10, 20, 98}) {
        EXPECT_EQ(state.Report(kProgress, percent), UpdateOutcome::None);
        EXPECT_EQ(Of(state), (Shown{true, true, percent}));
    }
    EXPECT_EQ(state.Report(kProgress, 100), UpdateOutcome::Updated);
    EXPECT_EQ(Of(state), (Shown{false, false, 98}));
}

// Progress is queued, the final report is not: a progress value handled after it must neither
// show the bar again nor start counting as a running transfer.
TEST(FirmwareUpdateState, ProgressArrivingAfterTheEndChangesNothing) {
    FirmwareUpdateState state;
    state.Start();
    state.Report(kOpened, 0);
    state.Report(kProgress, 40);
    ASSERT_EQ(state.Report(kProgress, 100), UpdateOutcome::Updated);
    EXPECT_EQ(state.Report(kProgress, 60), UpdateOutcome::None);
    EXPECT_EQ(state.Report(kOpened, 0), UpdateOutcome::None);
    EXPECT_EQ(state.Report(kProgress, 100), UpdateOutcome::None);
    EXPECT_EQ(Of(state), (Shown{false, false, 40}));
}

TEST(FirmwareUpdateState, RefusedOrUnansweredBlockLeavesTheBarAtItsLastPosition) {
    FirmwareUpdateState state;
    state.Start();
    state.Report(kOpened, 0);
    state.Report(kProgress, 30);
    EXPECT_EQ(state.Report(ExchangeReport::NoValidReply, 0), UpdateOutcome::NoAnswer);
    EXPECT_EQ(Of(state), (Shown{false, true, 30}));

    // The next transfer shows it at 0 once its port is open, not before.
    state.Start();
    EXPECT_EQ(Of(state), (Shown{true, true, 30}));
    state.Report(kOpened, 0);
    EXPECT_EQ(Of(state), (Shown{true, true, 0}));
}

TEST(FirmwareUpdateState, PortThatCannotBeOpenedEndsTheTransferWithoutTheBar) {
    FirmwareUpdateState state;
    state.Start();
    EXPECT_EQ(state.Report(ExchangeReport::PortFailed, 0), UpdateOutcome::PortFailed);
    EXPECT_EQ(Of(state), (Shown{false, false, 0}));
}

TEST(FirmwareUpdateState, CodesOfOtherExchangesAreIgnored) {
    FirmwareUpdateState state;
    state.Start();
    state.Report(kOpened, 0);
    state.Report(kProgress, 20);
    for (int code : {0, 1, 3, 4, 8, 9, -1, 1025}) {
        EXPECT_EQ(state.Report(static_cast<ExchangeReport>(code), 100), UpdateOutcome::None)
            << code;
        EXPECT_EQ(Of(state), (Shown{true, true, 20})) << code;
    }
}

TEST(FirmwareUpdateState, ReportsBeforeAnyTransferOrAfterLeavingAreIgnored) {
    FirmwareUpdateState state;
    EXPECT_EQ(state.Report(kOpened, 0), UpdateOutcome::None);
    EXPECT_EQ(state.Report(ExchangeReport::NoValidReply, 0), UpdateOutcome::None);
    EXPECT_EQ(Of(state), (Shown{false, false, 0}));

    state.Start();
    state.Report(kOpened, 0);
    state.Report(kProgress, 50);
    state.Abandon();
    EXPECT_EQ(state.Report(kProgress, 100), UpdateOutcome::None);
    EXPECT_EQ(state.Report(ExchangeReport::NoValidReply, 0), UpdateOutcome::None);
    EXPECT_FALSE(state.Updating());
}

} // namespace
} // namespace tesmira
