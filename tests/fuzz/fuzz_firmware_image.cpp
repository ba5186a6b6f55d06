// Fuzzes the firmware file (*.enc) as it is taken into the transmit buffer: any text is either
// refused, leaving the buffer as it was (a block running past the end excepted, which must not be
// sent), or decoded pair by pair into a run of blocks that ends exactly at the image's end.
#include "FuzzCheck.h"
#include "firmware/FirmwareImage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace tesmira;

using tesmira::fuzz::Require;

int Digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Small enough for the fuzzer's inputs to run past it.
constexpr std::size_t kImageSize = 1024;
constexpr std::uint8_t kUntouched = 0xC3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::array<std::uint8_t, kImageSize> image;
    image.fill(kUntouched);
    const ImageResult result = DecodeFirmwareImage(text, image);

    const bool allHex = std::all_of(text.begin(), text.end(), [](char c) { return Digit(c) >= 0; });
    switch (result.error) {
    case ImageError::TooLarge:
        Require(text.size() > 2 * kImageSize);
        break;
    case ImageError::NotHexPairs:
        Require(text.size() <= 2 * kImageSize && (text.size() % 2 != 0 || !allHex));
        break;
    case ImageError::Empty:
        Require(text.empty());
        break;
    case ImageError::None:
    case ImageError::BlockPastEnd: {
        Require(allHex && text.size() % 2 == 0 && !text.empty() && text.size() <= 2 * kImageSize);
        const std::size_t n = text.size() / 2;
        for (std::size_t i = 0; i < n; ++i)
            Require(image[i] == (Digit(text[2 * i]) << 4 | Digit(text[2 * i + 1])));
        Require(std::all_of(image.begin() + static_cast<std::ptrdiff_t>(n), image.end(),
                            [](std::uint8_t b) { return b == kUntouched; }));
        // Walk the blocks apart from the loader: each a 2-byte big-endian length and its bytes.
        std::size_t at = 0;
        while (at + 2 <= n)
            at += 2 + (image[at] * 256u + image[at + 1]);
        const bool tiles = at == n;
        Require(result.ok() == tiles);
        Require(result.length == (tiles ? n : 0));
        return 0;
    }
    case ImageError::Unreadable:
        std::abort(); // no file is read here
    }
    Require(result.length == 0);
    Require(
        std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == kUntouched; }));
    return 0;
}
