// tesmira-cli's device commands as a script runs them: real processes against the simulator,
// their files, backups, output and exit statuses. The exchange and the records are tested below.
#include "app/DeviceConfigs.h"
#include "link/FailureHint.h"
#include "link/FrameDecoder.h"
#include "support/FactoryRecords.h"
#include "support/LinkFrames.h"
#include "support/PatchedImage.h"
#include "tools/CliProcess.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tesmira::test {
namespace {

using namespace std::chrono_literals;

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The simulator and a folder for the files of one case.
struct CliRig {
    explicit CliRig(std::vector<std::string> simArgs) : sim(WithSave(std::move(simArgs))) {}

    std::vector<std::string> WithSave(std::vector<std::string> args) {
        args.insert(args.end(), {"--save", (dir / "device.bcf").string()});
        return args;
    }
    // Runs tesmira-cli with the simulator's port after `args`.
    CliResult Run(std::vector<std::string> args) {
        args.insert(args.end(), {"-p", CliPortOf(sim)});
        return RunCliProcess(args, dir.path());
    }
    // The record(s) the device holds, once it has stopped.
    Bytes DeviceFile() {
        EXPECT_EQ(sim.Stop(), 0);
        return ReadFile((dir / "device.bcf").string());
    }
    // The backups kept, by the end of their names ("_before.bcf", "_after.bcf").
    std::vector<std::filesystem::path> Backups(const std::string& ending = ".bcf") const {
        std::vector<std::filesystem::path> files;
        std::error_code ec;
        for (const auto& entry :
             std::filesystem::directory_iterator(CliBackupsFolder(dir.path()), ec))
            if (entry.path().filename().string().ends_with(ending))
                files.push_back(entry.path());
        return files;
    }

    TempDir dir;
    DevsimProcess sim;
};

TEST(CliDevice, ReadToAFileHoldsTheDevicesRecordAndTracesEachFrame) {
    CliRig rig({"--type", "30", "--version", "9"});
    const auto file = rig.dir / "read.bcf";
    const CliResult read = rig.Run({"read", "-o", file.string(), "--trace"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_NE(read.out.find("Velmar 280, версия 9"), std::string::npos) << read.out;
    // The request, time-stamped and in hex, then the reply.
    EXPECT_NE(read.err.find("→ прибор\t10\tзапрос чтения\tверна\t" + HexText(kReadRequest)),
              std::string::npos)
        << read.err;
    EXPECT_NE(read.err.find("← прибор"), std::string::npos);
    EXPECT_EQ(RunCliProcess({"read", "-p", CliPortOf(rig.sim)}, rig.dir.path()).status, 0);
    EXPECT_EQ(ReadFile(file.string()), rig.DeviceFile());
}

TEST(CliDevice, WriteKeepsTheBackupsBeforeAndAfterAndTheDeviceTakesTheFile) {
    CliRig rig({"--type", "26"});
    const Bytes image = PatchedImage(*MakeDeviceConfig(26), {{0, 9, {0x2D}}});
    const auto file = rig.dir / "site.bcf";
    WriteBytes(file, image);
    const CliResult write = rig.Run({"write", file.string()});
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_NE(write.out.find("Данные записаны\n"), std::string::npos) << write.out;
    EXPECT_EQ(rig.DeviceFile(), image);
    const auto before = rig.Backups("_before.bcf");
    const auto after = rig.Backups("_after.bcf");
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(ReadFile(before[0].string()), kFactoryFile26);
    EXPECT_EQ(ReadFile(after[0].string()), image);
    EXPECT_NE(write.out.find(before[0].filename().string()), std::string::npos) << write.out;
}

TEST(CliDevice, ADeviceOfAnotherTypeIsRefusedWithNothingWritten) {
    CliRig rig({"--type", "27"});
    const auto file = rig.dir / "site.bcf";
    WriteBytes(file, kFactoryFile26);
    const CliResult refused = rig.Run({"write", file.string()});
    EXPECT_EQ(refused.status, 5);
    EXPECT_TRUE(refused.err.starts_with("Подключен прибор другого типа:\n")) << refused.err;
    EXPECT_TRUE(rig.Backups().empty());
}

TEST(CliDevice, AWriteWhoseBackupCannotBeKeptGoesOnOnlyWithYes) {
    CliRig rig({"--type", "26"});
    const Bytes image = PatchedImage(*MakeDeviceConfig(26), {{0, 9, {0x2D}}});
    const auto file = rig.dir / "site.bcf";
    WriteBytes(file, image);
    const auto notAFolder = rig.dir / "data";
    WriteBytes(notAFolder, {0x00});
    const std::vector<std::string> write = {"write", file.string(), "-p", CliPortOf(rig.sim)};
    const CliResult refused = RunCliProcess(write, notAFolder);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("Не удалось сохранить копию конфигурации прибора:\n"),
              std::string::npos)
        << refused.err;
    std::vector<std::string> forced = write;
    forced.push_back("--yes");
    EXPECT_EQ(RunCliProcess(forced, notAFolder).status, 0);
    EXPECT_EQ(rig.DeviceFile(), image);
}

TEST(CliDevice, FlashSendsTheImageAndSaysOnlyTheResultWhenStderrIsNoTerminal) {
    // Blocks of 3, 0 and 4 data bytes; the second refused in the second case.
    const std::string text = "0003AABBCC00000004DEADBEEF";
    const Bytes image = {0x00, 0x03, 0xAA, 0xBB, 0xCC, 0x00, 0x00,
                         0x00, 0x04, 0xDE, 0xAD, 0xBE, 0xEF};
    struct Case {
        std::vector<std::string> faults;
        int status;
        std::string out, err;
    };
    const std::vector<Case> cases = {
        {{}, 0, "Прошивка обновлена\n", ""},
        {{"--refuse-block", "2"},
         5,
         "",
         "Устройство не отвечает\nЗагрузчик отклонил блок 2 из 3 (ответ 22)\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::vector<std::string> args = {"--type", "35", "--firmware-out",
                                         (dir / "image.bin").string()};
        args.insert(args.end(), c.faults.begin(), c.faults.end());
        DevsimProcess sim(args);
        std::ofstream(dir / "update.enc") << text;
        const CliResult flash = RunCliProcess(
            {"flash", "-p", CliPortOf(sim), (dir / "update.enc").string()}, dir.path());
        EXPECT_EQ(flash.status, c.status) << flash.err;
        EXPECT_EQ(flash.out, c.out);
        EXPECT_EQ(flash.err, c.err);
        if (c.status == 0) {
            EXPECT_EQ(sim.Stop(), 0);
            EXPECT_EQ(ReadFile((dir / "image.bin").string()), image);
        }
    }
}

TEST(CliDevice, FilesListOfTheGsmCommunicatorAsJson) {
    CliRig rig({"--type", "32", "--files", "HELLO.amr,ALARM.amr"});
    const CliResult list = rig.Run({"files", "list", "--json"});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "[\n  \"HELLO.amr\",\n  \"ALARM.amr\"\n]\n");
}

TEST(CliDevice, ThePortAndTheDeviceFailuresEndWithTheirStatusAndTheWindowsText) {
    TempDir dir;
    const CliResult noPort = RunCliProcess({"read", "-p", MissingPort(dir)}, dir.path());
    EXPECT_EQ(noPort.status, 3);
    EXPECT_TRUE(noPort.err.starts_with("Невозможно открыть порт")) << noPort.err;

    struct Case {
        std::vector<std::string> sim;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"--type", "30", "--bad-crc"},
         "Нет связи, проверьте соединения или номер порта\n" + std::string(kDistortedHint) + "\n"},
        // A type the catalogue names but no editor serves: nothing to read it into.
        {{"--type", "12"}, "Подключенный прибор:\n"},
    };
    for (const Case& c : cases) {
        CliRig rig(c.sim);
        const CliResult read = rig.Run({"read"});
        EXPECT_EQ(read.status, 4) << c.sim[1];
        EXPECT_TRUE(read.err.starts_with(c.err)) << read.err;
    }
}

} // namespace
} // namespace tesmira::test
