// The simulated device's answers: records at their positions, writes, file commands, faults.
#include "devsim/SimDevice.h"
#include "devsim/SimOptions.h"
#include "link/Crc8.h"
#include "support/FactoryRecords.h"

#include <gtest/gtest.h>

namespace tesmira::devsim {
namespace {

using tesmira::test::kFactoryRecord26;

const Bytes kReadRequest = {0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3};

// Closes `f` with the configurator's CRC, an implementation apart from the simulator's.
Bytes Closed(Bytes f) {
    f.push_back(tesmira::Crc8(f));
    return f;
}

Bytes Answer(Device& d, const Bytes& frame) {
    std::string note;
    auto a = d.AnswerFrame(frame, note);
    return a ? *a : Bytes{};
}

TEST(DevsimDevice, ReadOfType26GivesItsFactoryRecordLiterally) {
    Device d(26, 9);
    EXPECT_EQ(Answer(d, kReadRequest),
              (Bytes{0x7E, 0x13, 0x52, 0x1A, 0x09, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07, 0x65,
                     0x3C, 0x1E, 0x00, 0x00, 0x01, 0xF1}));
}

// A request one byte short or long, closed by a right CRC, is no read request: answering it
// would hide a host that builds its request wrongly.
TEST(DevsimDevice, ReadRequestOfTheWrongLengthIsNotAnswered) {
    Device d(26, 9);
    EXPECT_TRUE(Answer(d, Closed({0x7E, 0x09, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00})).empty());
    EXPECT_TRUE(
        Answer(d, Closed({0x7E, 0x0B, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})).empty());
}

TEST(DevsimDevice, UnknownTypeAnswersAShortRecordOfZeros) {
    Device d(29, 4);
    EXPECT_EQ(Answer(d, kReadRequest), (Bytes{0x7E, 0x0E, 0x52, 0x1D, 0x04, 0x00, 0x00, 0x00, 0x00,
                                              0x00, 0x00, 0x00, 0x00, 0xB2}));
}

TEST(DevsimDevice, ShortWriteReplacesTheRecordAndIsAcknowledged) {
    Device d(26, 9);
    Bytes record = kFactoryRecord26;
    record[8] = 0x63;
    Bytes write = {0x7E, 0x13, 0x57, 0x01, 0x1A};
    write.insert(write.end(), record.begin(), record.end());
    EXPECT_EQ(Answer(d, Closed(write)), (Bytes{0x7E, 0x06, 0x57, 0x1A, 0x09, 0x10}));
    EXPECT_EQ(d.record(), record);
    EXPECT_EQ(Answer(d, kReadRequest)[5 + 8], 0x63);
}

TEST(DevsimDevice, WriteForAnotherTypeOrSizeIsIgnored) {
    Device d(26, 9);
    Bytes other = {0x7E, 0x13, 0x57, 0x01, 0x1B};
    other.insert(other.end(), kFactoryRecord26.begin(), kFactoryRecord26.end());
    EXPECT_TRUE(Answer(d, Closed(other)).empty());
    Bytes shortRecord = {0x7E, 0x12, 0x57, 0x01, 0x1A};
    shortRecord.insert(shortRecord.end(), kFactoryRecord26.begin(), kFactoryRecord26.end() - 1);
    EXPECT_TRUE(Answer(d, Closed(shortRecord)).empty());
    const Bytes longWrite = Closed({0x14, 0x00, 0x00, 0x07, 0x1A, 0x00});
    EXPECT_TRUE(Answer(d, longWrite).empty());
    EXPECT_EQ(d.record(), kFactoryRecord26);
}

TEST(DevsimDevice, Type34TakesItsRecordFromByte5AndAnswersItFromByte6) {
    Device d(34, 3);
    const Bytes reply = Answer(d, kReadRequest);
    ASSERT_EQ(reply.size(), 62u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 19),
              (Bytes{0x14, 0x00, 0x00, 0x3E, 0x22, 0x03, 0x00, 0x18, 0x00, 0x01, 0x05, 0x05, 0x05,
                     0x08, 0x01, 0x03, 0x33, 0x00, 0x0C}));
    Bytes write = {0x14, 0x00, 0x00, 0x3D, 0x22};
    for (int i = 0; i < 55; ++i)
        write.push_back(static_cast<std::uint8_t>(i + 1));
    EXPECT_EQ(Answer(d, Closed(write)), (Bytes{0x14, 0x00, 0x00, 0x07, 0x22, 0x03, 0x02}));
    const Bytes back = Answer(d, kReadRequest);
    EXPECT_EQ(back[6], 1);
    EXPECT_EQ(back[60], 55);
}

TEST(DevsimDevice, Type35LeavesByte5OutOfItsWrite) {
    Device d(35, 1);
    Bytes write = {0x14, 0x00, 0x00, 0x7B, 0x23, 0xEE};
    for (int i = 0; i < 116; ++i)
        write.push_back(static_cast<std::uint8_t>(i));
    ASSERT_FALSE(Answer(d, Closed(write)).empty());
    EXPECT_EQ(d.record().front(), 0);
    EXPECT_EQ(d.record().back(), 115);
}

TEST(DevsimDevice, Type32ReplyCarriesTheCaptionBlockFromByte386) {
    Device d(32, 7);
    const Bytes reply = Answer(d, kReadRequest);
    ASSERT_EQ(reply.size(), 391u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 8),
              (Bytes{0x14, 0x00, 0x01, 0x87, 0x20, 0x07, 0x01, 0x00}));
    EXPECT_EQ(Bytes(reply.begin() + 330, reply.begin() + 336),
              (Bytes{'*', '1', '0', '2', '#', 0x00})); // record 324..329
    EXPECT_EQ(reply[6 + 132], 0xFF);
    EXPECT_EQ(reply[6 + 323], 0xFF);
    EXPECT_EQ(reply[6 + 324 - 1], 0xFF);
    EXPECT_EQ(Bytes(reply.begin() + 348, reply.begin() + 350), (Bytes{0x0E, 0x5F}));
    EXPECT_EQ(Bytes(reply.begin() + 384, reply.begin() + 391),
              (Bytes{0xBA, 0xAB, 0x00, 0x01, 0x00, 0x04, 0x43}));
}

TEST(DevsimDevice, Type32WriteStoresRecordAndCaptionsUnlessTheBlockLengthDisagrees) {
    Device d(32, 7);
    Bytes write = {0x14, 0x00, 0x01, 0x8A, 0x20, 0x00};
    write.resize(386, 0x11);
    const Bytes block = {0x01, 0x01, 0x00, 0x07, 0x41, 0x42, 0x43};
    write.insert(write.end(), block.begin(), block.end());
    ASSERT_FALSE(Answer(d, Closed(write)).empty());
    EXPECT_EQ(d.captions(), block);
    EXPECT_EQ(Bytes(d.record().begin() + 380, d.record().end()), (Bytes{0x01, 0x01, 0x00, 0x07}));
    const Bytes reply = Answer(d, kReadRequest);
    ASSERT_EQ(reply.size(), 394u);
    EXPECT_EQ(Bytes(reply.begin() + 386, reply.end() - 1), block);

    write[386 + 3] = 0x06; // block header says 6, the frame carries 7
    EXPECT_TRUE(Answer(d, Closed(write)).empty());
    EXPECT_EQ(d.captions(), block);
}

TEST(DevsimDevice, FileCommandsAnswerWithTheList) {
    Device d(32, 7);
    d.AddFile("a.amr");
    EXPECT_EQ(Answer(d, Closed({0x14, 0x01, 0x00, 0x06, 0x20})),
              (Bytes{0x14, 0x01, 0x00, 0x0D, 0x20, 'a', '.', 'a', 'm', 'r', 0x0A, 0x00, 0x15}));
    Bytes upload = {0x14, 0x03, 0x00, 0x13, 0x20, 'b', '.', 'a', 'm', 'r', 0, 0, 0, 0, 0, 1, 2, 3};
    const Bytes listed = Answer(d, Closed(upload));
    EXPECT_EQ(std::string(listed.begin() + 5, listed.end() - 1),
              std::string("a.amr\nb.amr\n\0", 13));
    Bytes del = {0x14, 0x02, 0x00, 0x10, 0x20, 'a', '.', 'a', 'm', 'r', 0, 0, 0, 0, 0};
    const Bytes left = Answer(d, Closed(del));
    EXPECT_EQ(std::string(left.begin() + 5, left.end() - 1), std::string("b.amr\n\0", 7));
    Device repeater(34, 1);
    EXPECT_TRUE(Answer(repeater, Closed({0x14, 0x01, 0x00, 0x06, 0x22})).empty());
}

TEST(DevsimDevice, ReplyFaults) {
    Faults f;
    f.badCrc = true;
    Bytes r = Answer(*std::make_unique<Device>(26, 9, f), kReadRequest);
    EXPECT_EQ(r.back(), 0xF1 ^ 0xFF);
    f = {};
    f.extraByte = true;
    EXPECT_EQ(Answer(*std::make_unique<Device>(26, 9, f), kReadRequest).size(), 20u);
    f = {};
    f.truncate = 5;
    EXPECT_EQ(Answer(*std::make_unique<Device>(26, 9, f), kReadRequest).size(), 14u);
    f = {};
    f.zeroLength = true;
    EXPECT_EQ(Answer(*std::make_unique<Device>(26, 9, f), kReadRequest)[1], 0x00);
    r = Answer(*std::make_unique<Device>(35, 9, f), kReadRequest);
    EXPECT_EQ(r[2], 0x00);
    EXPECT_EQ(r[3], 0x00);
    f = {};
    f.silent = true;
    Device silent(26, 9, f);
    std::string note;
    EXPECT_FALSE(silent.AnswerFrame(kReadRequest, note));
    EXPECT_FALSE(silent.AnswerBlock(Bytes{0x00, 0x00}));
}

TEST(DevsimDevice, FirmwareBlocksAreAnsweredAndRefusalsCounted) {
    Faults f;
    f.refuseBlock = 3;
    Device d(30, 1, f);
    EXPECT_EQ(d.AnswerBlock(Bytes{0x00, 0x01, 0xAA}), kBlockAccepted);
    EXPECT_EQ(d.AnswerBlock(Bytes{0x00, 0x00}), kBlockAccepted);
    EXPECT_EQ(d.AnswerBlock(Bytes{0x00, 0x01, 0xBB}), kBlockRefused);
    EXPECT_EQ(d.firmware(), (Bytes{0x00, 0x01, 0xAA, 0x00, 0x00}));
    d.EndTransfer(); // a new transfer starts a new image and counts from 1 again
    EXPECT_EQ(d.AnswerBlock(Bytes{0x00, 0x00}), kBlockAccepted);
    EXPECT_EQ(d.firmware(), (Bytes{0x00, 0x00}));
    f = {};
    f.dropBlock = 1;
    Device dropping(30, 1, f);
    EXPECT_FALSE(dropping.AnswerBlock(Bytes{0x00, 0x00}));
    EXPECT_EQ(dropping.AnswerBlock(Bytes{0x00, 0x00}), kBlockAccepted);
}

TEST(DevsimOptions, FlagsAndValues) {
    std::string error;
    auto o = ParseOptions({"--type", "30", "--version", "9", "--files", "a.amr,b.amr", "--bad-crc",
                           "--truncate", "3", "--refuse-block", "2", "--log"},
                          error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->type, 30u);
    EXPECT_EQ(o->version, 9);
    EXPECT_EQ(o->files, (std::vector<std::string>{"a.amr", "b.amr"}));
    EXPECT_TRUE(o->faults.badCrc);
    EXPECT_EQ(o->faults.truncate, 3u);
    EXPECT_EQ(o->faults.refuseBlock, 2u);
    EXPECT_TRUE(o->log);
}

TEST(DevsimOptions, BadInputIsRefusedWithAReason) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--type", "256"}, {"--type", "3x"}, {"--type"}, {"--type", "1", "--wat"}, {}}) {
        std::string error;
        EXPECT_FALSE(ParseOptions(args, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace tesmira::devsim
