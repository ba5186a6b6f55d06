// tesmira-cli's flash with its stderr on a terminal: the progress line, and Ctrl+C.
#include "support/PtyPair.h"
#include "tools/CliProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace tesmira::test {
namespace {

using namespace std::chrono_literals;

TEST(CliTerminal, AFlashShowsItsProgressAndCtrlCStopsItCleanly) {
    TempDir dir;
    // 200 blocks of 500 bytes: about 9 s at the loader's line speed.
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "01F4" + std::string(1000, 'A');
    std::ofstream(dir / "update.enc") << text;
    DevsimProcess sim({"--type", "35", "--pace", "--firmware-out", (dir / "image.bin").string()});
    PtyPair terminal;
    ASSERT_TRUE(terminal.ok());
    CliProcess flash({"flash", "-p", CliPortOf(sim), (dir / "update.enc").string()}, dir.path(),
                     terminal.slavePath());
    std::this_thread::sleep_for(1s);
    flash.Interrupt();
    const auto start = std::chrono::steady_clock::now();
    const CliResult stopped = flash.Wait(10s);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(stopped.status, 130);
    const Bytes shown = terminal.ReadAvailable();
    const std::string screen(shown.begin(), shown.end());
    EXPECT_NE(screen.find("\rОбновление прошивки: "), std::string::npos) << screen;
    EXPECT_NE(screen.find(" из 200)"), std::string::npos) << screen;
    // The result on a line of its own after the progress.
    EXPECT_NE(screen.find("[K\nОбновление прошивки прервано"), std::string::npos) << screen;
    EXPECT_EQ(stopped.out, "");
    // The device kept the blocks it had been given, and no more came after the stop.
    EXPECT_EQ(sim.Stop(), 0);
    const Bytes received = ReadFile((dir / "image.bin").string());
    EXPECT_GT(received.size(), 0u);
    EXPECT_LT(received.size(), text.size() / 2);
}

} // namespace
} // namespace tesmira::test
