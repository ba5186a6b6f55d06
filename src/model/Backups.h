// Copies of what a device held before a write and of what it was given: ordinary configuration
// files in one folder, named so that they sort by time and say what they are, e.g.
// "2026-12-09_14-03-27_Velmar-280_v9_before.bcf". The folder is bounded to the newest files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

enum class BackupKind { Before, After };

// A local date and time to the second, as the caller's clock gives it.
struct BackupTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool operator==(const BackupTime&) const = default;
};

// The local time of `moment`.
BackupTime LocalBackupTime(std::time_t moment);

struct BackupEntry {
    std::filesystem::path file;
    BackupTime time;
    std::string device; // as it stands in the name (UTF-8)
    int version = 0;
    BackupKind kind = BackupKind::Before;
};

inline constexpr std::size_t kBackupsKept = 1000;

// The device name with every character that is not safe in a file name on any system (ASCII
// other than letters, digits and '.', runs of them made one '-') replaced; letters outside ASCII
// stay as they are.
std::string SafeFileNamePart(std::string_view deviceName);

// The file name of a backup (UTF-8), without the folder.
std::string BackupFileName(const BackupTime& time, std::string_view deviceName, int version,
                           BackupKind kind);

// What a backup's file name says; nullopt for a file that is not named as a backup.
std::optional<BackupEntry> ParseBackupFileName(const std::filesystem::path& file);

// Writes `image` as a new backup in `folder` (created when missing) and then deletes the oldest
// backups beyond `kept`; files in the folder that are not named as backups are never touched.
// The file is written whole or not at all and never over another one: a name already taken gets
// "_2", "_3"... before its extension. Returns the file written; throws ConfigFileError with the
// text for the user when it cannot be written.
std::filesystem::path KeepBackup(const std::filesystem::path& folder, const BackupTime& time,
                                 std::string_view deviceName, int version, BackupKind kind,
                                 std::span<const std::uint8_t> image,
                                 std::size_t kept = kBackupsKept);

// The backups in `folder`, newest first; none when the folder does not exist.
std::vector<BackupEntry> ListBackups(const std::filesystem::path& folder);

// Whether `file` lies directly in `folder` (which the program never saves over).
bool IsInFolder(const std::filesystem::path& file, const std::filesystem::path& folder);

} // namespace tesmira
