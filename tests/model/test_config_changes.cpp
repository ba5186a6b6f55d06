// What counts as a change of an editor's configuration and which steps its history gets.
#include "model/ConfigChanges.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

const ConfigImage kA = {0x01, 0x00, 0x1A, 0x00, 0x01, 0x05, 0xC7};
const ConfigImage kB = {0x01, 0x00, 0x1A, 0x00, 0x01, 0x06, 0x25};
const ConfigImage kC = {0x01, 0x00, 0x1A, 0x00, 0x01, 0x07, 0x7B};

TEST(ConfigChanges, AStepIsTakenOnlyWhenTheImageDiffersAndChangingBackIsNoChange) {
    ConfigChanges changes(kA);
    EXPECT_FALSE(changes.Changed());
    EXPECT_FALSE(changes.Note(kA).has_value());

    const auto toB = changes.Note(kB);
    ASSERT_TRUE(toB.has_value());
    EXPECT_EQ(toB->before, kA);
    EXPECT_EQ(toB->after, kB);
    EXPECT_TRUE(changes.Changed());
    EXPECT_FALSE(changes.Note(kB).has_value());

    const auto back = changes.Note(kA); // a step of its own, but no change any more
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->before, kB);
    EXPECT_FALSE(changes.Changed());
}

TEST(ConfigChanges, UnchangedIsWhatWasLastSavedOrWritten) {
    ConfigChanges changes(kA);
    changes.Note(kB);
    changes.MarkUnchanged(); // saved
    EXPECT_FALSE(changes.Changed());
    changes.Note(kA);
    EXPECT_TRUE(changes.Changed()); // the saved image is B now, not the first one

    changes.MarkUnchanged(kC); // a write of C was acknowledged while A is shown
    EXPECT_TRUE(changes.Changed());
    changes.Note(kC);
    EXPECT_FALSE(changes.Changed());
    EXPECT_EQ(changes.Shown(), kC);
}

} // namespace
} // namespace tesmira
