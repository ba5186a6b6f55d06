#include "model/DeviceConfig.h"

#include "link/Frames.h"
#include "model/ConfigFile.h"

#include <algorithm>

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

bool TakeReplyRecord(std::span<const std::uint8_t> reply, std::span<std::uint8_t> record) {
    // Bounded by the frame, not by the buffer it arrived in: the bytes behind a short reply are
    // the CRC and zeros, never a record.
    const std::size_t offset = ReplyPayloadOffset(reply);
    const std::size_t frame = ExpectedFrameLength(reply);
    if (offset == 0 || frame > reply.size() || frame < offset + 1 ||
        record.size() > frame - 1 - offset)
        return false;
    std::copy_n(reply.begin() + static_cast<std::ptrdiff_t>(offset), record.size(), record.begin());
    return true;
}

} // namespace tesmira
