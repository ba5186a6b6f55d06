#include "app/DeviceConfigs.h"
#include "link/Crc8.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"
#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Hex;

Bytes Fill(std::size_t count, std::uint8_t byte) {
    return Bytes(count, byte);
}

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// What each type's editor wrote for its defaults before the configurations moved into the core,
// and the header of the reply a device of the type sends (firmware version 9).
struct TypeCase {
    std::uint8_t type;
    Bytes writeFrame;
    std::size_t recordAt; // where the write frame's configuration bytes begin
    Bytes replyHeader;    // the reply: this header, those bytes, the CRC-8
    bool twoBlocks;       // the file may hold a second block
};

std::vector<TypeCase> Cases() {
    const Bytes panelRecord =
        Hex("38 17 1E 1E 28 14 00 00 28 14 00 00 28 14 00 00 08 10 00 00 10 0F 00 00 18 04 00 00 "
            "18 04 00 00 FF 00 00 00 00 33 10 00 80 01 10 01 00 00 01 02 04 08 10 20 FF 00 78 00 "
            "00 00");
    return {
        {26, Hex("7E 13 57 01 1A 01 08 05 02 03 04 07 65 3C 1E 00 00 01 D9"), 5,
         Hex("7E 13 52 1A 09"), false},
        {27, Hex("7E 13 57 01 1B 01 08 05 0A 03 04 07 65 3C 1E 00 00 01 C6"), 5,
         Hex("7E 13 52 1B 09"), false},
        {30, Joined({Hex("7E 40 57 01 1E"), panelRecord, Hex("C1")}), 5, Hex("7E 40 52 1E 09"),
         true},
        {31, Joined({Hex("7E 40 57 01 1F"), panelRecord, Hex("89")}), 5, Hex("7E 40 52 1F 09"),
         false},
        {32,
         Joined({Hex("14 00 01 87 20 00"), Hex("01 00 00 00"), Fill(128, 0x00), Fill(192, 0xFF),
                 Hex("2A 31 30 32 23 00 00 00 2A 31 30 32 23 00 00 00 00 00 0E 5F"), Fill(34, 0x00),
                 Hex("BA AB"), Hex("00 01 00 04"), Hex("D3")}),
         6, Hex("14 00 01 87 20 09"), true},
        {33, Hex("7E 1A 57 01 21 07 17 05 14 06 15 02 0F 03 04 00 00 01 00 80 00 78 00 00 00 85"),
         5, Hex("7E 1A 52 21 09"), false},
        {34,
         Joined({Hex("14 00 00 3D 22 00 18 00 01 05 05 05 08 01 03 33 00 0C"), Fill(42, 0x00),
                 Hex("FB")}),
         5, Hex("14 00 00 3E 22 09"), false},
        {35,
         Joined({Hex("14 00 00 7B 23 00 01 00 00 03 04 07 17 1E 1E 01 01 03 00 01 18 28 01 01 33"),
                 Fill(97, 0x00), Hex("E5")}),
         6, Hex("14 00 00 7B 23 09"), false},
    };
}

Bytes Closed(Bytes frame) {
    frame.push_back(Crc8(frame.data(), frame.size()));
    return frame;
}

Bytes ReplyOf(const TypeCase& c, const Bytes& configBytes) {
    return Closed(Joined({c.replyHeader, configBytes}));
}

// A file of the type whose blocks are given as they stand.
Bytes FileOf(std::uint8_t type, std::initializer_list<Bytes> blocks) {
    ConfigFile writer(type);
    for (const Bytes& block : blocks)
        writer.AddRecord(block);
    return writer.Image();
}

TEST(DeviceConfigs, OfferedForExactlyTheTypesWithAnEditor) {
    std::set<int> withEditor;
    for (const CatalogueRow& row : kDeviceCatalogue) {
        if (row.hasEditor)
            withEditor.insert(row.code);
    }
    std::set<int> offered;
    for (int code = 0; code <= 255; ++code) {
        const auto config = MakeDeviceConfig(static_cast<std::uint8_t>(code));
        if (config == nullptr)
            continue;
        offered.insert(code);
        EXPECT_EQ(config->Type(), code);
    }
    EXPECT_EQ(offered, withEditor);
    std::set<int> tested;
    for (const TypeCase& c : Cases())
        tested.insert(c.type);
    EXPECT_EQ(tested, withEditor);
}

TEST(DeviceConfigs, DefaultsRepliesFramesAndFilesOfEveryType) {
    for (const TypeCase& c : Cases()) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        const auto defaults = MakeDeviceConfig(c.type);
        ASSERT_NE(defaults, nullptr);

        Bytes tx(c.writeFrame.size() + 8, 0x00);
        const ConfigFrame frame = defaults->WriteFrame(tx);
        EXPECT_TRUE(frame.refusal.empty());
        ASSERT_EQ(frame.length, c.writeFrame.size());
        EXPECT_EQ(Bytes(tx.begin(), tx.begin() + static_cast<std::ptrdiff_t>(frame.length)),
                  c.writeFrame);

        // A device that holds the defaults, and one that differs from them in its first byte.
        const Bytes configBytes(c.writeFrame.begin() + static_cast<std::ptrdiff_t>(c.recordAt),
                                c.writeFrame.end() - 1);
        const Bytes reply = ReplyOf(c, configBytes);
        Bytes otherBytes = configBytes;
        otherBytes[0] ^= 0x01;

        const Bytes image = defaults->Image();
        const auto config = MakeDeviceConfig(c.type);
        ASSERT_TRUE(config->LoadFromReply(ReplyOf(c, otherBytes)).Taken());
        const Bytes other = config->Image();
        ASSERT_NE(other, image);

        // A reply cut short of its length field, or a file whose block is refused, changes
        // nothing.
        const Bytes truncated(reply.begin(), reply.end() - 2);
        EXPECT_FALSE(config->LoadFromReply(truncated).Taken());
        EXPECT_EQ(config->Image(), other);
        const std::vector<std::span<const std::uint8_t>> blocks = defaults->FileBlocks();
        const Bytes first(blocks[0].begin(), blocks[0].end() - 1);
        EXPECT_FALSE(config->LoadImage(FileOf(c.type, {first})).Taken());
        EXPECT_EQ(config->Image(), other);
        if (c.twoBlocks) {
            const Bytes record(blocks[0].begin(), blocks[0].end());
            EXPECT_FALSE(config->LoadImage(FileOf(c.type, {record, Hex("00 01 00")})).Taken());
            EXPECT_EQ(config->Image(), other);
        }
        EXPECT_FALSE(config->LoadImage(FileOf(c.type == 26 ? 27 : 26, {first})).Taken());
        EXPECT_EQ(config->Image(), other);

        ASSERT_TRUE(config->LoadImage(image).Taken());
        EXPECT_EQ(config->Image(), image);

        ASSERT_TRUE(config->LoadFromReply(ReplyOf(c, otherBytes)).Taken());
        ASSERT_TRUE(config->LoadFromReply(reply).Taken());
        EXPECT_EQ(config->Image(), image);
    }
}

} // namespace
} // namespace tesmira
