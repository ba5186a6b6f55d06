#include "gsm/GsmConfig.h"

#include "link/Frames.h"
#include "model/ConfigFile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tesmira {

void GsmConfig::SetDefaults() {
    record.bytes() = GsmRecord::Template();
    events.SetDefaults();
    events.Store(record.EventArea());
    captions.Clear();
}

GsmReplyOutcome GsmConfig::LoadFromReply(std::span<const std::uint8_t> reply) {
    // Nothing past the frame's own length counts, and its last byte is the CRC.
    const std::size_t frame = std::min(reply.size(), ExpectedFrameLength(reply));
    const std::size_t dataEnd = frame == 0 ? 0 : frame - 1;
    if (dataEnd < kGsmReplyRecordAt + GsmRecord::kSize)
        return GsmReplyOutcome::RecordIncomplete;
    const std::size_t lengthAt = kGsmReplyRecordAt + GsmRecord::kCaptionHeader + 2;
    const std::size_t length = std::size_t{reply[lengthAt]} << 8 | reply[lengthAt + 1];
    // The caption table alone decides what a block may be; the reply only bounds what it holds.
    // The block goes first: a refused one leaves the record too as it was.
    if (length > dataEnd - kGsmReplyCaptionsAt ||
        !captions.AssignBlock(reply.subspan(kGsmReplyCaptionsAt, length))) {
        if (length < kCaptionHeaderSize)
            return GsmReplyOutcome::CaptionsTooShort;
        if (length > kCaptionBufferSize)
            return GsmReplyOutcome::CaptionsPastBuffer;
        return GsmReplyOutcome::CaptionsPastReply;
    }
    std::copy_n(reply.begin() + kGsmReplyRecordAt, GsmRecord::kSize, record.bytes().begin());
    phones = ShowPhones(record.PhoneArea());
    events.Show(record.EventArea());
    captions.Show();
    return GsmReplyOutcome::Loaded;
}

bool GsmConfig::LoadFromFile(ConfigFile& reader) {
    GsmRecord::Bytes bytes{};
    if (reader.ReadRecord(bytes, bytes.size()) == 0)
        return false;
    std::array<std::uint8_t, kCaptionBufferSize> block{};
    const std::size_t length = reader.ReadRecord(block, 0);
    // The caption block is the last thing that can be refused, and a refusal changes nothing.
    if (length == 0 || !captions.AssignBlock(std::span(block).first(length)))
        throw ConfigFileError(kFileDamagedText);

    record.bytes() = bytes;
    phones = ShowPhones(record.PhoneArea());
    events.Show(record.EventArea());
    captions.Show();
    return true;
}

void GsmConfig::Commit() {
    StorePhones(phones, record.PhoneArea());
    events.Store(record.EventArea());
    captions.Build();
    captions.Show();
}

GsmWriteFrame GsmConfig::WriteFrame(std::span<std::uint8_t> tx) const {
    const std::span<const std::uint8_t> block = captions.block();
    if (kGsmReplyCaptionsAt + block.size() + 1 > kGsmWriteFrameMax)
        return {0, true};
    std::vector<std::uint8_t> payload(record.bytes().begin(),
                                      record.bytes().begin() + GsmRecord::kCaptionHeader);
    payload.insert(payload.end(), block.begin(), block.end());
    return {
        WriteLongFrame(tx, LongCommand::WriteConfig, GsmRecord::kType, kGsmReplyRecordAt, payload),
        false};
}

} // namespace tesmira
