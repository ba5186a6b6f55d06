// Fuzzes each type's configuration as the program keeps it, with the bytes a reply and a file
// bring. The first byte is the type; the rest is taken as a received reply and, behind a file
// header of that type and with its CRC byte computed, as a configuration file. A refused reply or
// file changes nothing; whatever is taken loads back from its image unchanged, and its field table
// gives every bit exactly one owner and compares equal with itself. Apart from the records fuzzer,
// because the field tables (the GSM communicator's above all) cost far more than the record rules.
#include "FuzzCheck.h"
#include "app/DeviceConfigs.h"
#include "link/Crc8.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"
#include "model/FieldTable.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace {

using namespace tesmira;
using Bytes = std::vector<std::uint8_t>;
using Span = std::span<const std::uint8_t>;

using tesmira::fuzz::Require;

void CheckFields(const DeviceConfig& config) {
    const FieldTable fields = config.Fields();
    Require(fields.CoverageFaults().empty());
    const FieldComparison same = CompareFields(config.Type(), fields, config.Type(), fields);
    Require(same.refusal.empty() && same.differences.empty());
}

// What the configuration took is whole: its image loads into a fresh one to the same image. A
// reply may bring more than a file holds; Save As then refuses it, as here.
void CheckImage(const DeviceConfig& config) {
    Bytes image;
    try {
        image = config.Image();
    } catch (const ConfigFileError&) {
        return;
    }
    const auto again = MakeDeviceConfig(config.Type());
    Require(again->LoadImage(image).Taken() && again->Image() == image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t type = data[0];
    const auto config = MakeDeviceConfig(type);
    if (!config)
        return 0;
    const Span rest(data + 1, std::min(size - 1, kReceiveBufferSize));
    const Bytes defaults = config->Image();

    if (!config->LoadFromReply(rest).Taken())
        Require(config->Image() == defaults);
    CheckImage(*config);
    CheckFields(*config);

    Bytes file = {ConfigFile::kFormatVersion, 0, type};
    file.insert(file.end(), rest.begin(),
                rest.begin() + static_cast<std::ptrdiff_t>(
                                   std::min(rest.size(), ConfigFile::kBufferSize - 4)));
    file.push_back(Crc8(file));
    const auto fromFile = MakeDeviceConfig(type);
    if (!fromFile->LoadImage(file).Taken()) {
        Require(fromFile->Image() == defaults);
        return 0;
    }
    CheckImage(*fromFile);
    CheckFields(*fromFile);
    return 0;
}
