#include "editors/PanelDirections.h"

#include "model/Cp1251.h"
#include "model/ZoneTypes.h"

#include <algorithm>

namespace tesmira {

namespace {

constexpr std::array<std::uint8_t, 4> kHeader = {0x7E, 0x00, 0x57, 0x00};
constexpr std::uint16_t kResetDeviceNumber = 1;

constexpr std::array<std::string_view, 6> kTries = {kDirectionOff, "1", "2", "3", "4", "5"};
constexpr std::array<std::string_view, 3> kSims = {"1,2", "1", "2"};
constexpr std::array<std::string_view, 4> kProtocols = {"Voice", "CSD", "Vantiq-Net", "SIA-IP"};
constexpr std::size_t kFirstNetworkProtocol = 2;

constexpr int kTriesShift = 5;
constexpr int kSimShift = 3;
constexpr unsigned kSimMask = 0x03;
constexpr unsigned kProtocolMask = 0x07;

DirectionRow OffRow() {
    return {std::string(kDirectionOff), {}, {}, {}};
}

// Attribute values the lists have no item for show as the device treats them.
DirectionRow RowOfAttribute(std::uint8_t attribute) {
    const unsigned tries = std::min(static_cast<unsigned>(attribute) >> kTriesShift, 5U);
    const unsigned sim = (attribute >> kSimShift) & kSimMask;
    const unsigned protocol = attribute & kProtocolMask;
    return {std::string(kTries[tries]),
            std::string(kSims[sim < kSims.size() ? sim : 0]),
            std::string(kProtocols[protocol < kProtocols.size() ? protocol : 0]),
            {}};
}

bool IsNetworkProtocol(std::string_view protocol) {
    const int index = IndexOfText(kProtocols, protocol);
    return index >= static_cast<int>(kFirstNetworkProtocol);
}

} // namespace

PanelDirections::PanelDirections() {
    Reset();
}

void PanelDirections::Reset() {
    bytes_.fill(0);
    std::copy(kHeader.begin(), kHeader.end(), bytes_.begin());
    bytes_[kDeviceNumber] = kResetDeviceNumber >> 8;
    bytes_[kDeviceNumber + 1] = kResetDeviceNumber & 0xFF;
}

bool PanelDirections::Assign(std::span<const std::uint8_t> block) {
    if (block.size() != kSize)
        return false;
    std::copy(block.begin(), block.end(), bytes_.begin());
    return true;
}

std::uint16_t PanelDirections::DeviceNumber() const {
    return static_cast<std::uint16_t>(bytes_[kDeviceNumber] * 256 + bytes_[kDeviceNumber + 1]);
}

std::string PanelDirections::DeviceNumberText() const {
    std::string text = std::to_string(DeviceNumber());
    if (text.size() < 4)
        text.insert(0, 4 - text.size(), '0');
    return text;
}

bool PanelDirections::SetDeviceNumberFromText(std::string_view text) {
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int number = std::stoi(std::string(text));
    bytes_[kDeviceNumber] = static_cast<std::uint8_t>(number >> 8);
    bytes_[kDeviceNumber + 1] = static_cast<std::uint8_t>(number & 0xFF);
    return true;
}

PanelDirections::Rows PanelDirections::DecodeRows() const {
    Rows rows;
    rows.fill(OffRow());
    std::span<const std::uint8_t> rest = std::span(bytes_).subspan(kEntries);
    for (DirectionRow& row : rows) {
        if (rest.empty())
            break;
        const std::size_t length = rest[0];
        rest = rest.subspan(1);
        if (length == 0)
            continue;
        if (rest.empty())
            break;
        row = RowOfAttribute(rest[0]);
        rest = rest.subspan(1);
        const std::size_t shown = std::min(length - 1, rest.size());
        row.phone = Cp1251ToUtf8(rest.first(shown));
        rest = rest.subspan(shown);
    }
    return rows;
}

std::span<const std::string_view> DirectionTriesTexts() {
    return kTries;
}

std::span<const std::string_view> DirectionSimTexts() {
    return kSims;
}

std::span<const std::string_view> DirectionProtocolTexts() {
    return kProtocols;
}

DirectionRow PickDirectionTries(DirectionRow row, std::string_view item) {
    if (item == kDirectionOff) {
        row.sim.clear();
        row.protocol.clear();
        row.phone.clear();
    } else if (row.tries == kDirectionOff) {
        row.sim = kSims[0];
        row.protocol = kProtocols[0];
        row.phone = kSamplePhone;
    }
    row.tries = item;
    return row;
}

DirectionRow PickDirectionProtocol(DirectionRow row, std::string_view item) {
    const bool wasNetwork = IsNetworkProtocol(row.protocol);
    const bool isNetwork = IsNetworkProtocol(item);
    if (wasNetwork != isNetwork)
        row.phone = isNetwork ? kSampleHost : kSamplePhone;
    row.protocol = item;
    return row;
}

bool DirectionDetailsEditable(const DirectionRow& row) {
    return row.tries.size() == 1;
}

bool PhoneCellAccepts(char32_t typed, std::size_t cellLength, std::size_t tableLength) {
    if (typed == U'\r' || typed == U'\n' || typed == U'\x1B' || typed == U'\b')
        return true;
    const bool allowed = (typed >= U'0' && typed <= U'9') || (typed >= U'a' && typed <= U'z') ||
                         std::u32string_view(U"()+-.:").find(typed) != std::u32string_view::npos;
    return allowed && cellLength < kPhoneCellMaxLength && tableLength < kPhoneTableMaxLength;
}

} // namespace tesmira
