// The type 32 editor's operations on its record, tables and caption block: defaults, the reply,
// the write frame and the configuration file.
#include "gsm/GsmConfig.h"
#include "model/UnitFileIO.h"
#include "support/LinkFrames.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

using test::Bytes;
using test::Closed;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The record after SetDefaults, field by field.
const Bytes kDefaultRecord = Join({
    {0x01, 0x00, 0x00, 0x00},                    // device number 1, format 0, no options
    Bytes(128, 0x00),                            // no phones
    Bytes(192, 0xFF),                            // every event of every group
    {'*', '1', '0', '2', '#', 0x00, 0x00, 0x00}, // SIM1 code, no monthly report, threshold 0
    {'*', '1', '0', '2', '#', 0x00, 0x00, 0x00}, // SIM2 likewise
    {0x00, 0x00, 0x0E, 0x5F},                    // protocol off, no channel test, port 24334
    Bytes(32, 0x00),                             // no server address
    {0x00, 0x00, 0xBA, 0xAB, 0x00, 0x01, 0x00, 0x04},
});

Bytes RecordOf(const GsmConfig& c) {
    return Bytes(c.record.bytes().begin(), c.record.bytes().end());
}

// A configuration that differs from the defaults in each of its parts.
GsmConfig Edited() {
    GsmConfig c;
    c.SetDefaults();
    c.phones[0] = {"+79123456789", "Группа 2", "3", "Тревоги"};
    c.events.Fill(EventSelection::ClearViolations);
    c.captions.rows()[0] = {"Шлейф", "12", "abc"};
    c.record.SetPortFromText("1024");
    c.Commit();
    return c;
}

TEST(GsmConfig, DefaultsSelectEveryEventAndClearCaptionsButKeepThePhoneRows) {
    GsmConfig c = Edited();
    c.events.SelectGroup(2);
    c.SetDefaults();
    EXPECT_EQ(RecordOf(c), kDefaultRecord);
    EXPECT_EQ(Bytes(c.events.bytes().begin(), c.events.bytes().end()), Bytes(192, 0xFF));
    EXPECT_EQ(c.captions.rows()[0], CaptionRow{});
    EXPECT_EQ(c.phones[0].phone, "+79123456789");
    c.Commit(); // the kept rows return to the record
    EXPECT_EQ(c.record.bytes()[4], '7');
    EXPECT_EQ(c.captions.block().size(), 4u);
}

TEST(GsmConfig, DefaultWriteFrameIs391BytesWithTheEmptyCaptionBlock) {
    GsmConfig c;
    c.SetDefaults();
    c.Commit();
    Bytes tx(2100, 0x00);
    const GsmWriteFrame frame = c.WriteFrame(tx);
    ASSERT_EQ(frame.length, 391u);
    EXPECT_FALSE(frame.tooLarge);
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 392),
              Join({{0x14, 0x00, 0x01, 0x87, 0x20, 0x00},
                    Bytes(kDefaultRecord.begin(), kDefaultRecord.begin() + 380),
                    {0x00, 0x01, 0x00, 0x04, 0xD3, 0x00}}));
}

// 87 entries of 19 bytes and one whose name has `lastName` bytes.
TEST(GsmConfig, WriteFrameAbove2052BytesIsRefusedAndNothingWritten) {
    for (const std::size_t lastName : {5u, 6u}) {
        SCOPED_TRACE(lastName);
        GsmConfig c;
        for (int i = 0; i < 87; ++i)
            c.captions.rows()[static_cast<std::size_t>(i)] = {"Шлейф", std::to_string(i),
                                                              "abcdefghijklmnop"};
        c.captions.rows()[87] = {"Раздел", "1", std::string(lastName, 'x')};
        c.Commit();
        ASSERT_EQ(c.captions.block().size(), 1660u + lastName);
        Bytes tx(2100, 0xEE);
        const GsmWriteFrame frame = c.WriteFrame(tx);
        if (lastName == 5) {
            EXPECT_EQ(frame.length, 2052u);
            EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 4), (Bytes{0x14, 0x00, 0x08, 0x04}));
        } else {
            EXPECT_EQ(frame.length, 0u);
            EXPECT_TRUE(frame.tooLarge);
            EXPECT_EQ(tx, Bytes(2100, 0xEE));
        }
    }
}

// A type 32 reply, firmware 7: the record's first 380 bytes, then `block` (whose bytes 2..3 are
// what the record's 382..383 say), then `padding` after the frame.
Bytes Reply(const Bytes& block, std::size_t padding = 0) {
    const std::size_t n = 387 + block.size();
    Bytes head = {0x14, 0x00, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n),
                  0x20, 0x07};
    Bytes record(380, 0x00);
    record[0] = 0x2A;
    Bytes reply = Closed(Join({head, record, block}));
    reply.resize(reply.size() + padding, 0x00);
    return reply;
}

struct ReplyCase {
    const char* what;
    Bytes reply;
    GsmReplyOutcome outcome;
};

TEST(GsmConfig, ReplyCaptionLengthIsBoundedByTheFrameAndTheBuffer) {
    const Bytes block = {0x01, 0x01, 0x00, 0x0A, 0x01, 0x0C, 0x03, 'a', 'b', 'c'};
    Bytes record383 = Reply(block);
    record383.resize(390);
    const ReplyCase cases[] = {
        {"whole", Reply(block), GsmReplyOutcome::Loaded},
        {"one past the frame", Reply({0x01, 0x01, 0x00, 0x0B, 0x01, 0x0C, 0x03, 'a', 'b', 'c'}),
         GsmReplyOutcome::CaptionsPastReply},
        {"into the bytes after the frame",
         Reply({0x01, 0x01, 0x00, 0x0E, 0x01, 0x0C, 0x03, 'a', 'b', 'c'}, 8),
         GsmReplyOutcome::CaptionsPastReply},
        {"past the buffer", Reply({0x00, 0x01, 0x08, 0x01}), GsmReplyOutcome::CaptionsPastBuffer},
        {"under the header", Reply({0x00, 0x01, 0x00, 0x03}), GsmReplyOutcome::CaptionsTooShort},
        {"record cut short", record383, GsmReplyOutcome::RecordIncomplete},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        GsmConfig config = Edited();
        const GsmConfig before = config;
        EXPECT_EQ(config.LoadFromReply(c.reply), c.outcome);
        if (c.outcome != GsmReplyOutcome::Loaded) {
            EXPECT_EQ(RecordOf(config), RecordOf(before));
            EXPECT_EQ(config.captions.rows(), before.captions.rows());
            EXPECT_EQ(config.phones, before.phones);
            continue;
        }
        EXPECT_EQ(config.record.bytes()[0], 0x2A);
        EXPECT_EQ(Bytes(config.record.bytes().begin() + 380, config.record.bytes().end()),
                  (Bytes{0x01, 0x01, 0x00, 0x0A}));
        EXPECT_EQ(Bytes(config.captions.block().begin(), config.captions.block().end()), block);
        EXPECT_EQ(config.captions.rows()[0], (CaptionRow{"Шлейф", "12", "abc"}));
        EXPECT_EQ(config.phones[0], PhoneRow{}); // the reply's phone area is empty
        EXPECT_FALSE(config.events.IsSet(1, EventSelection::Kind::Violation)); // zero bytes
    }
}

TEST(GsmConfig, SavedFileLoadsBackWhole) {
    const GsmConfig saved = Edited();
    TFileIOSaver writer(32);
    saved.SaveTo(writer);
    const Bytes image = writer.Image();
    ASSERT_EQ(image.size(), 3u + 2 + 384 + 2 + 10 + 1);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 5), (Bytes{0x01, 0x00, 0x20, 0x01, 0x80}));
    EXPECT_EQ(Bytes(image.begin() + 389, image.end() - 1),
              (Bytes{0x00, 0x0A, 0x01, 0x01, 0x00, 0x0A, 0x01, 0x0C, 0x03, 'a', 'b', 'c'}));

    TFileIOSaver reader;
    reader.LoadFromBytes(image);
    GsmConfig loaded;
    ASSERT_TRUE(loaded.LoadFromFile(reader));
    EXPECT_EQ(RecordOf(loaded), RecordOf(saved));
    EXPECT_EQ(loaded.phones, saved.phones);
    EXPECT_EQ(loaded.events.bytes(), saved.events.bytes());
    EXPECT_EQ(loaded.captions.rows(), saved.captions.rows());
}

struct FileCase {
    const char* what;
    std::size_t recordSize;
    std::optional<Bytes> captions; // none: no caption section
    bool throws;
};

TEST(GsmConfig, FileWithAnUnfitCaptionSectionIsRefusedAndChangesNothing) {
    Bytes over(2049, 0x00);
    over[2] = 0x08;
    over[3] = 0x01;
    const FileCase cases[] = {
        {"record of 383 bytes", 383, Bytes{0x00, 0x01, 0x00, 0x04}, false},
        {"no caption section", 384, std::nullopt, true},
        {"caption section of 3 bytes", 384, Bytes{0x00, 0x01, 0x00}, true},
        {"caption section over 2048 bytes", 384, over, true},
        {"header length differs", 384, Bytes{0x00, 0x01, 0x00, 0x05}, true},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        TFileIOSaver writer(32);
        writer.AddRecord(Bytes(c.recordSize, 0x33));
        if (c.captions)
            writer.AddRecord(*c.captions);
        TFileIOSaver reader;
        reader.LoadFromBytes(writer.Image());
        GsmConfig config = Edited();
        const GsmConfig before = config;
        if (c.throws) {
            try {
                config.LoadFromFile(reader);
                ADD_FAILURE() << "not refused";
            } catch (const FileIOError& e) {
                EXPECT_STREQ(e.what(), kFileDamagedText);
            }
        } else {
            EXPECT_FALSE(config.LoadFromFile(reader));
        }
        EXPECT_EQ(RecordOf(config), RecordOf(before));
        EXPECT_EQ(config.captions.rows(), before.captions.rows());
        EXPECT_EQ(Bytes(config.captions.block().begin(), config.captions.block().end()),
                  Bytes(before.captions.block().begin(), before.captions.block().end()));
    }
}

} // namespace
} // namespace tesmira
