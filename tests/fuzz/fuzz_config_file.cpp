// Fuzzes configuration file reading: any bytes are loaded as a file, then every record is taken
// out. Records must come from inside the loaded bytes, in order, and survive a round trip through
// the writer. Inputs whose CRC byte is fixed up are tried too, so the fuzzer gets to the records.
#include "link/Crc8.h"
#include "model/ConfigFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using tesmira::ConfigFile;
using tesmira::ConfigFileError;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kMax = ConfigFile::kBufferSize;

// Walks the records of an accepted file independently of the reader.
std::vector<Bytes> ExpectedRecords(const std::uint8_t* data, std::size_t n) {
    std::vector<Bytes> records;
    std::size_t at = 3;
    const std::size_t end = n - 1; // the CRC byte
    while (at + 2 <= end) {
        const std::size_t length = data[at] * 256u + data[at + 1];
        if (length > end - at - 2)
            break;
        records.emplace_back(data + at + 2, data + at + 2 + length);
        at += 2 + length;
    }
    return records;
}

void Check(const std::uint8_t* data, std::size_t size) {
    ConfigFile reader;
    std::uint8_t type = 0;
    try {
        type = reader.LoadFromBytes({data, size});
    } catch (const ConfigFileError&) {
        return;
    }
    const std::size_t n = std::min(size, kMax);
    if (type < 1 || type > 35 || n < 5 || data[0] != 1)
        std::abort();

    // A guard byte after the destination shows any write past it.
    std::array<std::uint8_t, kMax + 1> destination{};
    destination[kMax] = 0xA5;
    const std::vector<Bytes> expected = ExpectedRecords(data, n);
    std::vector<Bytes> got;
    for (;;) {
        const std::size_t length = reader.ReadRecord({destination.data(), kMax}, 0);
        if (length == 0)
            break;
        got.emplace_back(destination.begin(), destination.begin() + length);
    }
    if (destination[kMax] != 0xA5)
        std::abort();
    // The reader stops at an empty record, the independent walk does not.
    if (got.size() > expected.size() || !std::equal(got.begin(), got.end(), expected.begin()))
        std::abort();

    // A file without records is 4 bytes, too short to be read back.
    if (got.empty())
        return;
    ConfigFile writer(type);
    for (const Bytes& record : got)
        writer.AddRecord(record);
    ConfigFile again;
    if (again.LoadFromBytes(writer.Image()) != type)
        std::abort();
    for (const Bytes& record : got) {
        Bytes copy(record.size() + 1, 0x5A);
        if (again.ReadRecord(copy, record.size()) != record.size())
            std::abort();
        if (!std::equal(record.begin(), record.end(), copy.begin()) || copy.back() != 0x5A)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check(data, size);
    const std::size_t n = std::min(size, kMax);
    if (n >= 5) {
        Bytes fixed(data, data + n);
        fixed[n - 1] = tesmira::Crc8(fixed.data(), n - 1);
        Check(fixed.data(), fixed.size());
    }
    return 0;
}
