// Firmware transfers from a *.enc file through the real link to the simulator's loader at
// 115200 baud: the image it keeps, the progress reported, and refused or unanswered blocks.
#include "firmware/FirmwareImage.h"
#include "link/Frames.h"
#include "tools/SimLink.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tesmira::test {
namespace {

using namespace std::chrono_literals;
using Entry = RecordingTarget::Entry;
using Reports = std::vector<Entry>;

Entry Progress(int percent) {
    return {ExchangeReport::FirmwareProgress, percent, percent < 100};
}

const Entry kOpened{ExchangeReport::PortOpened, 0, false};
const Entry kFailed{ExchangeReport::NoValidReply, 0, false};

// A simulator that writes the image it received to a file when it stops.
struct FirmwareRig {
    explicit FirmwareRig(std::vector<std::string> faults = {}, LinkClock& clock = SystemLinkClock())
        : rig(Args(std::move(faults)), clock) {}

    std::vector<std::string> Args(std::vector<std::string> faults) {
        std::vector<std::string> args = {"--type", "35", "--firmware-out", imagePath};
        args.insert(args.end(), faults.begin(), faults.end());
        return args;
    }

    // Loads the file's text as the firmware window does; the image length, 0 when refused.
    int Load(const std::string& text) {
        const auto file = dir / "update.enc";
        std::ofstream(file, std::ios::binary) << text;
        const ImageResult r = LoadFirmwareImage(file, rig.link.TransmitBuffer());
        EXPECT_TRUE(r.ok());
        return static_cast<int>(r.length);
    }

    // What the device kept, once it has stopped.
    Bytes Received() {
        EXPECT_EQ(rig.sim.Stop(), 0);
        return ReadFile(imagePath);
    }

    TempDir dir;
    std::string imagePath = (dir / "image.bin").string();
    SimLink rig;
};

TEST(SimFirmware, ImageFromAFileArrivesWholeWithEvenPercentsPosted) {
    FirmwareRig fw;
    // Blocks of 3, 0, 1 and 4 data bytes, in both cases of hexadecimal digits.
    const int length = fw.Load("0003AABBCC"
                               "0000"
                               "0001fe"
                               "0004DEADbeef");
    ASSERT_EQ(length, 16);
    const ExchangeOutcome out = fw.rig.Run(ExchangeMode::Firmware, length);
    ASSERT_TRUE(out.finished);
    // Blocks start at 0, 5, 7 and 10 of 16 bytes: 0 %, 31 %, 43 %, 62 %; odd ones are not posted.
    EXPECT_EQ(out.reports, (Reports{kOpened, Progress(0), Progress(62), Progress(100)}));
    EXPECT_EQ(fw.Received(), (Bytes{0x00, 0x03, 0xAA, 0xBB, 0xCC, 0x00, 0x00, 0x00, 0x01, 0xFE,
                                    0x00, 0x04, 0xDE, 0xAD, 0xBE, 0xEF}));
}

// `count` blocks of 256 data bytes, as hexadecimal text, and the image it stands for.
std::pair<std::string, Bytes> Blocks(int count) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    Bytes image;
    for (int b = 0; b < count; ++b) {
        image.insert(image.end(), {0x01, 0x00});
        for (int i = 0; i < 256; ++i)
            image.push_back(static_cast<std::uint8_t>(b * 31 + i));
    }
    for (std::uint8_t byte : image) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return {text, image};
}

TEST(SimFirmware, TenFullBlocksReportEveryTenthPercent) {
    FirmwareRig fw;
    const auto [text, image] = Blocks(10);
    const int length = fw.Load(text);
    ASSERT_EQ(length, 2580);
    const ExchangeOutcome out = fw.rig.Run(ExchangeMode::Firmware, length);
    ASSERT_TRUE(out.finished);
    Reports expected = {kOpened};
    for (int p = 0; p < 100; p += 10)
        expected.push_back(Progress(p));
    expected.push_back(Progress(100));
    EXPECT_EQ(out.reports, expected);
    EXPECT_EQ(fw.Received(), image);
}

TEST(SimFirmware, RefusedBlockStopsTheTransferThere) {
    FirmwareRig fw({"--refuse-block", "2"});
    const auto [text, image] = Blocks(3);
    const int length = fw.Load(text);
    const ExchangeOutcome out = fw.rig.Run(ExchangeMode::Firmware, length);
    ASSERT_TRUE(out.finished);
    EXPECT_EQ(out.reports, (Reports{kOpened, Progress(0), kFailed}));
    EXPECT_EQ(fw.Received(), Bytes(image.begin(), image.begin() + 258));
}

TEST(SimFirmware, UnansweredBlockIsGivenUpAfterFiveSeconds) {
    FastSleepClock fast;
    FirmwareRig fw({"--drop-block", "2"}, fast);
    const auto [text, image] = Blocks(3);
    const ExchangeOutcome out = fw.rig.Run(ExchangeMode::Firmware, fw.Load(text));
    ASSERT_TRUE(out.finished);
    EXPECT_EQ(out.reports, (Reports{kOpened, Progress(0), kFailed}));
    EXPECT_GE(out.Between(ExchangeReport::FirmwareProgress, ExchangeReport::NoValidReply) *
                  FastSleepClock::kSpeedUp,
              4990ms);
    EXPECT_EQ(fw.Received(), Bytes(image.begin(), image.begin() + 258));
}

TEST(SimFirmware, ConfigurationSpeedFramesAreNotTakenForBlocks) {
    // A read at 9600 baud between two transfers: the device answers it as a frame, and the next
    // transfer's image starts afresh.
    FirmwareRig fw;
    const auto [text, image] = Blocks(2);
    const int length = fw.Load(text);
    ASSERT_EQ(fw.rig.Run(ExchangeMode::Firmware, length).codes(), (std::vector<int>{2, 5, 5, 5}));
    ASSERT_EQ(fw.rig.Run(ExchangeMode::Read).codes(), (std::vector<int>{2, 3, 0}));
    ASSERT_EQ(fw.Load("0002ABCD"), 4);
    ASSERT_EQ(fw.rig.Run(ExchangeMode::Firmware, 4).codes(), (std::vector<int>{2, 5, 5}));
    EXPECT_EQ(fw.Received(), (Bytes{0x00, 0x02, 0xAB, 0xCD}));
}

} // namespace
} // namespace tesmira::test
