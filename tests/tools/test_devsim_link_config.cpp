// The configurator's real link against the simulator over a pseudo-terminal: reading every device
// type, writing records and reading them back, and the GSM communicator's file commands.
#include "link/Frames.h"
#include "support/FactoryRecords.h"
#include "tools/SimLink.h"

#include <gtest/gtest.h>

#include <string>

namespace tesmira::test {
namespace {

using Entry = RecordingTarget::Entry;
using Reports = std::vector<Entry>;

// Factory records, byte for byte.
const Bytes kRecord30 = {0x38, 0x17, 0x1E, 0x1E, 0x28, 0x14, 0x00, 0x00, 0x28, 0x14, 0x00, 0x00,
                         0x28, 0x14, 0x00, 0x00, 0x08, 0x10, 0x00, 0x00, 0x10, 0x0F, 0x00, 0x00,
                         0x18, 0x04, 0x00, 0x00, 0x18, 0x04, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00,
                         0x00, 0x33, 0x10, 0x00, 0x80, 0x01, 0x10, 0x01, 0x00, 0x00, 0x01, 0x02,
                         0x04, 0x08, 0x10, 0x20, 0xFF, 0x00, 0x78, 0x00, 0x00, 0x00};
const Bytes kRecord33 = {0x07, 0x17, 0x05, 0x14, 0x06, 0x15, 0x02, 0x0F, 0x03, 0x04,
                         0x00, 0x00, 0x01, 0x00, 0x80, 0x00, 0x78, 0x00, 0x00, 0x00};
// Transmitter entries (objects) are all zero.
const Bytes kRecord34 =
    Join({{0x00, 0x18, 0x00, 0x01, 0x05, 0x05, 0x05, 0x08, 0x01, 0x03, 0x33, 0x00, 0x0C},
          Bytes(42, 0x00)});
const Bytes kRecord35 = Join({{0x01, 0x00, 0x00, 0x03, 0x04, 0x07, 0x17, 0x1E, 0x1E, 0x01,
                               0x01, 0x03, 0x00, 0x01, 0x18, 0x28, 0x01, 0x01, 0x33, 0x00},
                              Bytes(96, 0x00)});
const Bytes kRecord32 = Join({
    {0x01, 0x00, 0x00, 0x00},                    // device number 1, format 0, no options
    Bytes(128, 0x00),                            // phone table
    Bytes(192, 0xFF),                            // every event selected
    {'*', '1', '0', '2', '#', 0x00, 0x00, 0x00}, // SIM1 code, no monthly report, threshold 0
    {'*', '1', '0', '2', '#', 0x00, 0x00, 0x00}, // SIM2 likewise
    {0x00, 0x00, 0x0E, 0x5F},                    // protocol off, no channel test, port 24334
    Bytes(32, 0x00),                             // no server address
    {0x00, 0x00, 0xBA, 0xAB},
    {0x00, 0x01, 0x00, 0x04}, // passed through; caption block header
});
// A device type the catalogue names but no editor serves, and one past the catalogue.
const Bytes kRecordUnknown = Bytes(8, 0x00);

struct ReadCase {
    std::uint8_t type;
    std::uint8_t version;
    bool longForm;
    std::size_t total; // reply length
    Bytes record;      // at 5 (short) or 6 (long)
    ExchangeReport last;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << "type " << int(c.type);
}

class SimRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SimRead, ReplyCarriesTypeVersionAndFactoryRecordAtTheirPositions) {
    const ReadCase& c = GetParam();
    SimLink rig({"--type", std::to_string(c.type), "--version", std::to_string(c.version)});
    const ExchangeOutcome out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    const int arg = c.last == ExchangeReport::Identified ? c.type : 0;
    EXPECT_EQ(out.reports, (Reports{{ExchangeReport::PortOpened, 0, false},
                                    {ExchangeReport::ReplyStarted, 0, false},
                                    {c.last, arg, false}}));
    const Bytes rx = rig.Received();
    ASSERT_EQ(rx.size(), c.total);
    const std::size_t at = c.longForm ? 6 : 5;
    if (c.longForm) {
        EXPECT_EQ(rx[0], 0x14);
        EXPECT_EQ(rx[2] << 8 | rx[3], int(c.total));
        EXPECT_EQ(rx[4], c.type);
        EXPECT_EQ(rx[5], c.version);
    } else {
        EXPECT_EQ(rx[0], 0x7E);
        EXPECT_EQ(rx[1], c.total);
        EXPECT_EQ(rx[3], c.type);
        EXPECT_EQ(rx[4], c.version);
    }
    ASSERT_EQ(c.total, at + c.record.size() + 1);
    EXPECT_EQ(Bytes(rx.begin() + at, rx.end() - 1), c.record);
    EXPECT_FALSE(rig.link.port.Connected());
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, SimRead,
    ::testing::Values(ReadCase{26, 9, false, 19, kFactoryRecord26, ExchangeReport::Identified},
                      ReadCase{27, 1, false, 19, kFactoryRecord27, ExchangeReport::Identified},
                      ReadCase{30, 12, false, 64, kRecord30, ExchangeReport::Identified},
                      ReadCase{31, 3, false, 64, kRecord30, ExchangeReport::Identified},
                      ReadCase{32, 7, true, 391, kRecord32, ExchangeReport::Identified},
                      ReadCase{33, 255, false, 26, kRecord33, ExchangeReport::Identified},
                      ReadCase{34, 0, true, 62, kRecord34, ExchangeReport::Identified},
                      ReadCase{35, 4, true, 123, kRecord35, ExchangeReport::Identified},
                      ReadCase{28, 2, false, 14, kRecordUnknown, ExchangeReport::Identified},
                      ReadCase{36, 2, false, 14, kRecordUnknown, ExchangeReport::Unsupported}),
    [](const auto& info) { return "Type" + std::to_string(info.param.type); });

struct WriteCase {
    std::uint8_t type;
    Bytes record;
    Bytes head;        // the first five bytes of the write frame
    std::size_t total; // write frame length
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << "type " << int(c.type);
}

// A record unlike the factory one in every byte that matters.
Bytes Changed(const Bytes& record) {
    Bytes r = record;
    for (std::size_t k = 0; k < r.size(); ++k)
        r[k] = static_cast<std::uint8_t>(k * 37 + 11);
    return r;
}

// Builds the write frame the way the editors do, in the module's transmit buffer.
std::size_t BuildWrite(LinkModule& link, std::uint8_t type, const Bytes& record) {
    const auto tx = link.TransmitBuffer();
    switch (type) {
    case 34:
        return WriteLongFrame(tx, LongCommand::WriteConfig, type, 5, record);
    case 35:
        return WriteLongFrame(tx, LongCommand::WriteConfig, type, 6, record);
    case 32: {
        // Record bytes 0..379, then the caption block (here the empty one) from byte 386.
        Bytes payload(record.begin(), record.begin() + 380);
        payload.insert(payload.end(), {0x00, 0x01, 0x00, 0x04});
        return WriteLongFrame(tx, LongCommand::WriteConfig, type, 6, payload);
    }
    default:
        return WriteShortWriteFrame(tx, type, record);
    }
}

class SimWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SimWrite, WrittenRecordIsAcknowledgedAndReadBackInPlace) {
    const WriteCase& c = GetParam();
    SimLink rig({"--type", std::to_string(c.type), "--version", "5"});
    const Bytes record = Changed(c.record);
    const std::size_t n = BuildWrite(rig.link, c.type, record);
    ASSERT_EQ(n, c.total);
    const auto tx = rig.link.TransmitBuffer();
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 5), c.head);

    ExchangeOutcome out = rig.Run(ExchangeMode::Write, static_cast<int>(n));
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (std::vector<int>{2, 3, 1}));

    out = rig.Run(ExchangeMode::Read);
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.codes(), (std::vector<int>{2, 3, 0}));
    const Bytes rx = rig.Received();
    const std::size_t at = rx[0] == 0x14 ? 6 : 5;
    ASSERT_EQ(rx.size(), at + record.size() + 1);
    Bytes expected = record;
    if (c.type == 32) // the block header stands over the record's last four bytes
        std::copy_n(Bytes{0x00, 0x01, 0x00, 0x04}.begin(), 4, expected.begin() + 380);
    EXPECT_EQ(Bytes(rx.begin() + at, rx.end() - 1), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEditorType, SimWrite,
    ::testing::Values(WriteCase{26, kFactoryRecord26, {0x7E, 0x13, 0x57, 0x01, 0x1A}, 19},
                      WriteCase{27, kFactoryRecord27, {0x7E, 0x13, 0x57, 0x01, 0x1B}, 19},
                      WriteCase{30, kRecord30, {0x7E, 0x40, 0x57, 0x01, 0x1E}, 64},
                      WriteCase{31, kRecord30, {0x7E, 0x40, 0x57, 0x01, 0x1F}, 64},
                      WriteCase{32, kRecord32, {0x14, 0x00, 0x01, 0x87, 0x20}, 391},
                      WriteCase{33, kRecord33, {0x7E, 0x1A, 0x57, 0x01, 0x21}, 26},
                      WriteCase{34, kRecord34, {0x14, 0x00, 0x00, 0x3D, 0x22}, 61},
                      WriteCase{35, kRecord35, {0x14, 0x00, 0x00, 0x7B, 0x23}, 123}),
    [](const auto& info) { return "Type" + std::to_string(info.param.type); });

TEST(SimWriteGsm, LargestCaptionBlockGoesOutAndComesBackWhole) {
    SimLink rig({"--type", "32", "--version", "7"});
    // 1665 bytes: the frame is 2052 bytes, the most a write may have, and so is the reply.
    Bytes block = {0x05, 0x01, 0x06, 0x81};
    for (std::size_t i = block.size(); i < 1665; ++i)
        block.push_back(static_cast<std::uint8_t>(i * 7 + 3));
    Bytes payload(kRecord32.begin(), kRecord32.begin() + 380);
    payload.insert(payload.end(), block.begin(), block.end());
    const std::size_t n =
        WriteLongFrame(rig.link.TransmitBuffer(), LongCommand::WriteConfig, 32, 6, payload);
    ASSERT_EQ(n, 2052u);
    ASSERT_EQ(rig.Run(ExchangeMode::Write, 2052).codes(), (std::vector<int>{2, 3, 1}));

    ASSERT_EQ(rig.Run(ExchangeMode::Read).codes(), (std::vector<int>{2, 3, 0}));
    const Bytes rx = rig.Received();
    ASSERT_EQ(rx.size(), 2052u);
    EXPECT_EQ(Bytes(rx.begin(), rx.begin() + 6), (Bytes{0x14, 0x00, 0x08, 0x04, 0x20, 0x07}));
    EXPECT_EQ(Bytes(rx.begin() + 6, rx.begin() + 386),
              Bytes(payload.begin(), payload.begin() + 380));
    EXPECT_EQ(Bytes(rx.begin() + 386, rx.end() - 1), block);
}

// The names in a file list reply, each separator shown as '|'; the list ends at its zero byte.
std::string FileList(const Bytes& reply) {
    std::string names;
    for (std::size_t i = 5; i + 1 < reply.size() && reply[i] != 0; ++i)
        names += reply[i] < 0x14 ? '|' : static_cast<char>(reply[i]);
    return names;
}

TEST(SimFiles, ListUploadAndDeleteEachAnswerWithTheListInTheReceiveBuffer) {
    SimLink rig({"--type", "32", "--files", "hello.amr,alarm.amr"});

    rig.Put({0x14, 0x01, 0x00, 0x06, 0x20, 0x16});
    ExchangeOutcome out = rig.Run(ExchangeMode::FileCommand, 6);
    ASSERT_TRUE(out.finished);
    EXPECT_EQ(out.reports, (Reports{{ExchangeReport::PortOpened, 0, false},
                                    {ExchangeReport::ReplyStarted, 0, false},
                                    {ExchangeReport::FileCommandDone, 0, false}}));
    Bytes rx = rig.Received();
    ASSERT_GE(rx.size(), 7u);
    EXPECT_EQ(rx[0], 0x14);
    EXPECT_EQ(rx[4], 0x20);
    EXPECT_EQ(FileList(rx), "hello.amr|alarm.amr|");
    EXPECT_EQ(rx[rx.size() - 2], 0x00); // the list's end, right before the CRC

    const Bytes upload = {'s', 'i', 'r', 'e', 'n', '.', 'a', 'm', 'r', 0x00, 1, 2, 3, 4, 5};
    const std::size_t n =
        WriteLongFrame(rig.link.TransmitBuffer(), LongCommand::UploadFile, 32, 5, upload);
    ASSERT_EQ(n, 21u); // file size + 16
    ASSERT_EQ(rig.Run(ExchangeMode::FileCommand, 21).codes(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(FileList(rig.Received()), "hello.amr|alarm.amr|siren.amr|");

    const Bytes name = {'h', 'e', 'l', 'l', 'o', '.', 'a', 'm', 'r', 0x00};
    ASSERT_EQ(WriteLongFrame(rig.link.TransmitBuffer(), LongCommand::DeleteFile, 32, 5, name), 16u);
    ASSERT_EQ(rig.Run(ExchangeMode::FileCommand, 16).codes(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(FileList(rig.Received()), "alarm.amr|siren.amr|");
}

TEST(SimFiles, EmptyStoreAnswersAnEmptyList) {
    SimLink rig({"--type", "32"});
    rig.Put({0x14, 0x01, 0x00, 0x06, 0x20, 0x16});
    ASSERT_EQ(rig.Run(ExchangeMode::FileCommand, 6).codes(), (std::vector<int>{2, 3, 4}));
    const Bytes rx = rig.Received();
    ASSERT_EQ(rx.size(), 7u);
    EXPECT_EQ(rx[5], 0x00);
}

} // namespace
} // namespace tesmira::test
