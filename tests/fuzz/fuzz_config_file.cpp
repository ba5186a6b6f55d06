// Fuzzes configuration file reading: any bytes are loaded as a file, then every record is taken
// out. Records must come from inside the loaded bytes, in order; the writer must make the same
// bytes of them again, and that file must read back record by record into buffers of exactly the
// record's size. Inputs whose CRC byte is fixed up are tried too, so the fuzzer gets to the
// records.
//
// Each input is up to a whole 4 KB file, so the checks make no copies of it and clear no buffer
// of its size: only the bytes a read reports are compared, and a guard byte after each buffer
// shows a write past it.
#include "FuzzCheck.h"
#include "link/Crc8.h"
#include "model/ConfigFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using tesmira::ConfigFile;
using tesmira::ConfigFileError;
using Span = std::span<const std::uint8_t>;

constexpr std::size_t kMax = ConfigFile::kBufferSize;
constexpr std::uint8_t kGuard = 0xA5;

using tesmira::fuzz::Require;

std::array<std::uint8_t, kMax + 1> destination;

// The device type, or 0 when the reader refuses the bytes.
std::uint8_t Load(ConfigFile& reader, Span bytes) {
    try {
        return reader.LoadFromBytes(bytes);
    } catch (const ConfigFileError&) {
        return 0;
    }
}

// Reads the records of `file` back, each with its own length expected and into a buffer of
// exactly that length: they are the records of `data`, which ends where the last of them does.
void CheckReadBack(ConfigFile& file, Span data) {
    for (std::size_t at = 3; at < data.size();) {
        const std::size_t length = data[at] * 256u + data[at + 1];
        destination[length] = kGuard;
        Require(file.ReadRecord(std::span(destination).first(length), length) == length);
        Require(destination[length] == kGuard);
        Require(std::equal(destination.begin(), destination.begin() + length, &data[at + 2]));
        at += 2 + length;
    }
}

void Check(Span data) {
    ConfigFile reader;
    const std::uint8_t type = Load(reader, data);
    if (type == 0)
        return;
    const std::size_t n = std::min(data.size(), kMax);
    Require(type <= 35 && n >= 5 && data[0] == 1);

    // Walk the records apart from the reader, each against the one the reader hands out. The
    // reader stops at an empty record, the walk at one that runs into the CRC byte.
    const std::size_t end = n - 1; // the CRC byte
    ConfigFile writer(type);
    std::size_t at = 3;
    for (;;) {
        destination[kMax] = kGuard;
        const std::size_t length = reader.ReadRecord(std::span(destination).first(kMax), 0);
        Require(destination[kMax] == kGuard);
        if (length == 0)
            break;
        Require(at + 2 <= end && data[at] * 256u + data[at + 1] == length &&
                length <= end - at - 2);
        Require(std::equal(destination.begin(), destination.begin() + length, &data[at + 2]));
        writer.AddRecord(std::span(destination).first(length));
        at += 2 + length;
    }
    // A file without records is 4 bytes, too short to be read back.
    if (at == 3)
        return;

    // The writer's file is the header and the records as they were, then its own CRC byte.
    const std::vector<std::uint8_t> image = writer.Image();
    Require(image.size() == at + 1 && std::equal(data.begin(), data.begin() + at, image.begin()));
    ConfigFile again;
    Require(Load(again, image) == type);
    CheckReadBack(again, Span(image).first(at));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Span bytes(data, size);
    Check(bytes);
    // Tried again with its CRC byte fixed up, unless it was right already.
    const std::size_t n = std::min(size, kMax);
    if (n < 5)
        return 0;
    const std::uint8_t crc = tesmira::Crc8(data, n - 1);
    if (crc != data[n - 1]) {
        static std::array<std::uint8_t, kMax> fixed;
        std::copy_n(data, n - 1, fixed.begin());
        fixed[n - 1] = crc;
        Check(std::span(fixed).first(n));
    }
    return 0;
}
