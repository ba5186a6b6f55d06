#include "model/ConfigFile.h"

#include "link/Crc8.h"
#include "link/Frames.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <system_error>

namespace tesmira {

namespace fs = std::filesystem;

namespace {

// Smallest file that can hold the header and a CRC byte, and then one more byte; shorter ones are
// refused before anything else is looked at.
constexpr std::size_t kMinFileSize = 5;

std::string DisplayName(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

ConfigFileError WriteFailed(const fs::path& path) {
    return ConfigFileError("Не удалось записать файл " + DisplayName(path));
}

ConfigFileError ReadFailed(const fs::path& path) {
    return ConfigFileError("Не удалось открыть файл " + DisplayName(path));
}

// A name beside `target` that no file has yet. The random part makes a collision with a
// concurrent save practically impossible.
fs::path UnusedNameBeside(const fs::path& target) {
    std::random_device random;
    std::error_code ec;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::uint64_t salt = (std::uint64_t{random()} << 32) ^ random();
        fs::path candidate = target;
        candidate += ".tmp" + std::to_string(salt);
        if (!fs::exists(candidate, ec) && !ec)
            return candidate;
    }
    throw WriteFailed(target);
}

bool WriteWhole(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    out.close();
    return !out.fail();
}

// Saving through a link writes the file the link points to and keeps the link.
fs::path ResolveLink(const fs::path& fileName) {
    std::error_code ec;
    if (!fs::is_symlink(fileName, ec))
        return fileName;
    fs::path real = fs::weakly_canonical(fileName, ec);
    return ec ? fileName : real;
}

} // namespace

ConfigFile::ConfigFile(std::uint8_t deviceType) : deviceType_(deviceType) {
    buffer_[0] = kFormatVersion;
    buffer_[1] = 0x00;
    buffer_[2] = deviceType;
}

void ConfigFile::AddRecord(std::span<const std::uint8_t> record) {
    // The CRC byte must still fit after the record: position + 2 + L <= kBufferSize - 1.
    const std::size_t room = kBufferSize - 1 - position_;
    if (room < 2 || record.size() > room - 2)
        throw ConfigFileError(kFileBufferLowText);
    buffer_[position_] = static_cast<std::uint8_t>(record.size() >> 8);
    buffer_[position_ + 1] = static_cast<std::uint8_t>(record.size() & 0xFF);
    std::copy(record.begin(), record.end(), buffer_.begin() + position_ + 2);
    position_ += 2 + record.size();
}

std::vector<std::uint8_t> ConfigFile::Image() const {
    std::vector<std::uint8_t> image(buffer_.begin(), buffer_.begin() + position_);
    image.push_back(Crc8(image));
    return image;
}

void SaveFileAtomically(const fs::path& fileName, std::span<const std::uint8_t> image) {
    const fs::path target = ResolveLink(fileName);
    std::error_code ec;
    // The replacing rename would get past a write-protected file; a file we may not write to
    // stays as it is, as it would if it were written in place.
    if (fs::is_regular_file(target, ec) &&
        !std::ofstream(target, std::ios::binary | std::ios::app).is_open())
        throw WriteFailed(fileName);
    const fs::path temporary = UnusedNameBeside(target);
    if (!WriteWhole(temporary, image)) {
        fs::remove(temporary, ec);
        throw WriteFailed(fileName);
    }
    // A replaced file keeps its permissions.
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old))
        fs::permissions(temporary, old.permissions(), ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        throw WriteFailed(fileName);
    }
}

void ConfigFile::SaveTo(const fs::path& fileName) const {
    SaveFileAtomically(fileName, Image());
}

std::uint8_t ConfigFile::LoadFrom(const fs::path& fileName) {
    std::error_code ec;
    if (fs::is_directory(fileName, ec))
        throw ReadFailed(fileName);
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw ReadFailed(fileName);
    std::array<std::uint8_t, kBufferSize> bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        throw ReadFailed(fileName);
    const auto count = static_cast<std::size_t>(in.gcount());
    return LoadFromBytes(std::span<const std::uint8_t>(bytes.data(), count));
}

std::uint8_t ConfigFile::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    const std::size_t n = std::min(bytes.size(), kBufferSize);
    if (n < kMinFileSize)
        throw ConfigFileError(kFileDamagedText);
    if (bytes[0] != kFormatVersion)
        throw ConfigFileError(kFileVersionText);
    if (Crc8(bytes.data(), n - 1) != bytes[n - 1])
        throw ConfigFileError(kFileDamagedText);
    const unsigned type = bytes[1] * 256u + bytes[2];
    if (type > 0xFF || !DeviceTypeSupported(static_cast<std::uint8_t>(type)))
        throw ConfigFileError(kFileDamagedText);

    buffer_.fill(0);
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n), buffer_.begin());
    deviceType_ = static_cast<std::uint8_t>(type);
    position_ = kHeaderSize;
    recordEnd_ = n - 1;
    return deviceType_;
}

std::size_t ConfigFile::ReadRecord(std::span<std::uint8_t> destination, std::size_t expected) {
    if (position_ + 2 > recordEnd_)
        return 0;
    const std::size_t length = buffer_[position_] * 256u + buffer_[position_ + 1];
    position_ += 2;
    if (expected != 0 && length != expected)
        return 0;
    // A length that runs into the CRC byte or past the loaded bytes is damage the CRC missed.
    if (length > recordEnd_ - position_ || length > destination.size())
        return 0;
    std::copy_n(buffer_.begin() + static_cast<std::ptrdiff_t>(position_), length,
                destination.begin());
    position_ += length;
    return length;
}

} // namespace tesmira
