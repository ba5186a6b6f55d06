// Firmware transfer benchmark: a full-size image through the real port driver, data module and
// exchange thread to tesmira-devsim's loader on a pseudo-terminal, at several receive poll periods.
#include "firmware/FirmwareImage.h"
#include "link/Frames.h"
#include "tools/SimLink.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace tesmira;
using test::Bytes;

constexpr std::size_t kBlockData = 256;
constexpr double kLineBitsPerByte = 10; // start bit, 8 data bits, stop bit
constexpr double kLineBaud = 115200;

// Hexadecimal text of an image that fills the transmit buffer: blocks of 256 data bytes and one
// shorter block at the end (476 blocks of 258 bytes, then 73 bytes: 122,881 in all).
std::string FullImageText(std::size_t& blocks) {
    static const char* digits = "0123456789abcdef";
    std::string text;
    text.reserve(2 * kTransmitBufferSize);
    const auto put = [&](std::uint8_t b) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    };
    blocks = 0;
    for (std::size_t left = kTransmitBufferSize; left > 2; ++blocks) {
        const std::size_t data = std::min(kBlockData, left - 2);
        put(static_cast<std::uint8_t>(data >> 8));
        put(static_cast<std::uint8_t>(data));
        for (std::size_t i = 0; i < data; ++i)
            put(static_cast<std::uint8_t>(blocks * 13 + i));
        left -= data + 2;
    }
    return text;
}

// One full transfer per iteration; the simulator is started and stopped outside the timed part.
// Argument: the receive poll period in ms (100 is what the program uses).
void BM_FirmwareTransferToSimulator(benchmark::State& state) {
    const auto pollMs = static_cast<std::uint16_t>(state.range(0));
    std::size_t blocks = 0;
    const std::string text = FullImageText(blocks);
    double seconds = 0;
    for (auto _ : state) {
        test::TempDir dir;
        const std::string out = (dir / "image.bin").string();
        test::SimLink rig({"--type", "35", "--firmware-out", out});
        if (rig.sim.slavePath().empty()) {
            state.SkipWithError("tesmira-devsim did not start");
            return;
        }
        rig.link.comport.SetPollingDelay(pollMs);
        const ImageResult image = DecodeHexImage(text, rig.link.TransmitBuffer());
        if (!image.ok() || image.length != kTransmitBufferSize) {
            state.SkipWithError("the image did not decode to a full buffer");
            return;
        }
        const test::ExchangeOutcome result =
            rig.Run(ExchangeMode::Firmware, static_cast<int>(image.length), std::chrono::hours(1));
        const double elapsed = std::chrono::duration<double>(result.elapsed).count();
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        if (!result.finished || result.reports.back().code != ThreadReport::FirmwareProgress ||
            result.reports.back().arg != 100) {
            state.SkipWithError("the transfer did not complete");
            return;
        }
        const auto tx = rig.link.TransmitBuffer();
        if (rig.sim.Stop() != 0 || test::ReadFile(out) != Bytes(tx.begin(), tx.end())) {
            state.SkipWithError("the simulator's image differs from the one sent");
            return;
        }
    }
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["bytes"] = static_cast<double>(kTransmitBufferSize);
    state.counters["poll_ms"] = pollMs;
    state.counters["ms_per_block"] =
        1000 * seconds / static_cast<double>(state.iterations()) / static_cast<double>(blocks);
    // The same bytes on a real 115200-baud line, without any waiting.
    state.counters["line_s"] = kTransmitBufferSize * kLineBitsPerByte / kLineBaud;
}
BENCHMARK(BM_FirmwareTransferToSimulator)
    ->ArgName("poll_ms")
    ->Arg(100)
    ->Arg(20)
    ->Arg(5)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
