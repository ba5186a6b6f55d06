// Loading a firmware file (*.enc: hexadecimal digit pairs) into the image that is sent block by
// block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace tesmira {

enum class ImageError {
    None,
    Unreadable,   // the file cannot be opened or read
    NotHexPairs,  // an odd digit count, or a character other than 0-9, A-F, a-f
    TooLarge,     // the image would not fit the buffer it is loaded into
    BlockPastEnd, // a block's length field points past the end of the image
    Empty,        // a file without a single byte: a transfer of it would update nothing
};

struct ImageResult {
    ImageError error = ImageError::None;
    std::size_t length = 0; // bytes of the image in the buffer; 0 on a refusal

    bool ok() const { return error == ImageError::None; }
};

// Decodes `text` into `image` from offset 0. The whole text is checked before the first byte is
// written, so a refused text leaves `image` as it was.
ImageResult DecodeHexImage(std::string_view text, std::span<std::uint8_t> image);

// True when the image is a run of blocks (2-byte big-endian length L, then L bytes) that ends
// exactly at its end. An empty image is an empty run.
bool BlocksTileImage(std::span<const std::uint8_t> image);

// Decodes the text of a firmware file into `image` and checks that its blocks tile it and that
// there is at least one byte. On BlockPastEnd the buffer holds the refused image; it must not be
// sent.
ImageResult DecodeFirmwareImage(std::string_view text, std::span<std::uint8_t> image);

// Reads the file (opened for reading only) and takes its text as DecodeFirmwareImage does.
ImageResult LoadFirmwareImage(const std::filesystem::path& file, std::span<std::uint8_t> image);

} // namespace tesmira
