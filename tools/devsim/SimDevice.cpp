#include "SimDevice.h"

#include <algorithm>

namespace tesmira::devsim {

namespace {

constexpr std::uint8_t kRead = 'R';
constexpr std::uint8_t kWrite = 'W';
constexpr std::uint8_t kSubWrite = 0, kSubList = 1, kSubDelete = 2, kSubUpload = 3;
constexpr std::size_t kReadRequestLength = 10;
constexpr std::size_t kNameField = 10;        // zero-padded file name at bytes 5..14
constexpr std::uint8_t kNameSeparator = 0x0A; // any byte below 0x14 ends a name in the list

} // namespace

Device::Device(std::uint8_t type, std::uint8_t version, Faults faults)
    : type_(type), version_(version), faults_(faults), record_(DefaultRecord(type)),
      captions_(type == kGsmType ? DefaultCaptions() : Bytes{}) {}

bool Device::Load(Bytes record, Bytes captions, std::string& error) {
    const std::size_t size = RecordSize(type_);
    if (size != 0 && record.size() != size) {
        error = "the record of type " + std::to_string(type_) + " has " + std::to_string(size) +
                " bytes, not " + std::to_string(record.size());
        return false;
    }
    if (type_ == kGsmType) {
        if (captions.size() < kMinCaptionBlock ||
            static_cast<std::size_t>(captions[2] << 8 | captions[3]) != captions.size()) {
            error = "the caption block's length field does not match its size";
            return false;
        }
        std::copy_n(captions.begin(), kMinCaptionBlock, record.begin() + kGsmHeaderInRecord);
    }
    record_ = std::move(record);
    captions_ = std::move(captions);
    return true;
}

void Device::AddFile(std::string name, Bytes content) {
    auto same =
        std::find_if(files_.begin(), files_.end(), [&](const auto& f) { return f.first == name; });
    if (same != files_.end())
        same->second = std::move(content);
    else
        files_.emplace_back(std::move(name), std::move(content));
}

std::optional<Bytes> Device::AnswerFrame(std::span<const std::uint8_t> f, std::string& note) {
    transferDone_ = true;
    auto reply = f[0] == kShortStart ? AnswerShort(f, note) : AnswerLong(f, note);
    if (!reply)
        return std::nullopt;
    if (faults_.silent) {
        note = "silent (fault)";
        return std::nullopt;
    }
    return WithFaults(std::move(*reply));
}

std::optional<Bytes> Device::AnswerShort(std::span<const std::uint8_t> f, std::string& note) {
    if (f[3] != 0x01) {
        note = "byte 3 is not 0x01: ignored";
        return std::nullopt;
    }
    if (f[2] == kRead) {
        if (f.size() != kReadRequestLength) {
            note = "read request of the wrong length: ignored";
            return std::nullopt;
        }
        return ReadReply();
    }
    if (f[2] != kWrite || FormOf(type_) != Form::Short) {
        note = "not a command of this device: ignored";
        return std::nullopt;
    }
    const auto record = f.subspan(5, f.size() - 6);
    const std::size_t size = RecordSize(type_);
    if (f[4] != type_ || (size != 0 && record.size() != size)) {
        note = "write for another type or of the wrong size: ignored";
        return std::nullopt;
    }
    record_.assign(record.begin(), record.end());
    note = "record replaced";
    return WriteAck();
}

std::optional<Bytes> Device::AnswerLong(std::span<const std::uint8_t> f, std::string& note) {
    if (FormOf(type_) != Form::Long || f[4] != type_) {
        note = "long frame for another type: ignored";
        return std::nullopt;
    }
    if (f[1] != kSubWrite)
        return FileCommand(f, note);
    if (type_ == kGsmType)
        return WriteGsm(f, note);
    // Type 34 puts its record at byte 5, type 35 leaves byte 5 out and starts at 6.
    const std::size_t at = type_ == 34 ? 5 : 6;
    if (f.size() != at + RecordSize(type_) + 1) {
        note = "write of the wrong size: ignored";
        return std::nullopt;
    }
    record_.assign(f.begin() + static_cast<std::ptrdiff_t>(at), f.end() - 1);
    note = "record replaced";
    return WriteAck();
}

// Record bytes 0..379 at 6..385, then the caption block from 386 to the CRC.
std::optional<Bytes> Device::WriteGsm(std::span<const std::uint8_t> f, std::string& note) {
    constexpr std::size_t kBlockAt = 6 + kGsmHeaderInRecord;
    if (f.size() < kBlockAt + kMinCaptionBlock + 1 || f.size() > kMaxWriteFrame32) {
        note = "write of the wrong size: ignored";
        return std::nullopt;
    }
    Bytes captions(f.begin() + kBlockAt, f.end() - 1);
    Bytes record(f.begin() + 6, f.begin() + kBlockAt);
    record.resize(kGsmRecordSize);
    if (!Load(std::move(record), std::move(captions), note))
        return std::nullopt;
    note = "record and caption block replaced";
    return WriteAck();
}

std::optional<Bytes> Device::FileCommand(std::span<const std::uint8_t> f, std::string& note) {
    if (type_ != kGsmType || f[1] > kSubUpload) {
        note = "not a command of this device: ignored";
        return std::nullopt;
    }
    if (f[1] == kSubList)
        return FileList(f[1]);
    if (f.size() < 5 + kNameField + 1) {
        note = "file command too short: ignored";
        return std::nullopt;
    }
    const auto field = f.subspan(5, kNameField);
    const std::string name(field.begin(), std::find(field.begin(), field.end(), 0));
    if (f[1] == kSubDelete) {
        std::erase_if(files_, [&](const auto& file) { return file.first == name; });
        note = "deleted " + name;
    } else if (!name.empty()) {
        AddFile(name, Bytes(f.begin() + 15, f.end() - 1));
        note = "stored " + name + " (" + std::to_string(f.size() - 16) + " bytes)";
    }
    return FileList(f[1]);
}

Bytes Device::ReadReply() const {
    const std::uint8_t head[] = {type_, version_};
    if (FormOf(type_) == Form::Short) {
        const std::uint8_t cmd[] = {kRead, type_, version_};
        return ShortFrame(cmd, record_);
    }
    Bytes payload = record_;
    if (type_ == kGsmType) {
        // The caption block starts at 386, over the record's last four bytes (its header copy).
        payload.resize(kGsmHeaderInRecord);
        payload.insert(payload.end(), captions_.begin(), captions_.end());
    }
    return LongFrame(kSubWrite, head, payload);
}

Bytes Device::WriteAck() const {
    const std::uint8_t head[] = {type_, version_};
    if (FormOf(type_) == Form::Short) {
        const std::uint8_t cmd[] = {kWrite, type_, version_};
        return ShortFrame(cmd, {});
    }
    return LongFrame(kSubWrite, head, {});
}

// Names from byte 5, each followed by a separator, and a zero byte at the end.
Bytes Device::FileList(std::uint8_t sub) const {
    Bytes names;
    for (const auto& [name, content] : files_) {
        names.insert(names.end(), name.begin(), name.end());
        names.push_back(kNameSeparator);
    }
    names.push_back(0x00);
    const std::uint8_t head[] = {type_};
    return LongFrame(sub, head, names);
}

Bytes Device::WithFaults(Bytes reply) const {
    if (faults_.zeroLength) {
        if (reply[0] == kShortStart)
            reply[1] = 0x00;
        else
            reply[2] = reply[3] = 0x00;
        Reclose(reply);
    }
    if (faults_.badCrc)
        reply.back() ^= 0xFF;
    if (faults_.extraByte)
        reply.push_back(0x00);
    reply.resize(reply.size() - std::min(faults_.truncate, reply.size()));
    return reply;
}

std::optional<std::uint8_t> Device::AnswerBlock(std::span<const std::uint8_t> block) {
    if (transferDone_) {
        firmware_.clear();
        blocks_ = 0;
        transferDone_ = false;
    }
    ++blocks_;
    if (faults_.silent || blocks_ == faults_.dropBlock)
        return std::nullopt;
    if (blocks_ == faults_.refuseBlock)
        return kBlockRefused;
    firmware_.insert(firmware_.end(), block.begin(), block.end());
    return kBlockAccepted;
}

} // namespace tesmira::devsim
