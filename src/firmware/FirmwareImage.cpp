#include "firmware/FirmwareImage.h"

#include <array>
#include <fstream>
#include <string>

namespace tesmira {

namespace {

constexpr std::uint8_t kNotHex = 0xFF;

constexpr std::array<std::uint8_t, 256> MakeNibbleTable() {
    std::array<std::uint8_t, 256> t{};
    t.fill(kNotHex);
    for (int c = '0'; c <= '9'; ++c)
        t[c] = static_cast<std::uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) {
        t[c] = static_cast<std::uint8_t>(c - 'A' + 10);
        t[c - 'A' + 'a'] = static_cast<std::uint8_t>(c - 'A' + 10);
    }
    return t;
}

constexpr std::array<std::uint8_t, 256> kNibble = MakeNibbleTable();

std::uint8_t Nibble(char c) {
    return kNibble[static_cast<unsigned char>(c)];
}

} // namespace

ImageResult DecodeHexImage(std::string_view text, std::span<std::uint8_t> image) {
    if (text.size() > 2 * image.size())
        return {ImageError::TooLarge, 0};
    if (text.size() % 2 != 0)
        return {ImageError::NotHexPairs, 0};
    for (char c : text)
        if (Nibble(c) == kNotHex)
            return {ImageError::NotHexPairs, 0};
    const std::size_t n = text.size() / 2;
    for (std::size_t i = 0; i < n; ++i)
        image[i] = static_cast<std::uint8_t>(Nibble(text[2 * i]) << 4 | Nibble(text[2 * i + 1]));
    return {ImageError::None, n};
}

bool BlocksTileImage(std::span<const std::uint8_t> image) {
    std::size_t a = 0;
    while (a < image.size()) {
        if (image.size() - a < 2)
            return false;
        a += 2 + (std::size_t{image[a]} << 8 | image[a + 1]);
    }
    return a == image.size();
}

ImageResult LoadFirmwareImage(const std::filesystem::path& file, std::span<std::uint8_t> image) {
    std::ifstream in(file, std::ios::in | std::ios::binary);
    if (!in)
        return {ImageError::Unreadable, 0};
    // One character more than the largest image that fits is enough to tell it is too large, so a
    // huge file is never read whole.
    std::string text(2 * image.size() + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad())
        return {ImageError::Unreadable, 0};
    text.resize(static_cast<std::size_t>(in.gcount()));
    return DecodeFirmwareImage(text, image);
}

ImageResult DecodeFirmwareImage(std::string_view text, std::span<std::uint8_t> image) {
    const ImageResult result = DecodeHexImage(text, image);
    if (result.ok() && result.length == 0)
        return {ImageError::Empty, 0};
    if (result.ok() && !BlocksTileImage(image.first(result.length)))
        return {ImageError::BlockPastEnd, 0};
    return result;
}

} // namespace tesmira
