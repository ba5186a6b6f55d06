// Fuzzes the caption block as a device reply or a file brings it: any bytes are shown as caption
// rows, which must be well formed and build a block that shows and builds again unchanged. The
// same bytes taken as a type 32 reply must be refused or give a block from inside the frame.
#include "FuzzCheck.h"
#include "gsm/GsmConfig.h"
#include "link/Frames.h"
#include "model/Cp1251.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace tesmira;
using Bytes = std::vector<std::uint8_t>;

using tesmira::fuzz::Require;

void CheckRows(const CaptionRows& rows) {
    bool ended = false;
    for (const CaptionRow& row : rows) {
        if (row == CaptionRow{}) {
            ended = true;
            continue;
        }
        Require(!ended); // rows are filled from the first one, without gaps
        Require(std::find(CaptionTypeTexts().begin(), CaptionTypeTexts().end(), row.type) !=
                CaptionTypeTexts().end());
        const std::size_t name = Utf8ToCp1251(row.name).size();
        Require(!row.number.empty() && name >= 1 && name <= kCaptionNameMax);
    }
}

void CheckBlock(std::span<const std::uint8_t> data) {
    const CaptionRows rows = ShowCaptionBlock(data);
    CheckRows(rows);
    const Bytes block = BuildCaptionBlock(rows);
    const auto shown = static_cast<std::size_t>(std::count_if(
        rows.begin(), rows.end(), [](const CaptionRow& r) { return !r.name.empty(); }));
    Require(block.size() >= kCaptionHeaderSize && block.size() <= 4 + kCaptionRowCount * 19);
    Require(block[0] == shown && block[1] == 1 &&
            static_cast<std::size_t>(block[2] << 8 | block[3]) == block.size());
    // A built block is a fixed point: its rows build it again, byte for byte.
    Require(BuildCaptionBlock(ShowCaptionBlock(block)) == block);
}

void CheckReply(std::span<const std::uint8_t> data) {
    GsmConfig config;
    if (config.LoadFromReply(data) != GsmReplyOutcome::Loaded)
        return;
    const std::size_t frame = std::min(data.size(), ExpectedFrameLength(data));
    const std::span<const std::uint8_t> block = config.captions.block();
    Require(block.size() >= kCaptionHeaderSize && block.size() <= kCaptionBufferSize);
    Require(386 + block.size() < frame);
    Require(std::equal(block.begin(), block.end(), data.begin() + 386));
    Require(std::equal(data.begin() + 6, data.begin() + 390, config.record.bytes().begin()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    CheckBlock(bytes.first(std::min(size, kCaptionBufferSize)));
    CheckReply(bytes);
    return 0;
}
