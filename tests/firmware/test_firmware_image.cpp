#include "firmware/FirmwareImage.h"
#include "link/Frames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A buffer of the transmit buffer's size whose every byte is 0xEE, so a write shows.
std::vector<std::uint8_t> marked(std::size_t size = kTransmitBufferSize) {
    return std::vector<std::uint8_t>(size, 0xEE);
}

Bytes head(const std::vector<std::uint8_t>& buf, std::size_t n) {
    return Bytes(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(n));
}

class FirmwareFile : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& text, const std::string& name = "fw.enc") {
        auto p = dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    test::TempDir dir;
};

TEST(HexDecoding, UpperAndLowerCaseGiveTheSameOneBlockImage) {
    for (const char* text : {"0003AABBCC", "0003aabbcc", "0003AaBbcC"}) {
        auto buf = marked();
        ImageResult r = DecodeHexImage(text, buf);
        ASSERT_TRUE(r.ok()) << text;
        EXPECT_EQ(r.length, 5u);
        EXPECT_EQ(head(buf, 6), (Bytes{0x00, 0x03, 0xAA, 0xBB, 0xCC, 0xEE})) << text;
        EXPECT_TRUE(BlocksTileImage(std::span(buf).first(r.length)));
    }
}

TEST(HexDecoding, EveryDigitValueDecodes) {
    auto buf = marked();
    ImageResult r = DecodeHexImage("0123456789abcdefABCDEF", buf);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(head(buf, r.length),
              (Bytes{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xAB, 0xCD, 0xEF}));
}

TEST(HexDecoding, OddCountOrForeignCharacterIsRefusedAndWritesNothing) {
    for (const char* text : {"0003AABBC", "0003AABBCC\n", "0003AABBCC\r\n", "0003 AABBCC",
                             "00G3AABBCC", "0x03AABBCC", "$003AABBCC", "0003AABBC\xC3"}) {
        auto buf = marked();
        ImageResult r = DecodeHexImage(text, buf);
        EXPECT_EQ(r.error, ImageError::NotHexPairs) << text;
        EXPECT_EQ(r.length, 0u);
        EXPECT_EQ(head(buf, 6), Bytes(6, 0xEE)) << text;
    }
    // A NUL inside the text is a foreign character too, not an end.
    auto buf = marked();
    EXPECT_EQ(DecodeHexImage(std::string_view("00\0003", 5), buf).error, ImageError::NotHexPairs);
}

TEST(HexDecoding, EmptyTextIsAnEmptyImage) {
    auto buf = marked();
    ImageResult r = DecodeHexImage("", buf);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.length, 0u);
    EXPECT_EQ(buf[0], 0xEE);
    EXPECT_TRUE(BlocksTileImage({}));
}

TEST(HexDecoding, ImageLargerThanTheBufferIsRefusedBeforeAnyWrite) {
    // The buffer is followed by guard bytes that must stay untouched.
    auto buf = marked(kTransmitBufferSize + 16);
    std::span<std::uint8_t> tx = std::span(buf).first(kTransmitBufferSize);

    std::string full(2 * kTransmitBufferSize, 'A');
    ImageResult r = DecodeHexImage(full, tx);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.length, 122881u);
    EXPECT_EQ(buf[kTransmitBufferSize - 1], 0xAA);
    EXPECT_EQ(buf[kTransmitBufferSize], 0xEE);

    std::fill(buf.begin(), buf.end(), 0xEE);
    for (std::size_t extra : {1u, 2u, 20u}) {
        r = DecodeHexImage(std::string(2 * kTransmitBufferSize + extra, 'A'), tx);
        EXPECT_EQ(r.error, ImageError::TooLarge) << extra;
        EXPECT_EQ(buf[0], 0xEE);
        EXPECT_EQ(buf[kTransmitBufferSize], 0xEE);
    }
}

TEST(BlockTiling, RunsThatEndExactlyAtTheImageEndAreAccepted) {
    EXPECT_TRUE(BlocksTileImage(Bytes{0x00, 0x00}));
    EXPECT_TRUE(BlocksTileImage(Bytes{0x00, 0x01, 0x7F, 0x00, 0x00, 0x00, 0x02, 0x11, 0x22}));
    Bytes big(2 + 0x0102, 0x55);
    big[0] = 0x01;
    big[1] = 0x02; // big-endian: 258 bytes follow
    EXPECT_TRUE(BlocksTileImage(big));
}

TEST(BlockTiling, LengthFieldPastTheEndOrALoneLengthByteIsRefused) {
    EXPECT_FALSE(BlocksTileImage(Bytes{0x00}));
    EXPECT_FALSE(BlocksTileImage(Bytes{0x00, 0x03, 0xAA, 0xBB}));
    EXPECT_FALSE(BlocksTileImage(Bytes{0x00, 0x00, 0x00}));
    EXPECT_FALSE(BlocksTileImage(Bytes{0x00, 0x01, 0xAA, 0xFF, 0xFF, 0x00}));
    // Little-endian reading would make this one tile (length 1); big-endian says 256.
    EXPECT_FALSE(BlocksTileImage(Bytes{0x01, 0x00, 0xAA}));
}

// Root may open any file for writing, so the permission cases run in a child that has dropped
// to an unprivileged user; the child's exit code says whether `check` held.
template <typename F> void ExpectAsUnprivileged(const std::filesystem::path& dir, F check) {
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all |
                                          std::filesystem::perms::group_exec |
                                          std::filesystem::perms::others_exec);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(2);
            std::_Exit(check() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

void ReadableByAll(const std::filesystem::path& p) {
    std::filesystem::permissions(p, std::filesystem::perms::owner_read |
                                        std::filesystem::perms::group_read |
                                        std::filesystem::perms::others_read);
}

TEST_F(FirmwareFile, ReadOnlyFileLoads) {
    auto p = write("0003AABBCC");
    ReadableByAll(p); // read-only for everyone, its owner included
    ExpectAsUnprivileged(dir.path(), [&] {
        auto buf = marked();
        ImageResult r = LoadFirmwareImage(p, buf);
        return r.ok() && head(buf, 5) == Bytes{0x00, 0x03, 0xAA, 0xBB, 0xCC};
    });
}

TEST_F(FirmwareFile, MissingUnreadableOrFolderIsUnreadable) {
    auto buf = marked();
    EXPECT_EQ(LoadFirmwareImage(dir / "absent.enc", buf).error, ImageError::Unreadable);
    EXPECT_EQ(LoadFirmwareImage(dir.path(), buf).error, ImageError::Unreadable);
    EXPECT_EQ(buf[0], 0xEE);

    auto p = write("0003AABBCC", "locked.enc");
    std::filesystem::permissions(p, std::filesystem::perms::none,
                                 std::filesystem::perm_options::replace);
    ExpectAsUnprivileged(dir.path(), [&] {
        auto b = marked();
        return LoadFirmwareImage(p, b).error == ImageError::Unreadable && b[0] == 0xEE;
    });
}

TEST_F(FirmwareFile, FileRefusalsMatchTheTextRules) {
    auto buf = marked();
    EXPECT_EQ(LoadFirmwareImage(write("0003AABBC"), buf).error, ImageError::NotHexPairs);
    EXPECT_EQ(LoadFirmwareImage(write("0003AABBCC\n"), buf).error, ImageError::NotHexPairs);
    EXPECT_EQ(LoadFirmwareImage(write("0004AABBCC"), buf).error, ImageError::BlockPastEnd);
    EXPECT_EQ(LoadFirmwareImage(write(std::string(2 * kTransmitBufferSize + 2, '0')), buf).error,
              ImageError::TooLarge);
    EXPECT_EQ(LoadFirmwareImage(write(""), buf).error, ImageError::Empty);
}

TEST_F(FirmwareFile, FullSizeImageLoadsToTheLastByte) {
    // 122,881 bytes: blocks of 258 bytes (length 0x0100) and one last block that fills the rest.
    std::string text;
    std::size_t left = kTransmitBufferSize;
    while (left >= 258 + 258) {
        text += "0100" + std::string(2 * 256, 'a');
        left -= 258;
    }
    std::size_t last = left - 2;
    const char* hex = "0123456789ABCDEF";
    text += {hex[last >> 12 & 0xF], hex[last >> 8 & 0xF], hex[last >> 4 & 0xF], hex[last & 0xF]};
    text += std::string(2 * last - 2, 'F') + "5C";
    ASSERT_EQ(text.size(), 245762u);

    auto buf = marked();
    ImageResult r = LoadFirmwareImage(write(text), buf);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.length, 122881u);
    EXPECT_EQ(buf[2], 0xAA);
    EXPECT_EQ(buf[kTransmitBufferSize - 2], 0xFF);
    EXPECT_EQ(buf[kTransmitBufferSize - 1], 0x5C);
}

} // namespace
} // namespace tesmira
