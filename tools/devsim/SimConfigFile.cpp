#include "SimConfigFile.h"

#include <fstream>
#include <iterator>

namespace tesmira::devsim {

namespace {

// The file: version 1, the type in two bytes big-endian, then records as a two-byte big-endian
// length and the bytes, then the CRC-8 of everything before it. Written here with the simulator's
// own code rather than the configurator's, like its frames.
constexpr std::uint8_t kFileVersion = 1;
constexpr std::size_t kHeaderSize = 3;
constexpr std::size_t kMaxFileSize = 4096;
constexpr std::uint8_t kMaxType = 35;

void AppendRecord(Bytes& file, const Bytes& record) {
    file.push_back(static_cast<std::uint8_t>(record.size() >> 8));
    file.push_back(static_cast<std::uint8_t>(record.size() & 0xFF));
    file.insert(file.end(), record.begin(), record.end());
}

// The record at `at` (moved past it), or false when its length runs past `end`.
bool TakeRecord(const Bytes& file, std::size_t& at, std::size_t end, Bytes& record) {
    if (at + 2 > end)
        return false;
    const std::size_t length = static_cast<std::size_t>(file[at] << 8 | file[at + 1]);
    at += 2;
    if (length > end - at)
        return false;
    record.assign(file.begin() + static_cast<std::ptrdiff_t>(at),
                  file.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
    return true;
}

} // namespace

bool ReadConfigFile(const std::string& path, ConfigContent& content, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() > kMaxFileSize)
        file.resize(kMaxFileSize);
    if (file.size() < kHeaderSize + 2 || file[0] != kFileVersion ||
        Crc8(std::span(file).first(file.size() - 1)) != file.back()) {
        error = path + " is no configuration file, or a damaged one";
        return false;
    }
    const unsigned type = static_cast<unsigned>(file[1] << 8 | file[2]);
    if (type == 0 || type > kMaxType) {
        error = path + " names the device type " + std::to_string(type);
        return false;
    }
    const std::size_t end = file.size() - 1;
    std::size_t at = kHeaderSize;
    ConfigContent read;
    read.type = static_cast<std::uint8_t>(type);
    if (!TakeRecord(file, at, end, read.record) ||
        (read.type == kGsmType && !TakeRecord(file, at, end, read.captions))) {
        error = path + " holds a record that runs past its end";
        return false;
    }
    content = std::move(read);
    return true;
}

bool WriteConfigFile(const std::string& path, const Device& device, std::string& error) {
    Bytes file = {kFileVersion, 0x00, device.type()};
    AppendRecord(file, device.record());
    if (device.type() == kGsmType)
        AppendRecord(file, device.captions());
    if (file.size() + 1 > kMaxFileSize) {
        error = "the record does not fit a configuration file";
        return false;
    }
    file.push_back(Crc8(file));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out.flush()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace tesmira::devsim
