// Fuzzes the GSM communicator's file list reply: the names shown come, in order, from the frame's
// bytes between the header and the CRC byte, up to the first zero byte; each was ended by a byte
// below 0x14 and has a ".".
#include "FuzzCheck.h"
#include "gsm/SoundFiles.h"
#include "link/Frames.h"
#include "model/Cp1251.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace tesmira;
using Bytes = std::vector<std::uint8_t>;

using tesmira::fuzz::Require;

// The names of the list, split apart from the parser.
std::vector<Bytes> ExpectedNames(std::span<const std::uint8_t> reply) {
    const std::size_t frame = std::min(reply.size(), ExpectedFrameLength(reply));
    std::vector<Bytes> names;
    Bytes name;
    for (std::size_t at = 5; at + 1 < frame; ++at) {
        const std::uint8_t b = reply[at];
        if (b == 0)
            break;
        if (b >= 0x14) {
            name.push_back(b);
            continue;
        }
        if (std::find(name.begin(), name.end(), '.') != name.end())
            names.push_back(name);
        name.clear();
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, std::min(size, kReceiveBufferSize));
    const std::vector<std::string> names = ParseFileList(reply);
    const std::vector<Bytes> expected = ExpectedNames(reply);
    Require(names.size() == expected.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        Require(Utf8ToCp1251(names[i]) == expected[i]);
    return 0;
}
