// The sound-file commands: their frames, their refusals and the file list of their replies.
#include "gsm/SoundFiles.h"
#include "model/UnitFileIO.h"
#include "support/LinkFrames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tesmira {
namespace {

using test::Bytes;

TEST(SoundFiles, ListAndDeleteFrames) {
    Bytes tx(32, 0xEE);
    ASSERT_EQ(WriteListFilesFrame(tx), 6u);
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 7), (Bytes{0x14, 0x01, 0x00, 0x06, 0x20, 0x16, 0xEE}));

    const SoundFileFrame del = WriteDeleteFrame(tx, "abc.amr");
    ASSERT_EQ(del.length, 16u);
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 17),
              (Bytes{0x14, 0x02, 0x00, 0x10, 0x20, 'a', 'b', 'c', '.', 'a', 'm', 'r', 0x00, 0x00,
                     0x00, 0x86, 0xEE}));
    // A longer name is cut to the field.
    ASSERT_EQ(WriteDeleteFrame(tx, "abcdefgh.amr").length, 16u);
    EXPECT_EQ(Bytes(tx.begin() + 5, tx.begin() + 15),
              (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', '.', 'a'}));
}

TEST(SoundFiles, ShortDeleteNameIsRefusedWithoutAFrame) {
    Bytes tx(32, 0xEE);
    const SoundFileFrame refused = WriteDeleteFrame(tx, "a.b");
    EXPECT_EQ(refused.length, 0u);
    EXPECT_EQ(refused.refusal, "Выберите файл");
    EXPECT_EQ(refused.title, "Удаление файла");
    EXPECT_EQ(tx, Bytes(32, 0xEE));
    EXPECT_EQ(WriteDeleteFrame(tx, "a.bc").length, 16u);
}

TEST(SoundFiles, UploadChecksNameAndSize) {
    Bytes tx(6000, 0xEE);
    const Bytes content(5000, 0x5A);
    EXPECT_EQ(WriteUploadFrame(tx, "123456.amr", content).refusal,
              "Длина файла с расширением не должна \r\nпревышать 10 символов");
    EXPECT_EQ(WriteUploadFrame(tx, "сирена.amr", content).refusal, kUploadNameTooLongText);
    EXPECT_EQ(tx, Bytes(6000, 0xEE));
    EXPECT_EQ(WriteUploadFrame(tx, "12345.amr", Bytes(5001, 0x5A)).refusal,
              "Можно загрузить файлы только до 5 килобайт.");
    EXPECT_EQ(WriteUploadFrame(tx, "12345.amr", content).title, "");

    // Nine bytes of the device's code page, though 15 of UTF-8.
    const SoundFileFrame frame = WriteUploadFrame(tx, "гудок.amr", content);
    ASSERT_EQ(frame.length, 5016u);
    EXPECT_EQ(frame.refusal, "");
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 16),
              (Bytes{0x14, 0x03, 0x13, 0x98, 0x20, 0xE3, 0xF3, 0xE4, 0xEE, 0xEA, '.', 'a', 'm', 'r',
                     0x00, 0x5A}));
    EXPECT_EQ(Bytes(tx.begin() + 15, tx.begin() + 5015), content);
    EXPECT_EQ(tx[5015], Crc8(tx.data(), 5015));
}

TEST(SoundFiles, UploadFromDiskChecksTheSizeBeforeReading) {
    test::TempDir dir;
    const auto write = [&dir](const std::string& name, std::size_t size) {
        std::ofstream(dir / name, std::ios::binary) << std::string(size, 'x');
        return dir / name;
    };
    Bytes tx(6000, 0xEE);
    EXPECT_EQ(WriteUploadFrameFromFile(tx, write("big.amr", 5001)).refusal, kUploadTooLargeText);
    EXPECT_EQ(WriteUploadFrameFromFile(tx, dir / "long-name.amr").refusal,
              kUploadNameTooLongText); // refused before the missing file is looked for
    EXPECT_THROW(WriteUploadFrameFromFile(tx, dir / "none.amr"), FileIOError);
    EXPECT_EQ(tx, Bytes(6000, 0xEE));
    const SoundFileFrame frame = WriteUploadFrameFromFile(tx, write("ok.amr", 3));
    ASSERT_EQ(frame.length, 19u);
    EXPECT_EQ(Bytes(tx.begin() + 15, tx.begin() + 18), (Bytes{'x', 'x', 'x'}));
}

struct ListCase {
    const char* what;
    Bytes names; // from byte 5 to the CRC
    std::vector<std::string> shown;
};

TEST(SoundFiles, FileListReplies) {
    const ListCase cases[] = {
        {"three names, the middle one without a dot",
         {'a', '.', 'a',  'm', 'r', 0x0A, 'r', 'e', 'a',  'd',
          'm', 'e', 0x0A, 'b', '.', 'a',  'm', 'r', 0x0A, 0x00},
         {"a.amr", "b.amr"}},
        {"a zero byte first", {0x00, 'a', '.', 'a', 'm', 'r', 0x0A}, {}},
        {"a last name without separator",
         {'a', '.', 'a', 'm', 'r', 0x13, 'b', '.', 'a', 0x00},
         {"a.amr"}},
        {"no zero byte before the CRC",
         {'a', '.', 'a', 'm', 'r', 0x01, 0x01, 'b', '.', 'a'},
         {"a.amr"}},
        {"a code page name", {0xE3, '.', 'a', 'm', 'r', 0x0A, 0x00}, {"г.amr"}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes reply = {0x14, 0x01, 0x00, static_cast<std::uint8_t>(c.names.size() + 6), 0x20};
        reply.insert(reply.end(), c.names.begin(), c.names.end());
        reply = test::Closed(reply);
        EXPECT_EQ(ParseFileList(reply), c.shown);
        reply.resize(reply.size() + 40, 'z'); // the rest of the receive buffer is not the list
        EXPECT_EQ(ParseFileList(reply), c.shown);
    }
}

} // namespace
} // namespace tesmira
