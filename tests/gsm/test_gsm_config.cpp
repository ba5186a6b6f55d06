// The type 32 editor's operations on its record, tables and caption block: defaults, the reply,
// the write frame and the configuration file.
#include "gsm/GsmConfig.h"
#include "gsm/GsmDeviceConfig.h"
#include "model/ConfigFile.h"
#include "support/HexBytes.h"
#include "support/LinkFrames.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

using test::Bytes;
using test::Hex;

Bytes Record(const GsmConfig& c) {
    return Bytes(c.record.bytes().begin(), c.record.bytes().end());
}

Bytes Block(const GsmConfig& c) {
    return Bytes(c.captions.block().begin(), c.captions.block().end());
}

// A configuration that differs from the defaults in each of its parts.
GsmConfig Edited() {
    GsmConfig c;
    c.SetDefaults();
    c.phones[0] = {"+79123456789", "Группа 2", "3", "Тревоги"};
    c.events.Fill(EventSelection::ClearViolations);
    c.captions.rows()[0] = {"Шлейф", "12", "abc"};
    c.Commit();
    return c;
}

void Append(Bytes& bytes, std::string_view hex) {
    const Bytes more = Hex(hex);
    bytes.insert(bytes.end(), more.begin(), more.end());
}

TEST(GsmConfig, DefaultsAndTheirWriteFrame) {
    GsmConfig c = Edited();
    c.SetDefaults();
    Bytes expected = Hex("01 00 00 00"); // number 1, format 0, no options
    expected.resize(132, 0x00);          // no phones
    expected.resize(324, 0xFF);          // every event of every group
    // SIM1 and SIM2 codes, no monthly reports, thresholds 0; protocol off, no test, port 24334
    Append(expected, "2A 31 30 32 23 00 00 00 2A 31 30 32 23 00 00 00 00 00 0E 5F");
    expected.resize(376, 0x00); // no address
    Append(expected, "00 00 BA AB 00 01 00 04");
    EXPECT_EQ(Record(c), expected);
    EXPECT_EQ(c.captions.rows()[0], CaptionRow{});
    EXPECT_EQ(c.phones[0].phone, "+79123456789"); // back in the record at the next commit

    c.phones = {};
    c.Commit();
    Bytes tx(400, 0x00);
    ASSERT_EQ(c.WriteFrame(tx).length, 391u);
    Bytes frame = Hex("14 00 01 87 20 00");
    frame.insert(frame.end(), expected.begin(), expected.begin() + 380);
    Append(frame, "00 01 00 04 D3 00");
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 392), frame);
}

TEST(GsmConfig, WriteFrameAbove2052BytesIsRefusedAndNothingWritten) {
    for (const std::size_t lastName : {5u, 6u}) { // 87 entries of 19 bytes and this one
        SCOPED_TRACE(lastName);
        GsmConfig c;
        for (std::size_t i = 0; i < 87; ++i)
            c.captions.rows()[i] = {"Шлейф", std::to_string(i), "abcdefghijklmnop"};
        c.captions.rows()[87] = {"Раздел", "1", std::string(lastName, 'x')};
        c.Commit();
        ASSERT_EQ(c.captions.block().size(), 1660u + lastName);
        Bytes tx(2100, 0xEE);
        const GsmWriteFrame frame = c.WriteFrame(tx);
        EXPECT_EQ(frame.length, lastName == 5 ? 2052u : 0u);
        EXPECT_EQ(frame.tooLarge, lastName == 6);
        EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 4),
                  lastName == 5 ? Hex("14 00 08 04") : Hex("EE EE EE EE"));
    }
}

// A type 32 reply: record bytes 0..379 (byte 0 is 0x2A), the block given (its bytes 2..3 are what
// the record's 382..383 say), then `padding` after the frame.
Bytes Reply(const std::string& block, std::size_t padding = 0) {
    const Bytes b = Hex(block);
    Bytes reply = Hex("14 00 00 00 20 07 2A");
    reply[2] = static_cast<std::uint8_t>((387 + b.size()) >> 8);
    reply[3] = static_cast<std::uint8_t>(387 + b.size());
    reply.resize(386, 0x00);
    reply.insert(reply.end(), b.begin(), b.end());
    reply = test::Closed(reply);
    reply.resize(reply.size() + padding, 0x00);
    return reply;
}

TEST(GsmConfig, ReplyCaptionLengthIsBoundedByTheFrameAndTheBuffer) {
    Bytes cutShort = Reply("00 01 00 04");
    cutShort.resize(390);
    const struct {
        const char* what;
        Bytes reply;
        GsmReplyOutcome outcome;
    } cases[] = {
        {"whole", Reply("01 01 00 0A 01 0C 03 61 62 63"), GsmReplyOutcome::Loaded},
        {"one past the frame", Reply("01 01 00 0B 01 0C 03 61 62 63"),
         GsmReplyOutcome::CaptionsPastReply},
        {"into the bytes after the frame", Reply("01 01 00 0E 01 0C 03 61 62 63", 8),
         GsmReplyOutcome::CaptionsPastReply},
        {"past the buffer", Reply("00 01 08 01"), GsmReplyOutcome::CaptionsPastBuffer},
        {"under the header", Reply("00 01 00 03"), GsmReplyOutcome::CaptionsTooShort},
        {"record cut short", cutShort, GsmReplyOutcome::RecordIncomplete},
    };
    for (const auto& [what, reply, outcome] : cases) {
        SCOPED_TRACE(what);
        GsmConfig config = Edited();
        const GsmConfig before = config;
        ASSERT_EQ(config.LoadFromReply(reply), outcome);
        if (outcome != GsmReplyOutcome::Loaded) {
            EXPECT_EQ(Record(config), Record(before));
            EXPECT_EQ(config.captions.rows(), before.captions.rows());
            EXPECT_EQ(config.phones, before.phones);
            continue;
        }
        EXPECT_EQ(config.record.bytes()[0], 0x2A);
        EXPECT_EQ(Block(config), Hex("01 01 00 0A 01 0C 03 61 62 63"));
        EXPECT_EQ(config.captions.rows()[0], (CaptionRow{"Шлейф", "12", "abc"}));
        EXPECT_EQ(config.phones[0], PhoneRow{}); // the tables show the reply's record
    }
}

TEST(GsmConfig, SavedFileLoadsBackWhole) {
    GsmDeviceConfig config;
    config.gsm = Edited();
    const GsmConfig& saved = config.gsm;
    const Bytes image = config.Image();
    ASSERT_EQ(image.size(), 402u);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 5), Hex("01 00 20 01 80"));
    EXPECT_EQ(Bytes(image.begin() + 389, image.end() - 1),
              Hex("00 0A 01 01 00 0A 01 0C 03 61 62 63"));

    ConfigFile reader;
    reader.LoadFromBytes(image);
    GsmConfig loaded;
    ASSERT_TRUE(loaded.LoadFromFile(reader));
    EXPECT_EQ(Record(loaded), Record(saved));
    EXPECT_EQ(loaded.phones, saved.phones);
    EXPECT_EQ(loaded.captions.rows(), saved.captions.rows());
}

TEST(GsmConfig, FileWithAnUnfitSectionChangesNothing) {
    const std::string over = "00 01 08 01" + std::string(2045 * 2, '0');
    const std::tuple<std::size_t, const char*, bool> cases[] = {
        {383, "00 01 00 04", false}, // a record of another size: no message
        {384, nullptr, true},        // no caption section
        {384, "00 01 00", true},     {384, over.c_str(), true},
        {384, "00 01 00 05", true}, // the header gives another length
    };
    for (const auto& [recordSize, captions, refused] : cases) {
        SCOPED_TRACE(recordSize);
        ConfigFile writer(32);
        writer.AddRecord(Bytes(recordSize, 0x33));
        if (captions != nullptr)
            writer.AddRecord(Hex(captions));
        ConfigFile reader;
        reader.LoadFromBytes(writer.Image());
        GsmConfig config = Edited();
        const GsmConfig before = config;
        std::string refusal;
        try {
            EXPECT_FALSE(config.LoadFromFile(reader));
        } catch (const ConfigFileError& e) {
            refusal = e.what();
        }
        EXPECT_EQ(refusal, refused ? kFileDamagedText : "");
        EXPECT_EQ(Record(config), Record(before));
        EXPECT_EQ(config.captions.rows(), before.captions.rows());
        EXPECT_EQ(Block(config), Block(before));
    }
}

TEST(GsmConfig, CommittedImageHoldsTheTablesWithoutCommittingThem) {
    GsmDeviceConfig config;
    const Bytes unedited = config.Image();
    EXPECT_EQ(config.CommittedImage(), unedited);

    config.gsm.phones[0] = {"+79123456789", "Группа 2", "3", "Тревоги"};
    config.gsm.captions.rows()[5] = {"Шлейф", "12", "abc"};
    config.gsm.captions.rows()[7] = {"Шлейф", "", ""}; // incomplete: a commit drops it
    const Bytes committed = config.CommittedImage();
    EXPECT_NE(committed, unedited);
    EXPECT_EQ(config.Image(), unedited);
    EXPECT_EQ(config.gsm.captions.rows()[7], (CaptionRow{"Шлейф", "", ""}));
    EXPECT_EQ(Bytes(committed.end() - 11, committed.end() - 1),
              Hex("01 01 00 0A 01 0C 03 61 62 63"));

    // Taken back as an undo takes it, the image is the same again, so no step follows.
    GsmDeviceConfig restored;
    ASSERT_TRUE(restored.LoadImage(committed).Taken());
    EXPECT_EQ(restored.CommittedImage(), committed);
    EXPECT_EQ(restored.gsm.phones[0].phone, "+79123456789");
}

} // namespace
} // namespace tesmira
