#include "model/ConfigFile.h"

#include "link/Crc8.h"
#include "support/FactoryRecords.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace tesmira {
namespace {

using tesmira::test::kFactoryRecord26;
using tesmira::test::kFactoryRecord27;
using Bytes = std::vector<std::uint8_t>;

const Bytes& kDefaultFile26 = tesmira::test::kFactoryFile26;
const Bytes kDefaultFile27 = {0x01, 0x00, 0x1B, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x0A, 0x03,
                              0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x0F};

Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

long CountFiles(const std::filesystem::path& dir) {
    return std::distance(std::filesystem::directory_iterator(dir),
                         std::filesystem::directory_iterator());
}

// Appends the CRC-8 of the bytes so far: builds test input, never an expectation.
Bytes Closed(Bytes bytes) {
    bytes.push_back(Crc8(bytes));
    return bytes;
}

// The message a load of `bytes` raises, or "" when it loads.
std::string LoadError(const Bytes& bytes) {
    ConfigFile reader;
    try {
        reader.LoadFromBytes(bytes);
    } catch (const ConfigFileError& e) {
        return e.what();
    }
    return {};
}

const std::string kDamaged = "Файл поврежден";
const std::string kVersion = "Версия файла не поддерживается";

TEST(ConfigFileWrite, DefaultFilesOfTypes26And27AreByteExact) {
    test::TempDir dir;
    ConfigFile writer26(26);
    writer26.AddRecord(kFactoryRecord26);
    writer26.SaveTo(dir / "26.bcf");
    EXPECT_EQ(ReadAll(dir / "26.bcf"), kDefaultFile26);

    ConfigFile writer27(27);
    writer27.AddRecord(kFactoryRecord27);
    writer27.SaveTo(dir / "27.bcf");
    EXPECT_EQ(ReadAll(dir / "27.bcf"), kDefaultFile27);
}

TEST(ConfigFileWrite, TwoRecordsFollowEachOtherWithTheirLengths) {
    ConfigFile writer(32);
    writer.AddRecord(Bytes{0x0A, 0x0B, 0x0C});
    writer.AddRecord(Bytes{0x0D, 0x0E});
    EXPECT_EQ(writer.Image(), (Bytes{0x01, 0x00, 0x20, 0x00, 0x03, 0x0A, 0x0B, 0x0C, 0x00, 0x02,
                                     0x0D, 0x0E, 0x24}));
}

TEST(ConfigFileWrite, RecordOf4090BytesFillsTheBufferAnd4091Raise) {
    ConfigFile full(35);
    full.AddRecord(Bytes(4090, 0x5A));
    const Bytes image = full.Image();
    ASSERT_EQ(image.size(), 4096u);
    EXPECT_EQ(image[3], 0x0F);
    EXPECT_EQ(image[4], 0xFA);

    ConfigFile over(35);
    try {
        over.AddRecord(Bytes(4091, 0x5A));
        FAIL() << "4091 bytes were accepted";
    } catch (const ConfigFileError& e) {
        EXPECT_STREQ(e.what(), "FileIO Buff low size");
    }
    // The refused record left nothing behind.
    EXPECT_EQ(over.Image(), (Bytes{0x01, 0x00, 0x23, Crc8(Bytes{0x01, 0x00, 0x23})}));
}

TEST(ConfigFileWrite, LaterRecordsCountWhatIsAlreadyInTheBuffer) {
    ConfigFile writer(26);
    writer.AddRecord(kFactoryRecord26); // position 3 + 15 = 18
    EXPECT_THROW(writer.AddRecord(Bytes(4076, 0)), ConfigFileError);
    writer.AddRecord(Bytes(4075, 0));
    EXPECT_EQ(writer.Image().size(), 4096u);
    EXPECT_THROW(writer.AddRecord(Bytes{}), ConfigFileError); // not even an empty one fits now
}

TEST(ConfigFileWrite, SaveReplacesAnExistingLongerFile) {
    test::TempDir dir;
    WriteAll(dir / "a.bcf", Bytes(100, 0xEE));
    ConfigFile writer(26);
    writer.AddRecord(kFactoryRecord26);
    writer.SaveTo(dir / "a.bcf");
    EXPECT_EQ(ReadAll(dir / "a.bcf"), kDefaultFile26);
    EXPECT_EQ(CountFiles(dir.path()), 1);
}

// Lowers the file size limit of this process so that a write of more bytes fails (EFBIG).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(ConfigFileWrite, FailedSaveKeepsTheExistingFileAndLeavesNoTemporary) {
    test::TempDir dir;
    const auto target = dir / "keep.bcf";
    WriteAll(target, kDefaultFile26);
    ConfigFile big(35);
    big.AddRecord(Bytes(4000, 0x77));
    {
        FileSizeLimit limit(1000);
        try {
            big.SaveTo(target);
            FAIL() << "the save did not report the failed write";
        } catch (const ConfigFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Не удалось записать файл " + target.string());
        }
    }
    EXPECT_EQ(ReadAll(target), kDefaultFile26);
    EXPECT_EQ(CountFiles(dir.path()), 1);
}

// Runs `body` as an unprivileged user (root may write any file) and gives its exit code.
int RunUnprivileged(const std::function<int()>& body) {
    if (geteuid() != 0)
        return body();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(90);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 91;
}

TEST(ConfigFileWrite, AWriteProtectedFileIsNotReplaced) {
    const int result = RunUnprivileged([] {
        char folder[] = "/tmp/tesmira-ro-XXXXXX";
        if (mkdtemp(folder) == nullptr)
            return 92;
        const std::filesystem::path target = std::filesystem::path(folder) / "site.bcf";
        WriteAll(target, kDefaultFile26);
        std::filesystem::permissions(target, std::filesystem::perms::owner_read);
        ConfigFile writer(27);
        writer.AddRecord(kFactoryRecord26);
        int outcome = 0;
        try {
            writer.SaveTo(target);
            outcome = 1; // replaced without a word
        } catch (const ConfigFileError& e) {
            if (std::string(e.what()) != "Не удалось записать файл " + target.string())
                outcome = 2;
        }
        if (outcome == 0 && ReadAll(target) != kDefaultFile26)
            outcome = 3;
        if (outcome == 0 && std::distance(std::filesystem::directory_iterator(folder),
                                          std::filesystem::directory_iterator()) != 1)
            outcome = 4;
        std::filesystem::remove_all(folder);
        return outcome;
    });
    EXPECT_EQ(result, 0) << "1: replaced, 2: wrong text, 3: content changed, 4: a file left";
}

TEST(ConfigFileWrite, SaveIntoAMissingFolderFailsAndCreatesNothing) {
    test::TempDir dir;
    ConfigFile writer(26);
    writer.AddRecord(kFactoryRecord26);
    EXPECT_THROW(writer.SaveTo(dir / "missing" / "a.bcf"), ConfigFileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(ConfigFileRead, DefaultFileGivesItsTypeAndRecord) {
    test::TempDir dir;
    WriteAll(dir / "27.bcf", kDefaultFile27);
    ConfigFile reader;
    EXPECT_EQ(reader.LoadFrom(dir / "27.bcf"), 27);
    EXPECT_EQ(reader.DeviceType(), 27);
    Bytes record(13, 0xFF);
    EXPECT_EQ(reader.ReadRecord(record, 13), 13u);
    EXPECT_EQ(record, kFactoryRecord27);
    EXPECT_EQ(reader.ReadRecord(record, 0), 0u); // no further record
}

TEST(ConfigFileRead, ShortFilesAreDamagedWhateverTheirVersion) {
    EXPECT_EQ(LoadError({}), kDamaged);
    EXPECT_EQ(LoadError({0x01, 0x00, 0x1A, 0x00}), kDamaged);
    EXPECT_EQ(LoadError({0x02, 0x00, 0x1A, 0x00}), kDamaged);
}

TEST(ConfigFileRead, FiveBytesAreJudgedByVersionCrcAndType) {
    EXPECT_EQ(LoadError({0x01, 0x00, 0x1A, 0x00, 0x8C}), "");
    EXPECT_EQ(LoadError({0x02, 0x00, 0x1A, 0x00, 0x09}), kVersion);
    EXPECT_EQ(LoadError({0x01, 0x00, 0x1A, 0x00, 0x8D}), kDamaged);
    EXPECT_EQ(LoadError({0x01, 0x00, 0x00, 0x00, 0xAC}), kDamaged); // type 0
    EXPECT_EQ(LoadError({0x01, 0x00, 0x24, 0x00, 0xB6}), kDamaged); // type 36
    EXPECT_EQ(LoadError({0x01, 0x00, 0x23, 0x00, 0xDC}), "");       // type 35
    EXPECT_EQ(LoadError({0x01, 0x01, 0x1A, 0x00, 0x8F}), kDamaged); // 256 + 26
}

TEST(ConfigFileRead, VersionIsCheckedBeforeTheCrc) {
    Bytes version2 = kDefaultFile26;
    version2[0] = 0x02;
    EXPECT_EQ(LoadError(version2), kVersion); // CRC now wrong as well
    version2.back() = 0xB3;                   // and right
    EXPECT_EQ(LoadError(version2), kVersion);
}

TEST(ConfigFileRead, AnyChangedByteIsRefused) {
    for (std::size_t i = 0; i < kDefaultFile26.size(); ++i) {
        for (int value = 0; value < 256; ++value) {
            if (value == kDefaultFile26[i])
                continue;
            Bytes changed = kDefaultFile26;
            changed[i] = static_cast<std::uint8_t>(value);
            ASSERT_EQ(LoadError(changed), i == 0 ? kVersion : kDamaged)
                << "byte " << i << " = " << value;
        }
    }
}

TEST(ConfigFileRead, OnlyTheFirst4096BytesCount) {
    Bytes body = {0x01, 0x00, 0x23, 0x0F, 0xFA};
    body.resize(4095, 0x33);
    Bytes longer = Closed(body);
    longer.resize(5000, 0x44);
    test::TempDir dir;
    WriteAll(dir / "long.bcf", longer);
    ConfigFile reader;
    EXPECT_EQ(reader.LoadFrom(dir / "long.bcf"), 35);
    Bytes record(4090);
    EXPECT_EQ(reader.ReadRecord(record, 4090), 4090u);
    EXPECT_EQ(record, Bytes(4090, 0x33));

    Bytes padded = kDefaultFile26;
    padded.resize(4097, 0x44);
    EXPECT_EQ(LoadError(padded), kDamaged);
}

TEST(ConfigFileRead, MissingFileIsReportedWithItsName) {
    test::TempDir dir;
    ConfigFile reader;
    try {
        reader.LoadFrom(dir / "none.bcf");
        FAIL() << "a missing file loaded";
    } catch (const ConfigFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Не удалось открыть файл " + (dir / "none.bcf").string());
    }
    EXPECT_THROW(reader.LoadFrom(dir.path()), ConfigFileError);
}

TEST(ConfigFileRecords, WrongLengthCopiesNothingAndSkipsOnlyTheLengthField) {
    // Record length field 12 in front of the 13 default bytes.
    const Bytes file = {0x01, 0x00, 0x1A, 0x00, 0x0C, 0x01, 0x08, 0x05, 0x02, 0x03,
                        0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x85};
    ConfigFile reader;
    ASSERT_EQ(reader.LoadFromBytes(file), 26);
    Bytes record(13, 0xFF);
    EXPECT_EQ(reader.ReadRecord(record, 13), 0u);
    EXPECT_EQ(record, Bytes(13, 0xFF));
    // The next read takes the record's first two bytes (01 08) as a length.
    Bytes any(4096, 0xFF);
    EXPECT_EQ(reader.ReadRecord(any, 0), 0u);

    // A record of length 4 whose bytes are themselves a record 00 02 AA BB: asked for 2, the
    // first gives nothing and the next read finds AA BB right behind the skipped length field.
    ASSERT_EQ(
        reader.LoadFromBytes(Bytes{0x01, 0x00, 0x1A, 0x00, 0x04, 0x00, 0x02, 0xAA, 0xBB, 0x45}),
        26);
    Bytes two(2, 0xFF);
    EXPECT_EQ(reader.ReadRecord(two, 2), 0u);
    EXPECT_EQ(reader.ReadRecord(two, 2), 2u);
    EXPECT_EQ(two, (Bytes{0xAA, 0xBB}));
}

TEST(ConfigFileRecords, LengthPastTheEndIsRefused) {
    // Length 255 with 13 bytes behind it, CRC right.
    const Bytes file = {0x01, 0x00, 0x1A, 0x00, 0xFF, 0x01, 0x08, 0x05, 0x02, 0x03,
                        0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x94};
    ConfigFile reader;
    ASSERT_EQ(reader.LoadFromBytes(file), 26);
    Bytes record(4096, 0xFF);
    EXPECT_EQ(reader.ReadRecord(record, 0), 0u);
    EXPECT_EQ(record, Bytes(4096, 0xFF));

    // Length 14 reaches exactly into the CRC byte, which is not record data.
    const Bytes intoCrc = {0x01, 0x00, 0x1A, 0x00, 0x0E, 0x01, 0x08, 0x05, 0x02, 0x03,
                           0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x66};
    ASSERT_EQ(reader.LoadFromBytes(intoCrc), 26);
    EXPECT_EQ(reader.ReadRecord(record, 14), 0u);
    EXPECT_EQ(record, Bytes(4096, 0xFF));

    // A length field that itself overlaps the CRC byte: the 5-byte file.
    ASSERT_EQ(reader.LoadFromBytes(Bytes{0x01, 0x00, 0x1A, 0x00, 0x8C}), 26);
    EXPECT_EQ(reader.ReadRecord(record, 0), 0u);
}

TEST(ConfigFileRecords, RecordLargerThanTheDestinationIsRefused) {
    ConfigFile reader;
    ASSERT_EQ(reader.LoadFromBytes(kDefaultFile26), 26);
    Bytes small(12, 0xFF);
    EXPECT_EQ(reader.ReadRecord(small, 0), 0u);
    EXPECT_EQ(small, Bytes(12, 0xFF));
}

TEST(ConfigFileRecords, SecondRecordOfAnyLengthFollowsTheFirst) {
    const Bytes file = {0x01, 0x00, 0x20, 0x00, 0x03, 0x0A, 0x0B,
                        0x0C, 0x00, 0x02, 0x0D, 0x0E, 0x24};
    ConfigFile reader;
    ASSERT_EQ(reader.LoadFromBytes(file), 32);
    Bytes first(3);
    Bytes rest(100, 0x00);
    EXPECT_EQ(reader.ReadRecord(first, 3), 3u);
    EXPECT_EQ(reader.ReadRecord(rest, 0), 2u);
    EXPECT_EQ(first, (Bytes{0x0A, 0x0B, 0x0C}));
    EXPECT_EQ(rest[0], 0x0D);
    EXPECT_EQ(rest[1], 0x0E);
    EXPECT_EQ(rest[2], 0x00);
}

TEST(ConfigFileRecords, ALoadStartsOverAfterAnEarlierFile) {
    ConfigFile reader;
    ASSERT_EQ(reader.LoadFromBytes(kDefaultFile26), 26);
    Bytes record(13);
    ASSERT_EQ(reader.ReadRecord(record, 13), 13u);
    ASSERT_EQ(reader.LoadFromBytes(kDefaultFile27), 27);
    EXPECT_EQ(reader.ReadRecord(record, 13), 13u);
    EXPECT_EQ(record, kFactoryRecord27);
    // A refused file leaves the reader as it was.
    EXPECT_THROW(reader.LoadFromBytes(Bytes{0x01, 0x00}), ConfigFileError);
    EXPECT_EQ(reader.DeviceType(), 27);
}

} // namespace
} // namespace tesmira
