// Configuration files (*.bcf): the whole file held in one buffer, written and read record by
// record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tesmira {

// Every failure of a configuration file; what() is the text shown to the user (UTF-8).
class ConfigFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kFileDamagedText = "Файл поврежден";
inline constexpr const char* kFileVersionText = "Версия файла не поддерживается";
inline constexpr const char* kFileBufferLowText = "FileIO Buff low size";

// Layout: version byte 0x01, device type in 2 bytes big-endian, then records (2-byte big-endian
// length + bytes), then the CRC-8 of every preceding byte. At most kBufferSize bytes in all.
//
// A writer is constructed with its device type, gets its records by AddRecord and is written by
// SaveTo. A reader is constructed with type 0, filled by LoadFrom (or LoadFromBytes) and hands
// out the records in order by ReadRecord.
// Writes `bytes` to a temporary file beside fileName and then puts it in its place, so the file is
// replaced whole or not at all; a file we may not write to and a link's target stay as they are
// and the link is kept. Throws ConfigFileError when it cannot.
void SaveFileAtomically(const std::filesystem::path& fileName, std::span<const std::uint8_t> bytes);

class ConfigFile {
public:
    static constexpr std::size_t kBufferSize = 4096;
    static constexpr std::size_t kHeaderSize = 3;
    static constexpr std::uint8_t kFormatVersion = 1;

    explicit ConfigFile(std::uint8_t deviceType = 0);

    // Appends one record. Throws ConfigFileError(kFileBufferLowText) when it would leave no room
    // for the CRC byte; the file is then unchanged.
    void AddRecord(std::span<const std::uint8_t> record);

    // The file as SaveTo writes it: the buffer up to the last record, then its CRC-8.
    std::vector<std::uint8_t> Image() const;

    // Writes Image() as SaveFileAtomically does.
    void SaveTo(const std::filesystem::path& fileName) const;

    // Reads up to kBufferSize bytes of the file and accepts them as LoadFromBytes does.
    // Returns the device type; throws ConfigFileError when the file cannot be read or is refused.
    std::uint8_t LoadFrom(const std::filesystem::path& fileName);

    // Takes the first kBufferSize bytes of `bytes` as a file's contents. Checks, in this order:
    // fewer than 5 bytes (damaged), version byte (not supported), CRC-8 (damaged), device type
    // outside 1..35 (damaged). On success the next ReadRecord returns the first record.
    std::uint8_t LoadFromBytes(std::span<const std::uint8_t> bytes);

    // Copies the next record into `destination` and returns its length. Returns 0 and copies
    // nothing when `expected` is not 0 and differs from the record's length (the next read then
    // starts right after this record's length field), when the record would run past the bytes
    // loaded, or when it does not fit `destination`.
    std::size_t ReadRecord(std::span<std::uint8_t> destination, std::size_t expected);

    // Reader: whether another record follows (its length field, at least, is there).
    bool HasNextRecord() const { return position_ + 2 <= recordEnd_; }

    std::uint8_t DeviceType() const { return deviceType_; }

private:
    std::uint8_t deviceType_;
    std::array<std::uint8_t, kBufferSize> buffer_{};
    // Writer: bytes written so far. Reader: offset of the next record.
    std::size_t position_ = kHeaderSize;
    // Reader: end of the record bytes (the CRC byte of the loaded file). Nothing is read past it.
    std::size_t recordEnd_ = kHeaderSize;
};

} // namespace tesmira
