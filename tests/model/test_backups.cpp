#include "model/Backups.h"

#include "model/ConfigFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tesmira {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr BackupTime kTime{2026, 12, 9, 14, 3, 27};

fs::path Utf8Path(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

Bytes ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(BackupNames, SayWhenWhatAndWhichSide) {
    struct Case {
        BackupTime time;
        std::string device;
        int version;
        BackupKind kind;
        std::string name;
    };
    const Case cases[] = {
        {kTime, "Velmar 280", 9, BackupKind::Before,
         "2026-12-09_14-03-27_Velmar-280_v9_before.bcf"},
        {{2027, 1, 2, 3, 4, 5},
         "Velmar 25x (Sorel-MX5)",
         12,
         BackupKind::After,
         "2027-01-02_03-04-05_Velmar-25x-Sorel-MX5_v12_after.bcf"},
        {kTime, "GSM-коммуникатор объектовый", 5, BackupKind::Before,
         "2026-12-09_14-03-27_GSM-коммуникатор-объектовый_v5_before.bcf"},
        {kTime, "a/b\\c:d*e?f\"g<h>i|j_k", 1, BackupKind::After,
         "2026-12-09_14-03-27_a-b-c-d-e-f-g-h-i-j-k_v1_after.bcf"},
        {kTime, " ../", 0, BackupKind::Before, "2026-12-09_14-03-27_.._v0_before.bcf"},
        {kTime, "", 3, BackupKind::Before, "2026-12-09_14-03-27_-_v3_before.bcf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        const std::string name = BackupFileName(c.time, c.device, c.version, c.kind);
        EXPECT_EQ(name, c.name);
        const auto parsed = ParseBackupFileName(Utf8Path(name));
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->time, c.time);
        EXPECT_EQ(parsed->version, c.version);
        EXPECT_EQ(parsed->kind, c.kind);
        EXPECT_EQ(parsed->device, SafeFileNamePart(c.device));
    }
}

TEST(BackupNames, OtherFilesAreNotBackups) {
    for (const char* name :
         {"site.bcf", "2026-12-09_14-03-27_Velmar-280_v9_before.txt",
          "2026-12-09_14-03-27_Velmar-280_v9_during.bcf",
          "2026-12-09_14-03-27_Velmar-280_9_after.bcf", "2026-12-09_14-03-27_v9_after.bcf",
          "2026-12-09 14-03-27_Velmar-280_v9_after.bcf",
          "2026-12-0x_14-03-27_Velmar-280_v9_after.bcf",
          "2026-12-09_14-03-27_Velmar-280_v9_after_1.bcf",
          "2026-12-09_14-03-27_Velmar-280_v-1_after.bcf"}) {
        EXPECT_FALSE(ParseBackupFileName(name).has_value()) << name;
    }
}

TEST(KeepBackup, WritesANewFileEachTimeAndNeverOverAnother) {
    test::TempDir dir;
    const fs::path folder = dir / "backups" / "deeper";
    // Two writes within one second: before, after, and again.
    const Bytes images[] = {{0x01, 0xA0}, {0x01, 0xA1}, {0x01, 0xB0}, {0x01, 0xB1}};
    std::vector<fs::path> files;
    for (int i = 0; i < 4; ++i)
        files.push_back(KeepBackup(folder, kTime, "Velmar 280", 9,
                                   i % 2 ? BackupKind::After : BackupKind::Before, images[i]));
    EXPECT_EQ(files[0].filename(), "2026-12-09_14-03-27_Velmar-280_v9_before.bcf");
    EXPECT_EQ(files[1].filename(), "2026-12-09_14-03-27_Velmar-280_v9_after.bcf");
    EXPECT_EQ(files[2].filename(), "2026-12-09_14-03-27_Velmar-280_v9_before_2.bcf");
    EXPECT_EQ(files[3].filename(), "2026-12-09_14-03-27_Velmar-280_v9_after_2.bcf");
    EXPECT_EQ(ReadAll(files[0]), images[0]);
    EXPECT_EQ(ReadAll(files[2]), images[2]);

    // Newest first.
    const std::vector<BackupEntry> listed = ListBackups(folder);
    ASSERT_EQ(listed.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(listed[i].file, files[3 - i]);
    EXPECT_TRUE(IsInFolder(files[0], folder));
    EXPECT_FALSE(IsInFolder(files[0], dir.path()));
}

TEST(KeepBackup, KeepsTheNewestAndLeavesOtherFilesAlone) {
    test::TempDir dir;
    const fs::path folder = dir.path();
    std::ofstream(folder / "notes.txt") << "mine";
    std::ofstream(folder / "site.bcf") << "mine too";
    const Bytes image = {0x01};
    // Five backups at one second apart, older ones first, with a bound of three.
    for (int second = 0; second < 5; ++second) {
        const BackupTime time{2026, 12, 9, 14, 3, second};
        KeepBackup(folder, time, "Velmar 508", 5,
                   second % 2 ? BackupKind::After : BackupKind::Before, image, 3);
    }
    const std::vector<BackupEntry> listed = ListBackups(folder);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].time.second, 4);
    EXPECT_EQ(listed[2].time.second, 2);
    EXPECT_TRUE(fs::exists(folder / "notes.txt"));
    EXPECT_TRUE(fs::exists(folder / "site.bcf"));

    // The real bound: the 1,001st backup takes the oldest one's place.
    test::TempDir many;
    for (int i = 0; i < 1000; ++i)
        std::ofstream(many /
                      BackupFileName({2020, 1, 1, 0, i / 60, i % 60}, "x", 1, BackupKind::Before));
    KeepBackup(many.path(), kTime, "x", 1, BackupKind::After, image);
    EXPECT_EQ(ListBackups(many.path()).size(), kBackupsKept);
    EXPECT_FALSE(fs::exists(many / "2020-01-01_00-00-00_x_v1_before.bcf"));
    EXPECT_TRUE(fs::exists(many / "2020-01-01_00-00-01_x_v1_before.bcf"));
}

TEST(KeepBackup, AFolderThatCannotBeMadeIsAClearRefusal) {
    test::TempDir dir;
    std::ofstream(dir / "file") << "x";
    EXPECT_THROW(KeepBackup(dir / "file" / "backups", kTime, "x", 1, BackupKind::Before, Bytes{1}),
                 ConfigFileError);
    EXPECT_TRUE(ListBackups(dir / "missing").empty());
}

} // namespace
} // namespace tesmira
