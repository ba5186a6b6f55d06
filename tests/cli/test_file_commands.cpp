// The file commands run in process through RunCli: their output for people and for scripts, what
// they write, and their exit statuses.
#include "cli/Cli.h"
#include "model/ConfigFile.h"
#include "support/FactoryRecords.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <sstream>

namespace tesmira::cli {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunLine(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    CommandContext context{out, err, false, {}, {}};
    const int status = RunCli(args, context);
    return {status, out.str(), err.str()};
}

Bytes ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// In the test's folder, so that the files have the short names the tables show.
class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::current_path(dir.path());
        SaveFileAtomically(factory, test::kFactoryFile26);
    }
    void TearDown() override { std::filesystem::current_path(home); }

    const std::filesystem::path home = std::filesystem::current_path();
    test::TempDir dir;
    const std::string factory = "a.bcf";
};

TEST_F(FileCommands, ShowPrintsEveryFieldInTheWindowsOrder) {
    const Outcome shown = RunLine({"show", factory});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, "Miren-1 (тип 26)\n"
                         "Поле              Название                        Значение\n"
                         "loop.1.type       ШС1: Тип шлейфа                 Пожарный\n"
                         "loop.1.event      ШС1: Код события                110 - ПОЖАР\n"
                         "loop.2.type       ШС2: Тип шлейфа                 Дверной\n"
                         "loop.2.event      ШС2: Код события                370 - ШЛЕЙФ НЕИСПР\n"
                         "delay.entry       вход:                           30\n"
                         "delay.exit        выход:                          60\n"
                         "monitor.siren     Сирена                          выкл\n"
                         "monitor.lamp      Лампа                           выкл\n"
                         "monitor.u2        Контроль входа U2               выкл\n"
                         "guard_sound       Сигналы взятия\\снятия сиреной   выкл\n"
                         "use_buzzer        Использовать внутренний зуммер  вкл\n"
                         "tx.letter         Литера:                         1\n"
                         "tx.alarm_count    Кол-во перед тревог:            8\n"
                         "tx.restore_count  Кол-во перед восст:             5\n"
                         "tx.channel_check  Контроль канала:                1 мин.\n");

    const Outcome raw = RunLine({"show", factory, "--raw"});
    EXPECT_NE(
        raw.out.find("\nloop.1.type       ШС1: Тип шлейфа                 Пожарный            "
                     "0:4    FF    03\n"),
        std::string::npos)
        << raw.out;
    // The bits no control shows, last.
    EXPECT_TRUE(raw.out.ends_with("\n-                 (не показывается)                       "
                                  "            0:10   1F    00\n"))
        << raw.out;

    const auto json =
        nlohmann::ordered_json::parse(RunLine({"show", factory, "--json", "--raw"}).out);
    EXPECT_EQ(json["type"], 26);
    EXPECT_EQ(json["fields"].begin().key(), "loop.1.type");
    EXPECT_EQ(json["fields"]["loop.2.event"]["value"], "370 - ШЛЕЙФ НЕИСПР");
    EXPECT_EQ(json["fields"]["delay.exit"]["place"]["hex"], "3C");
}

TEST_F(FileCommands, SetWritesTheChangesThatDiffThenLists) {
    const std::string changed = "b.bcf";
    const Outcome set =
        RunLine({"set", factory, "loop.1.type=Дверной", "delay.entry=150", "-o", changed});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.err, "Поле \"delay.entry\" получило значение \"99\"\n");
    EXPECT_EQ(ReadBytes(factory), test::kFactoryFile26);

    const Outcome diff = RunLine({"diff", factory, changed});
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, "Поле          Название          a.bcf        b.bcf\n"
                        "loop.1.type   ШС1: Тип шлейфа   Пожарный     Дверной\n"
                        "loop.1.event  ШС1: Код события  110 - ПОЖАР  134 - ВХОД/ВЫХОД\n"
                        "delay.entry   вход:             30           99\n");

    const auto json =
        nlohmann::ordered_json::parse(RunLine({"diff", factory, changed, "--json"}).out);
    EXPECT_EQ(json["differences"].size(), 3u);
    EXPECT_EQ(json["differences"]["delay.entry"]["right"], "99");

    // Without -o the file itself is replaced.
    EXPECT_EQ(RunLine({"set", changed, "delay.entry=30", "loop.1.type=Пожарный"}).status, 0);
    const Outcome same = RunLine({"diff", factory, changed});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "Различий нет\n");
}

TEST_F(FileCommands, RefusalsEndWithStatus2AndWriteNothing) {
    const Outcome unknown = RunLine({"set", factory, "delay.entry=5", "no.such=1"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "Нет поля \"no.such\"\n");
    EXPECT_EQ(ReadBytes(factory), test::kFactoryFile26);

    Bytes damaged = test::kFactoryFile26;
    damaged[7] ^= 1;
    const std::string broken = "broken.bcf";
    SaveFileAtomically(broken, damaged);
    const Outcome show = RunLine({"show", broken});
    EXPECT_EQ(show.status, 2);
    EXPECT_EQ(show.err, broken + ": Файл поврежден.\n");

    const std::string panel = "p.bcf";
    EXPECT_EQ(RunLine({"defaults", "30", "-o", panel}).status, 0);
    const Outcome types = RunLine({"diff", factory, panel});
    EXPECT_EQ(types.status, 2);
    EXPECT_EQ(types.err, "Конфигурации относятся к приборам разных типов.\n");

    EXPECT_EQ(RunLine({"defaults", "36", "-o", panel}).status, 2);
    EXPECT_EQ(RunLine({"set", factory}).status, 2);      // no assignment
    EXPECT_EQ(RunLine({"set", factory, "x"}).status, 2); // no "="
    EXPECT_EQ(RunLine({"diff", factory}).status, 2);     // neither a file nor a port
    EXPECT_EQ(ReadBytes(factory), test::kFactoryFile26);
}

TEST_F(FileCommands, DefaultsWriteTheFileTheWindowSaves) {
    const std::string made = "d.bcf";
    EXPECT_EQ(RunLine({"defaults", "26", "-o", made}).status, 0);
    EXPECT_EQ(ReadBytes(made), test::kFactoryFile26);
    // The communicator's event selection reaches its record only when its tables are committed.
    const std::string gsm = "g.bcf";
    EXPECT_EQ(RunLine({"defaults", "32", "-o", gsm}).status, 0);
    const auto json = nlohmann::ordered_json::parse(RunLine({"show", gsm, "--json"}).out);
    EXPECT_EQ(json["fields"]["event.1.1.violation"]["value"], "1");
}

TEST(FileCommandsHelp, EveryCommandHasItsOwn) {
    for (const std::string command : {"defaults", "show", "set", "diff"}) {
        const Outcome help = RunLine({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Вызов: tesmira-cli " + command + " "), std::string::npos)
            << help.out;
    }
}

} // namespace
} // namespace tesmira::cli
