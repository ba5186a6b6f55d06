#include "app/DeviceBackups.h"

#include "app/DeviceConfigs.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"

namespace tesmira {

BackupDevice BackupDeviceOf(std::span<const std::uint8_t> reply) {
    return {DeviceTypeName(ReplyDeviceType(reply)), ReplyVersion(reply)};
}

std::filesystem::path KeepReplyBackup(const std::filesystem::path& folder, const BackupTime& time,
                                      std::span<const std::uint8_t> reply) {
    const std::unique_ptr<DeviceConfig> config = MakeDeviceConfig(ReplyDeviceType(reply));
    if (!config)
        throw ConfigFileError("Данный прибор не поддерживается программатором");
    if (const ConfigLoad load = config->LoadFromReply(reply); !load.Taken())
        throw ConfigFileError(load.refusal);
    const BackupDevice device = BackupDeviceOf(reply);
    return KeepBackup(folder, time, device.name, device.version, BackupKind::Before,
                      config->Image());
}

std::filesystem::path KeepWrittenBackup(const std::filesystem::path& folder, const BackupTime& time,
                                        const BackupDevice& device,
                                        std::span<const std::uint8_t> image) {
    return KeepBackup(folder, time, device.name, device.version, BackupKind::After, image);
}

} // namespace tesmira
