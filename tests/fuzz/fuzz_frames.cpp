// Fuzzes reply acceptance. Each input is tried as received and again with its CRC byte fixed up,
// so the fuzzer gets past the checksum into the length and type logic.
#include "link/Crc8.h"
#include "link/Frames.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

using tesmira::kReceiveBufferSize;

// Properties that must hold for any buffer; a violation aborts so the fuzzer keeps the input.
void check(const std::array<std::uint8_t, kReceiveBufferSize>& rx, std::size_t count) {
    const bool valid = tesmira::FrameIsValid(rx, count);
    const std::uint8_t type = tesmira::ReplyDeviceType(rx);
    const std::size_t expected = tesmira::ExpectedFrameLength(rx);
    if (valid && (expected == 0 || expected != count || expected > kReceiveBufferSize))
        std::abort();
    if (valid && tesmira::Crc8(rx.data(), count - 1) != rx[count - 1])
        std::abort();
    if (rx[0] != 0x7E && rx[0] != 0x14 && (type != 0 || valid))
        std::abort();
    // Use every result so nothing is optimised away.
    volatile std::uint8_t sink = static_cast<std::uint8_t>(valid) ^ type ^
                                 tesmira::ReplyVersion(rx) ^
                                 static_cast<std::uint8_t>(tesmira::ReplyPayloadOffset(rx));
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint8_t, kReceiveBufferSize> rx{};
    const std::size_t count = std::min(size, kReceiveBufferSize);
    std::copy(data, data + count, rx.begin());
    check(rx, count);

    const std::size_t expected = tesmira::ExpectedFrameLength(rx);
    if (expected >= 1 && expected <= count) {
        rx[expected - 1] = tesmira::Crc8(rx.data(), expected - 1);
        check(rx, count);
        check(rx, expected);
    }
    return 0;
}
