// The sound-file commands: their frames, their refusals and the file list of their replies.
#include "gsm/SoundFiles.h"
#include "model/ConfigFile.h"
#include "support/HexBytes.h"
#include "support/LinkFrames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tesmira {
namespace {

using test::Bytes;
using test::Hex;

TEST(SoundFiles, ListAndDeleteFramesAndTheShortNameRefusal) {
    Bytes tx(32, 0xEE);
    ASSERT_EQ(WriteListFilesFrame(tx), 6u);
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 7), Hex("14 01 00 06 20 16 EE"));

    const SoundFileFrame del = WriteDeleteFrame(tx, "abc.amr");
    ASSERT_EQ(del.length, 16u);
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 17),
              Hex("14 02 00 10 20 61 62 63 2E 61 6D 72 00 00 00 86 EE"));
    // A longer name is cut to the field; a shorter one than 4 is no file name.
    ASSERT_EQ(WriteDeleteFrame(tx, "abcdefgh.amr").length, 16u);
    EXPECT_EQ(Bytes(tx.begin() + 5, tx.begin() + 15), test::Text("abcdefgh.a"));
    const Bytes before = tx;
    const SoundFileFrame refused = WriteDeleteFrame(tx, "a.b");
    EXPECT_EQ(refused.length, 0u);
    EXPECT_EQ(std::string(refused.refusal) + "|" + std::string(refused.title),
              "Выберите файл|Удаление файла");
    EXPECT_EQ(tx, before);
    EXPECT_EQ(WriteDeleteFrame(tx, "a.bc").length, 16u);
}

TEST(SoundFiles, UploadChecksNameAndSize) {
    Bytes tx(6000, 0xEE);
    const Bytes content(5000, 0x5A);
    EXPECT_EQ(WriteUploadFrame(tx, "123456.amr", content).refusal,
              "Длина файла с расширением не должна \r\nпревышать 10 символов");
    EXPECT_EQ(tx, Bytes(6000, 0xEE));
    EXPECT_EQ(WriteUploadFrame(tx, "12345.amr", Bytes(5001, 0x5A)).refusal,
              "Можно загрузить файлы только до 5 килобайт.");

    // Nine bytes of the device's code page, though 15 of UTF-8.
    const SoundFileFrame frame = WriteUploadFrame(tx, "гудок.amr", content);
    ASSERT_EQ(frame.length, 5016u);
    EXPECT_EQ(frame.refusal, "");
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 16),
              Hex("14 03 13 98 20 E3 F3 E4 EE EA 2E 61 6D 72 00 5A"));
    EXPECT_EQ(Bytes(tx.begin() + 15, tx.begin() + 5015), content);
    EXPECT_EQ(tx[5015], Crc8(tx.data(), 5015));
}

TEST(SoundFiles, UploadFromDiskChecksNameAndSizeBeforeReading) {
    test::TempDir dir;
    std::ofstream(dir / "big.amr", std::ios::binary) << std::string(5001, 'x');
    std::ofstream(dir / "ok.amr", std::ios::binary) << "xyz";
    std::ofstream(dir / "most.amr", std::ios::binary) << std::string(5000, 'x');
    Bytes tx(6000, 0xEE);
    EXPECT_EQ(WriteUploadFrameFromFile(tx, dir / "big.amr").refusal, kUploadTooLargeText);
    EXPECT_EQ(WriteUploadFrameFromFile(tx, dir / "missing.amr1").refusal, kUploadNameTooLongText);
    EXPECT_THROW(WriteUploadFrameFromFile(tx, dir / "none.amr"), ConfigFileError);
    EXPECT_EQ(WriteUploadFrameFromFile(tx, dir / "most.amr").length, 5016u);
    ASSERT_EQ(WriteUploadFrameFromFile(tx, dir / "ok.amr").length, 19u);
    EXPECT_EQ(Bytes(tx.begin() + 15, tx.begin() + 18), test::Text("xyz"));
}

TEST(SoundFiles, FileListReplies) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        // three names, the middle one without a dot
        {"61 2E 61 6D 72 0A 72 65 61 64 6D 65 0A 62 2E 61 6D 72 0A 00", {"a.amr", "b.amr"}},
        {"00 61 2E 61 6D 72 0A", {}},                 // a zero byte first
        {"61 2E 61 6D 72 13 62 2E 61 00", {"a.amr"}}, // the last name not ended
        {"61 2E 61 6D 72 01 01 62 2E 61", {"a.amr"}}, // no zero byte before the CRC
        {"E3 2E 61 6D 72 0A 00", {"г.amr"}},
    };
    for (const auto& [names, shown] : cases) {
        SCOPED_TRACE(names);
        const Bytes list = Hex(names);
        Bytes reply = {0x14, 0x01, 0x00, static_cast<std::uint8_t>(list.size() + 6), 0x20};
        reply.insert(reply.end(), list.begin(), list.end());
        reply = test::Closed(reply);
        EXPECT_EQ(ParseFileList(reply), shown);
        reply.resize(reply.size() + 40, 'z'); // the rest of the receive buffer is not the list
        EXPECT_EQ(ParseFileList(reply), shown);
    }
    // The CRC byte ends no name, whatever its value (0x05 here; the list does not check it).
    EXPECT_EQ(ParseFileList(Hex("14 01 00 0F 20 61 2E 61 6D 72 0A 62 2E 61 05")),
              (std::vector<std::string>{"a.amr"}));
}

} // namespace
} // namespace tesmira
