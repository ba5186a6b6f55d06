#include "gsm/GsmDeviceConfig.h"

namespace tesmira {

ConfigLoad GsmDeviceConfig::LoadFromReply(std::span<const std::uint8_t> reply) {
    switch (gsm.LoadFromReply(reply)) {
    case GsmReplyOutcome::Loaded:
        return {};
    case GsmReplyOutcome::RecordIncomplete:
        return {std::string(kReplyIncompleteText)};
    default:
        return {std::string(kGsmReplyCaptionsDamagedText)};
    }
}

ConfigFrame GsmDeviceConfig::WriteFrame(std::span<std::uint8_t> tx) const {
    const GsmWriteFrame frame = gsm.WriteFrame(tx);
    if (frame.tooLarge)
        return {0, std::string(kGsmTooLargeText)};
    return {frame.length, {}};
}

std::vector<std::span<const std::uint8_t>> GsmDeviceConfig::FileBlocks() const {
    return {gsm.record.bytes(), gsm.captions.block()};
}

std::vector<std::uint8_t> GsmDeviceConfig::CommittedImage() const {
    GsmDeviceConfig committed(*this);
    committed.gsm.Commit();
    return committed.Image();
}

} // namespace tesmira
