// Firmware benchmarks: decoding a full-size image from its hexadecimal text.
#include "firmware/FirmwareImage.h"
#include "link/Frames.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace tesmira;

// A full transmit buffer's worth of digits (245,762), all digit values in both cases.
std::string FullSizeText() {
    const std::string digits = "0123456789abcdefABCDEF";
    std::string text(2 * kTransmitBufferSize, '0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = digits[i * 7 % digits.size()];
    return text;
}

void BM_DecodeFullImage(benchmark::State& state) {
    const std::string text = FullSizeText();
    std::vector<std::uint8_t> tx(kTransmitBufferSize);
    for (auto _ : state) {
        ImageResult r = DecodeHexImage(text, tx);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(tx.data());
        if (r.length != kTransmitBufferSize)
            state.SkipWithError("full-size text did not decode");
    }
    state.counters["digits"] = static_cast<double>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DecodeFullImage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
