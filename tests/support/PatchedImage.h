// A configuration's file image with some bytes of its blocks replaced: a known non-default
// configuration of any type, written as the few bytes that differ.
#pragma once

#include "model/ConfigFile.h"
#include "model/DeviceConfig.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tesmira::test {

struct BlockPatch {
    std::size_t block;
    std::size_t byte;
    std::vector<std::uint8_t> bytes;
};

// `extra` are blocks appended to `base`'s own (type 30's direction block, which its defaults'
// file lacks); the patches then apply to them too.
inline std::vector<std::uint8_t>
PatchedImage(const DeviceConfig& base, const std::vector<BlockPatch>& patches,
             const std::vector<std::vector<std::uint8_t>>& extra = {}) {
    std::vector<std::vector<std::uint8_t>> blocks;
    for (const auto block : base.FileBlocks())
        blocks.emplace_back(block.begin(), block.end());
    blocks.insert(blocks.end(), extra.begin(), extra.end());
    for (const BlockPatch& patch : patches)
        std::copy(patch.bytes.begin(), patch.bytes.end(),
                  blocks.at(patch.block).begin() + static_cast<std::ptrdiff_t>(patch.byte));
    ConfigFile file(base.Type());
    for (const auto& block : blocks)
        file.AddRecord(block);
    return file.Image();
}

} // namespace tesmira::test
