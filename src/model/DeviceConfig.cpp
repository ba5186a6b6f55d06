#include "model/DeviceConfig.h"

#include "model/ConfigFile.h"

namespace tesmira {

std::vector<std::uint8_t> DeviceConfig::Image() const {
    ConfigFile file(Type());
    for (std::span<const std::uint8_t> block : FileBlocks())
        file.AddRecord(block);
    return file.Image();
}

ConfigLoad DeviceConfig::LoadImage(std::span<const std::uint8_t> image) {
    try {
        ConfigFile reader;
        if (reader.LoadFromBytes(image) != Type())
            return {std::string(kImageOfOtherTypeText)};
        if (!LoadFromFile(reader))
            return {kFileDamagedText};
    } catch (const ConfigFileError& error) {
        return {error.what()};
    }
    return {};
}

} // namespace tesmira
