#include "link/Crc8.h"
#include "link/Frames.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A receive buffer of the real size holding `frame` from offset 0.
std::array<std::uint8_t, kReceiveBufferSize> received(const Bytes& frame) {
    std::array<std::uint8_t, kReceiveBufferSize> rx{};
    std::copy(frame.begin(), frame.end(), rx.begin());
    return rx;
}

// The type 26 write frame with the default record. Read as a frame, its bytes 3 and 4 stand where
// a reply carries its type code and version.
const Bytes kWriteFrame26 = {0x7E, 0x13, 0x57, 0x01, 0x1A, 0x01, 0x08, 0x05, 0x02, 0x03,
                             0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xD9};

TEST(FrameAcceptance, KnownGoodShortFrameIsAccepted) {
    auto rx = received(kWriteFrame26);
    EXPECT_TRUE(FrameIsValid(rx, kWriteFrame26.size()));
    EXPECT_EQ(ReplyDeviceType(rx), 0x01);
    EXPECT_EQ(ReplyVersion(rx), 0x1A);
    EXPECT_EQ(ReplyPayloadOffset(rx), 5u);
}

TEST(FrameAcceptance, CountMustEqualTheLengthFieldExactly) {
    Bytes longer = kWriteFrame26;
    longer.push_back(0x00); // an extra byte after a frame whose CRC is right at its position
    auto rx = received(longer);
    EXPECT_FALSE(FrameIsValid(rx, longer.size()));
    EXPECT_FALSE(FrameIsValid(rx, kWriteFrame26.size() - 1));
    EXPECT_TRUE(FrameIsValid(rx, kWriteFrame26.size()));
}

TEST(FrameAcceptance, WrongCrcIsRejected) {
    Bytes bad = kWriteFrame26;
    bad.back() ^= 0x01;
    EXPECT_FALSE(FrameIsValid(received(bad), bad.size()));
    Bytes payloadFlip = kWriteFrame26;
    payloadFlip[7] ^= 0x80;
    EXPECT_FALSE(FrameIsValid(received(payloadFlip), payloadFlip.size()));
}

TEST(FrameAcceptance, ZeroLengthFieldsAreRejected) {
    EXPECT_FALSE(FrameIsValid(received({0x7E, 0x00}), 2));
    EXPECT_FALSE(FrameIsValid(received({0x7E, 0x00}), 0));
    EXPECT_FALSE(FrameIsValid(received({0x14, 0x00, 0x00, 0x00, 0x20}), 5));
    EXPECT_FALSE(FrameIsValid(received({0x14, 0x00, 0x00, 0x00}), 0));
}

TEST(FrameAcceptance, ForeignStartByteIsRejected) {
    Bytes foreign = kWriteFrame26;
    foreign[0] = 0x7F;
    auto rx = received(foreign);
    EXPECT_FALSE(FrameIsValid(rx, foreign.size()));
    EXPECT_EQ(ExpectedFrameLength(rx), 0u);
    EXPECT_EQ(ReplyDeviceType(rx), 0);
    EXPECT_EQ(ReplyPayloadOffset(rx), 0u);
}

TEST(FrameAcceptance, LongFrameIsAcceptedAndNamesTypeAndVersion) {
    // 14 00 00 08 23 07 AA CRC: type 35, version 7, one payload byte.
    Bytes frame = {0x14, 0x00, 0x00, 0x08, 0x23, 0x07, 0xAA};
    frame.push_back(Crc8(frame.data(), frame.size()));
    auto rx = received(frame);
    EXPECT_TRUE(FrameIsValid(rx, frame.size()));
    EXPECT_EQ(ReplyDeviceType(rx), 35);
    EXPECT_EQ(ReplyVersion(rx), 7);
    EXPECT_EQ(ReplyPayloadOffset(rx), 6u);
}

TEST(FrameAcceptance, LengthBeyondTheReceiveBufferCanNeverBeAccepted) {
    std::array<std::uint8_t, kReceiveBufferSize> rx{};
    rx[0] = 0x14;
    rx[2] = 0x08; // 0x0841 = 2113, one more than the buffer holds
    rx[3] = 0x41;
    EXPECT_FALSE(FrameIsValid(rx, kReceiveBufferSize));
    EXPECT_FALSE(FrameIsValid(rx, 2113));
    rx[2] = 0xFF; // 65535
    rx[3] = 0xFF;
    EXPECT_FALSE(FrameIsValid(rx, 65535));
}

TEST(FrameAcceptance, FullBufferLongFrameIsAccepted) {
    std::array<std::uint8_t, kReceiveBufferSize> rx{};
    rx[0] = 0x14;
    rx[2] = 0x08; // 2112
    rx[3] = 0x40;
    rx[4] = 32;
    rx[kReceiveBufferSize - 1] = Crc8(rx.data(), kReceiveBufferSize - 1);
    EXPECT_TRUE(FrameIsValid(rx, kReceiveBufferSize));
}

TEST(FrameAcceptance, TypeCodesAreReadWhateverTheirValue) {
    for (std::uint8_t type : {std::uint8_t{0}, std::uint8_t{35}, std::uint8_t{36}}) {
        Bytes frame = {0x7E, 0x07, 0x52, type, 0x05, 0x00};
        frame.push_back(Crc8(frame.data(), frame.size()));
        auto rx = received(frame);
        EXPECT_TRUE(FrameIsValid(rx, frame.size()));
        EXPECT_EQ(ReplyDeviceType(rx), type);
    }
    EXPECT_FALSE(DeviceTypeSupported(0));
    EXPECT_TRUE(DeviceTypeSupported(1));
    EXPECT_TRUE(DeviceTypeSupported(35));
    EXPECT_FALSE(DeviceTypeSupported(36));
}

TEST(FrameAcceptance, ShortBuffersAreNeverReadPastTheirEnd) {
    const std::uint8_t one[] = {0x7E};
    EXPECT_FALSE(FrameIsValid(std::span<const std::uint8_t>(one, 1), 1));
    const std::uint8_t longHead[] = {0x14, 0x00, 0x00};
    EXPECT_EQ(ExpectedFrameLength(longHead), 0u);
    EXPECT_EQ(ReplyDeviceType(longHead), 0);
    // Length field says 3 but only 2 bytes exist in the span.
    const std::uint8_t two[] = {0x7E, 0x03};
    EXPECT_FALSE(FrameIsValid(two, 3));
}

TEST(FrameWriters, ReadRequestIsExact) {
    std::array<std::uint8_t, kTransmitBufferSize> tx{};
    ASSERT_EQ(WriteReadRequest(tx), 10u);
    const Bytes expected = {0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3};
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 10), expected);
    EXPECT_EQ(tx[10], 0x00);
}

TEST(FrameWriters, ReadRequestLeavesBytes5To8AndCoversThemByCrc) {
    std::array<std::uint8_t, 16> tx;
    tx.fill(0xA5);
    ASSERT_EQ(WriteReadRequest(tx), 10u);
    EXPECT_EQ(tx[5], 0xA5);
    EXPECT_EQ(tx[8], 0xA5);
    EXPECT_EQ(tx[9], Crc8(tx.data(), 9));
    EXPECT_NE(tx[9], 0xE3);
    EXPECT_EQ(tx[10], 0xA5);
}

TEST(FrameWriters, ShortWriteFrameOfType26DefaultsIsExact) {
    std::array<std::uint8_t, kTransmitBufferSize> tx{};
    const Bytes record = {0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                          0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};
    ASSERT_EQ(WriteShortWriteFrame(tx, 26, record), 19u);
    const Bytes expected = {0x7E, 0x13, 0x57, 0x01, 0x1A, 0x01, 0x08, 0x05, 0x02, 0x03,
                            0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xD9};
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 19), expected);
}

TEST(FrameWriters, ShortFrameThatWouldOverflowItsLengthByteIsRefused) {
    std::array<std::uint8_t, 300> tx{};
    tx.fill(0x5A);
    const Bytes record(250, 0x11); // 256 bytes in all
    EXPECT_EQ(WriteShortWriteFrame(tx, 30, record), 0u);
    EXPECT_EQ(tx[0], 0x5A); // nothing written
    const Bytes fits(249, 0x11);
    EXPECT_EQ(WriteShortWriteFrame(tx, 30, fits), 255u);
}

TEST(FrameWriters, LongFrameWithPayloadAt5) {
    // Type 34 layout: 14 00 00 3D 22, 55 bytes from 5, CRC at 60.
    std::array<std::uint8_t, kTransmitBufferSize> tx{};
    const Bytes record(55, 0x33);
    ASSERT_EQ(WriteLongFrame(tx, LongCommand::WriteConfig, 34, 5, record), 61u);
    EXPECT_EQ(tx[0], 0x14);
    EXPECT_EQ(tx[1], 0x00);
    EXPECT_EQ(tx[2], 0x00);
    EXPECT_EQ(tx[3], 0x3D);
    EXPECT_EQ(tx[4], 34);
    EXPECT_EQ(tx[5], 0x33);
    EXPECT_EQ(tx[59], 0x33);
    EXPECT_EQ(tx[60], Crc8(tx.data(), 60));
}

TEST(FrameWriters, LongFrameWithPayloadAt6LeavesByte5) {
    // Type 35 layout: byte 5 is not set by the writer and the CRC covers what it holds.
    std::array<std::uint8_t, kTransmitBufferSize> tx{};
    tx[5] = 0x77;
    const Bytes record(116, 0x01);
    ASSERT_EQ(WriteLongFrame(tx, LongCommand::WriteConfig, 35, 6, record), 123u);
    EXPECT_EQ(tx[3], 0x7B);
    EXPECT_EQ(tx[5], 0x77);
    EXPECT_EQ(tx[6], 0x01);
    EXPECT_EQ(tx[121], 0x01);
    EXPECT_EQ(tx[122], Crc8(tx.data(), 122));
}

TEST(FrameWriters, ListFilesFrameIsSixBytes) {
    std::array<std::uint8_t, 8> tx{};
    ASSERT_EQ(WriteLongFrame(tx, LongCommand::ListFiles, 32, 5, {}), 6u);
    const Bytes head = {0x14, 0x01, 0x00, 0x06, 0x20};
    EXPECT_EQ(Bytes(tx.begin(), tx.begin() + 5), head);
    EXPECT_EQ(tx[5], Crc8(tx.data(), 5));
}

TEST(FrameWriters, LongFrameLengthIsBigEndianAndBoundedByTheBuffer) {
    std::vector<std::uint8_t> tx(kTransmitBufferSize, 0);
    const Bytes payload(2000, 0xEE);
    ASSERT_EQ(WriteLongFrame(tx, LongCommand::UploadFile, 32, 15, payload), 2016u);
    EXPECT_EQ(tx[2], 0x07);
    EXPECT_EQ(tx[3], 0xE0);
    std::array<std::uint8_t, 100> small{};
    EXPECT_EQ(WriteLongFrame(small, LongCommand::UploadFile, 32, 15, payload), 0u);
    EXPECT_EQ(small[0], 0x00);
    const Bytes huge(kLongFrameMaxLength, 0x01);
    EXPECT_EQ(WriteLongFrame(tx, LongCommand::UploadFile, 32, 15, huge), 0u);
    // A payload offset inside the header would overwrite the type byte: nothing is written.
    std::array<std::uint8_t, 16> header{};
    EXPECT_EQ(WriteLongFrame(header, LongCommand::WriteConfig, 34, 4, Bytes{0xAB}), 0u);
    EXPECT_EQ(header, (std::array<std::uint8_t, 16>{}));
}

} // namespace
} // namespace tesmira
