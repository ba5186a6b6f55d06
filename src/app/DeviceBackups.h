// The backups a write leaves, made without a window: what the device answered before the write,
// taken out of its reply by its type's own rules, and what it was given.
#pragma once

#include "model/Backups.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace tesmira {

// The device a backup is of, as its reply named it.
struct BackupDevice {
    std::string name;
    int version = 0;
};

BackupDevice BackupDeviceOf(std::span<const std::uint8_t> reply);

// Keeps the configuration in `reply` (an accepted read reply) as a "before" backup. Throws
// ConfigFileError with the text for the user when the reply's type has no configuration, the
// reply holds no whole one, or the file cannot be written.
std::filesystem::path KeepReplyBackup(const std::filesystem::path& folder, const BackupTime& time,
                                      std::span<const std::uint8_t> reply);

// Keeps `image`, the configuration image of what `device` was given, as its "after" backup;
// throws as KeepReplyBackup does.
std::filesystem::path KeepWrittenBackup(const std::filesystem::path& folder, const BackupTime& time,
                                        const BackupDevice& device,
                                        std::span<const std::uint8_t> image);

} // namespace tesmira
