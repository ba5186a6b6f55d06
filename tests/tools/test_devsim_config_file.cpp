// The simulator's configuration files: what it saves at exit is the file the configurator writes,
// and what it starts from is refused when damaged.
#include "devsim/SimConfigFile.h"
#include "link/Crc8.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tesmira::devsim {
namespace {

Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Closes a file with the configurator's CRC, an implementation apart from the simulator's.
Bytes Closed(Bytes file) {
    file.push_back(tesmira::Crc8(file));
    return file;
}

const Bytes kFile27 = {0x01, 0x00, 0x1B, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x0A, 0x03,
                       0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x0F};

TEST(DevsimConfigFile, SavesTheFactoryRecordAsTheConfiguratorDoes) {
    test::TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteConfigFile((dir / "26.bcf").string(), Device(26, 1), error)) << error;
    EXPECT_EQ(ReadAll(dir / "26.bcf"),
              (Bytes{0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07, 0x65,
                     0x3C, 0x1E, 0x00, 0x00, 0x01, 0x4C}));
}

TEST(DevsimConfigFile, StartsFromAConfiguratorsFile) {
    test::TempDir dir;
    WriteAll(dir / "27.bcf", kFile27);
    ConfigContent content;
    std::string error;
    ASSERT_TRUE(ReadConfigFile((dir / "27.bcf").string(), content, error)) << error;
    EXPECT_EQ(content.type, 27);
    EXPECT_EQ(content.record, (Bytes{0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07, 0x65, 0x3C, 0x1E,
                                     0x00, 0x00, 0x01}));
    EXPECT_TRUE(content.captions.empty());
}

TEST(DevsimConfigFile, TheGsmCaptionBlockGoesAndComesBack) {
    test::TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteConfigFile((dir / "32.bcf").string(), Device(32, 1), error)) << error;
    const Bytes file = ReadAll(dir / "32.bcf");
    ASSERT_EQ(file.size(), 3u + 2 + 384 + 2 + 4 + 1);
    EXPECT_EQ(Bytes(file.begin() + 389, file.begin() + 395),
              (Bytes{0x00, 0x04, 0x00, 0x01, 0x00, 0x04}));
    ConfigContent content;
    ASSERT_TRUE(ReadConfigFile((dir / "32.bcf").string(), content, error)) << error;
    EXPECT_EQ(content.type, 32);
    EXPECT_EQ(content.record.size(), 384u);
    EXPECT_EQ(content.captions, (Bytes{0x00, 0x01, 0x00, 0x04}));
}

TEST(DevsimConfigFile, DamagedFilesAreRefused) {
    test::TempDir dir;
    Bytes wrongCrc = kFile27;
    wrongCrc[7] ^= 0x01;
    const std::vector<Bytes> refused = {
        {},
        {0x01, 0x00, 0x1B, 0x00},
        wrongCrc,
        Closed({0x02, 0x00, 0x1B, 0x00, 0x00}),
        Closed({0x01, 0x00, 0x00, 0x00, 0x00}),             // type 0
        Closed({0x01, 0x00, 0x24, 0x00, 0x00}),             // type 36
        Closed({0x01, 0x00, 0x1A, 0x00, 0x0E, 0x01, 0x02}), // a record past the end
        Closed({0x01, 0x00, 0x1A, 0x00}),                   // no length field
    };
    for (std::size_t i = 0; i < refused.size(); ++i) {
        WriteAll(dir / "bad.bcf", refused[i]);
        ConfigContent content;
        std::string error;
        EXPECT_FALSE(ReadConfigFile((dir / "bad.bcf").string(), content, error)) << i;
        EXPECT_FALSE(error.empty()) << i;
    }
    ConfigContent content;
    std::string error;
    EXPECT_FALSE(ReadConfigFile((dir / "missing.bcf").string(), content, error));
}

TEST(DevsimConfigFile, AnUnwritableFileIsAnError) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteConfigFile((dir / "no" / "such" / "x.bcf").string(), Device(26, 1), error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace tesmira::devsim
