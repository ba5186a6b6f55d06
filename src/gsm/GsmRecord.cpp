#include "gsm/GsmRecord.h"

#include "model/BitHelpers.h"
#include "model/Cp1251.h"
#include "model/TextHelpers.h"
#include "model/ValueRules.h"

#include <algorithm>
#include <cstdio>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, 5> kInputFormatTexts = {"MX8 с Quell ", "MX8 без Quell",
                                                               "MX5 2400", "Brin", "Hesta"};
constexpr std::array<std::string_view, 2> kProtocolTexts = {"Отключено", "SIA_IP"};

constexpr std::size_t kBalanceCodeField = 6;

GsmRecord::Bytes MakeTemplate() {
    GsmRecord::Bytes t{};
    const auto put = [&t](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), t.begin() + static_cast<std::ptrdiff_t>(at));
    };
    put(0, {0x01, 0x00});
    put(324, {'*', '1', '0', '2', '#'});
    put(332, {'*', '1', '0', '2', '#'});
    put(342, {0x0E, 0x5F}); // 24334
    put(378, {0xBA, 0xAB});
    put(380, {0x00, 0x01, 0x00, 0x04});
    return t;
}

unsigned Le16(const GsmRecord::Bytes& b, std::size_t at) {
    return b[at] | (unsigned{b[at + 1]} << 8);
}

void PutLe16(GsmRecord::Bytes& b, std::size_t at, unsigned value) {
    b[at] = static_cast<std::uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::string FieldText(std::span<const std::uint8_t> field) {
    return Cp1251ToUtf8({field.begin(), std::find(field.begin(), field.end(), 0)});
}

// Zeroes the field and copies at most `max` bytes of the text's code page 1251 form into it.
TypedInput StoreFieldText(std::span<std::uint8_t> field, std::size_t max, std::string_view text) {
    std::vector<std::uint8_t> bytes = Utf8ToCp1251(text);
    if (bytes.size() > max)
        bytes.resize(max);
    std::fill(field.begin(), field.end(), 0);
    std::copy(bytes.begin(), bytes.end(), field.begin());
    std::string stored = Cp1251ToUtf8(bytes);
    if (stored == text)
        return {};
    return {std::move(stored), std::nullopt};
}

TypedInput FromClamped(ClampedIntResult read) {
    return {std::move(read.correctedText), std::nullopt};
}

// A masked number field: text that is no integer is refused, numbers are clamped to 0..max.
std::optional<int> ReadMaskedNumber(std::string_view text, int max, TypedInput& input) {
    const std::optional<long long> value = ParseInteger(text);
    if (!value) {
        input.error = NotAnIntegerText(text);
        return std::nullopt;
    }
    return static_cast<int>(std::clamp<long long>(*value, 0, max));
}

} // namespace

const GsmRecord::Bytes& GsmRecord::Template() {
    static const Bytes kTemplate = MakeTemplate();
    return kTemplate;
}

std::size_t GsmRecord::CaptionLength() const {
    return std::size_t{bytes_[kCaptionHeader + 2]} << 8 | bytes_[kCaptionHeader + 3];
}

std::span<const std::string_view> GsmRecord::InputFormatTexts() {
    return kInputFormatTexts;
}

std::span<const std::string_view> GsmRecord::ProtocolTexts() {
    return kProtocolTexts;
}

std::string GsmRecord::DeviceNumberText() const {
    char text[8];
    std::snprintf(text, sizeof text, "%04u", Le16(bytes_, kDeviceNumber));
    return text;
}

std::optional<int> GsmRecord::InputFormatIndex() const {
    return PositionIn(bytes_[kInputFormat], kInputFormatTexts.size());
}

bool GsmRecord::OptionBit(int bit) const {
    return bit < kOptionBitCount && BitIsSet(bytes_[kOptions], bit);
}

std::optional<int> GsmRecord::ProtocolIndex() const {
    return PositionIn(bytes_[kProtocol], kProtocolTexts.size());
}

std::string GsmRecord::TestIntervalText() const {
    return std::to_string(bytes_[kTestInterval]);
}

std::string GsmRecord::PortText() const {
    return std::to_string(Le16(bytes_, kPort));
}

std::string GsmRecord::AddressText() const {
    return FieldText(std::span(bytes_).subspan(kAddress, kAddressField));
}

std::string GsmRecord::BalanceCodeText(Sim sim) const {
    return FieldText(std::span(bytes_).subspan(BalanceCode(sim), kBalanceCodeField));
}

bool GsmRecord::MonthlyReport(Sim sim) const {
    return bytes_[Monthly(sim)] != 0;
}

bool GsmRecord::ThresholdOn(Sim sim) const {
    return bytes_[Threshold(sim)] != 0;
}

std::string GsmRecord::ThresholdText(Sim sim) const {
    return std::to_string(bytes_[Threshold(sim)]);
}

TypedInput GsmRecord::SetDeviceNumberFromText(std::string_view text) {
    TypedInput input;
    const std::optional<int> number = ReadMaskedNumber(text, kDeviceNumberMax, input);
    if (!number)
        return input;
    PutLe16(bytes_, kDeviceNumber, static_cast<unsigned>(*number));
    if (ParseInteger(text) != *number)
        input.shownText = DeviceNumberText();
    return input;
}

void GsmRecord::SetInputFormat(int index) {
    StorePosition(bytes_[kInputFormat], index, kInputFormatTexts.size());
}

void GsmRecord::SetOptionBit(int bit, bool on) {
    if (bit < kOptionBitCount)
        AssignBit(bytes_[kOptions], bit, on);
}

void GsmRecord::SetProtocol(int index) {
    StorePosition(bytes_[kProtocol], index, kProtocolTexts.size());
}

TypedInput GsmRecord::SetTestIntervalFromText(std::string_view text) {
    ClampedIntResult read = ClampedInt(text, 0, kTestIntervalMax, kTestIntervalFallback);
    bytes_[kTestInterval] = static_cast<std::uint8_t>(read.value);
    return FromClamped(std::move(read));
}

TypedInput GsmRecord::SetPortFromText(std::string_view text) {
    TypedInput input;
    const std::optional<int> port = ReadMaskedNumber(text, kPortMax, input);
    if (!port)
        return input;
    // Two bytes hold at most 65535; a larger number is not cut to its low bits.
    PutLe16(bytes_, kPort, static_cast<unsigned>(*port));
    if (ParseInteger(text) != *port)
        input.shownText = PortText();
    return input;
}

TypedInput GsmRecord::SetAddressFromText(std::string_view text) {
    return StoreFieldText(std::span(bytes_).subspan(kAddress, kAddressField), kAddressMax, text);
}

TypedInput GsmRecord::SetBalanceCodeFromText(Sim sim, std::string_view text) {
    return StoreFieldText(std::span(bytes_).subspan(BalanceCode(sim), kBalanceCodeField),
                          kBalanceCodeMax, text);
}

void GsmRecord::SetMonthlyReport(Sim sim, bool on) {
    bytes_[Monthly(sim)] = on ? 1 : 0;
}

void GsmRecord::SetThresholdOn(Sim sim, bool on) {
    bytes_[Threshold(sim)] = on ? kThresholdChecked : 0;
}

TypedInput GsmRecord::SetThresholdFromText(Sim sim, std::string_view text) {
    ClampedIntResult read = ClampedInt(text, kThresholdMin, kThresholdMax, kThresholdChecked);
    bytes_[Threshold(sim)] = static_cast<std::uint8_t>(read.value);
    return FromClamped(std::move(read));
}

} // namespace tesmira
