// The GSM direction block of the type 30 panel (150 bytes kept beside its record: device number,
// SMS flag, five delivery directions) and the rules of the direction table that shows it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

// One row of the direction table, as its cells show it (UTF-8).
struct DirectionRow {
    std::string tries;    // "Выкл." or "1".."5"
    std::string sim;      // "1,2", "1", "2"; empty when off
    std::string protocol; // "Voice", "CSD", "Vantiq-Net", "SIA-IP"; empty when off
    std::string phone;    // phone number or host:port
    bool operator==(const DirectionRow&) const = default;
};

class PanelDirections {
public:
    static constexpr std::size_t kSize = 150;
    using Bytes = std::array<std::uint8_t, kSize>;
    static constexpr int kRowCount = 5;
    using Rows = std::array<DirectionRow, kRowCount>;

    // Byte positions.
    static constexpr std::size_t kDeviceNumber = 4; // big-endian, 2 bytes
    static constexpr std::size_t kSmsFlag = 7;
    static constexpr std::size_t kEntries = 8;

    // The reset content: header, device number 1, five empty directions, SMS off.
    PanelDirections();
    void Reset();

    const Bytes& bytes() const { return bytes_; }
    // Takes a whole block, as a file holds it; false, changing nothing, for any other size.
    bool Assign(std::span<const std::uint8_t> block);

    std::uint16_t DeviceNumber() const;
    std::string DeviceNumberText() const; // four digits, zero-padded
    // Stores exactly four decimal digits; anything else is refused and changes nothing, so an
    // incomplete number never reaches the block.
    bool SetDeviceNumberFromText(std::string_view text);

    bool SendsSms() const { return bytes_[kSmsFlag] != 0; }

    // The table's rows. Reads only the block's own bytes, whatever its lengths say: a direction
    // that runs past the end shows what is there, and the rows after it are empty. The table is a
    // view: its edits are not encoded back into the block.
    Rows DecodeRows() const;

private:
    Bytes bytes_{};
};

// Items of the table's in-place lists.
std::span<const std::string_view> DirectionTriesTexts(); // "Выкл.", "1".."5"
std::span<const std::string_view> DirectionSimTexts();   // "1,2", "1", "2"
std::span<const std::string_view>
DirectionProtocolTexts(); // "Voice", "CSD", "Vantiq-Net", "SIA-IP"

inline constexpr std::string_view kDirectionOff = "Выкл.";
// What a phone cell is given when a direction is switched on or changes kind of protocol.
inline constexpr std::string_view kSamplePhone = "+7(495)123-45-67";
inline constexpr std::string_view kSampleHost = "127.0.0.1:24333";

// A pick in the tries list: "Выкл." clears the other cells; switching a direction on that was off
// gives it SIM "1,2", "Voice" and the sample phone.
DirectionRow PickDirectionTries(DirectionRow row, std::string_view item);

// A pick in the protocol list: a change between the telephone ("Voice", "CSD") and the network
// ("Vantiq-Net", "SIA-IP") kinds puts the other kind's sample into the phone cell.
DirectionRow PickDirectionProtocol(DirectionRow row, std::string_view item);

// SIM, protocol and phone cells can be selected only in a direction that is on.
bool DirectionDetailsEditable(const DirectionRow& row);

inline constexpr std::size_t kPhoneCellMaxLength = 31;
inline constexpr std::size_t kPhoneTableMaxLength = 136;

// Whether a phone cell takes a typed character, given the cell's and all five phone cells' length
// in characters. Enter, Escape and Backspace ('\r', '\n', 0x1B, '\b') always pass.
bool PhoneCellAccepts(char32_t typed, std::size_t cellLength, std::size_t tableLength);

} // namespace tesmira
