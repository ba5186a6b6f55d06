#include "app/DeviceBackups.h"

#include "model/ConfigFile.h"
#include "support/FactoryRecords.h"
#include "support/LinkFrames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tesmira {
namespace {

using test::Bytes;

constexpr BackupTime kTime{2026, 12, 9, 14, 3, 27};

TEST(DeviceBackups, TheReplysRecordIsKeptAsTheFileSaveAsWouldWrite) {
    test::TempDir dir;
    const auto file = KeepReplyBackup(dir.path(), kTime, test::kReply26);
    EXPECT_EQ(file.filename(), "2026-12-09_14-03-27_Miren-1_v9_before.bcf");
    std::ifstream in(file, std::ios::binary);
    const Bytes kept(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(kept, test::kFactoryFile26);
}

TEST(DeviceBackups, AReplyWithoutAWholeConfigurationKeepsNothing) {
    test::TempDir dir;
    // A type without an editor, and a type 30 reply far too short for its record.
    for (const Bytes& reply : {test::ShortReply(29, 20), test::ShortReply(30, 20)}) {
        EXPECT_THROW(KeepReplyBackup(dir.path(), kTime, reply), ConfigFileError);
    }
    EXPECT_TRUE(ListBackups(dir.path()).empty());
}

} // namespace
} // namespace tesmira
