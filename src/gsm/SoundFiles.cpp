#include "gsm/SoundFiles.h"

#include "gsm/FileErrors.h"
#include "gsm/GsmRecord.h"
#include "link/Frames.h"
#include "model/Cp1251.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace tesmira {

namespace {

constexpr std::size_t kNameAt = 5;
constexpr std::uint8_t kNameEnd = 0x14; // bytes below end a name in the list

// The name's bytes zero-padded (or cut) to the name field, then `content`.
std::vector<std::uint8_t> NamedPayload(const std::vector<std::uint8_t>& name,
                                       std::span<const std::uint8_t> content) {
    std::vector<std::uint8_t> payload(kSoundNameField + content.size(), 0);
    std::copy_n(name.begin(), std::min(name.size(), kSoundNameField), payload.begin());
    std::copy(content.begin(), content.end(),
              payload.begin() + static_cast<std::ptrdiff_t>(kSoundNameField));
    return payload;
}

SoundFileFrame Built(std::size_t length) {
    return {length, {}, {}};
}

} // namespace

std::size_t WriteListFilesFrame(std::span<std::uint8_t> tx) {
    return WriteLongFrame(tx, LongCommand::ListFiles, GsmRecord::kType, kNameAt, {});
}

SoundFileFrame CheckUploadName(std::string_view fileName) {
    if (Utf8ToCp1251(fileName).size() >= kSoundNameField)
        return {0, kUploadNameTooLongText, kUploadTitle};
    return {};
}

SoundFileFrame WriteUploadFrame(std::span<std::uint8_t> tx, std::string_view fileName,
                                std::span<const std::uint8_t> content) {
    if (SoundFileFrame refused = CheckUploadName(fileName); !refused.refusal.empty())
        return refused;
    if (content.size() > kSoundFileMax)
        return {0, kUploadTooLargeText, kUploadTitle};
    return Built(WriteLongFrame(tx, LongCommand::UploadFile, GsmRecord::kType, kNameAt,
                                NamedPayload(Utf8ToCp1251(fileName), content)));
}

SoundFileFrame WriteUploadFrameFromFile(std::span<std::uint8_t> tx,
                                        const std::filesystem::path& path) {
    const std::u8string name = path.filename().u8string();
    const std::string fileName(name.begin(), name.end());
    if (SoundFileFrame refused = CheckUploadName(fileName); !refused.refusal.empty())
        return refused;
    std::error_code ec;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (std::filesystem::is_directory(path, ec) || !in)
        throw FileOpenFailed(path);
    const std::streamoff size = in.tellg();
    if (size < 0)
        throw FileOpenFailed(path);
    if (static_cast<std::uintmax_t>(size) > kSoundFileMax)
        return {0, kUploadTooLargeText, kUploadTitle};
    std::vector<std::uint8_t> content(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(content.data()), size);
    if (in.gcount() != size)
        throw FileOpenFailed(path);
    return WriteUploadFrame(tx, fileName, content);
}

SoundFileFrame WriteDeleteFrame(std::span<std::uint8_t> tx, std::string_view selectedName) {
    const std::vector<std::uint8_t> name = Utf8ToCp1251(selectedName);
    if (name.size() < kSoundNameMin)
        return {0, kDeleteNoFileText, kDeleteTitle};
    return Built(WriteLongFrame(tx, LongCommand::DeleteFile, GsmRecord::kType, kNameAt,
                                NamedPayload(name, {})));
}

std::vector<std::string> ParseFileList(std::span<const std::uint8_t> reply) {
    const std::size_t frame = std::min(reply.size(), ExpectedFrameLength(reply));
    std::vector<std::string> names;
    std::vector<std::uint8_t> name;
    for (std::size_t at = kNameAt; at + 1 < frame && reply[at] != 0; ++at) {
        if (reply[at] >= kNameEnd) {
            name.push_back(reply[at]);
            continue;
        }
        if (!name.empty())
            names.push_back(Cp1251ToUtf8(name));
        name.clear();
    }
    std::erase_if(names, [](const std::string& n) { return n.find('.') == std::string::npos; });
    return names;
}

} // namespace tesmira
