// The 384-byte record of the GSM communicator (type 32): the factory template, what each control
// shows and what each control's handler does to the record.
#pragma once

#include "model/TextHelpers.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

class GsmRecord {
public:
    static constexpr std::uint8_t kType = 32;
    static constexpr std::size_t kSize = 384;
    using Bytes = std::array<std::uint8_t, kSize>;

    // Byte positions; numbers of two bytes are little-endian.
    static constexpr std::size_t kDeviceNumber = 0;
    static constexpr std::size_t kInputFormat = 2;
    static constexpr std::size_t kOptions = 3;
    static constexpr std::size_t kPhones = 4;
    static constexpr std::size_t kPhonesSize = 128;
    static constexpr std::size_t kEvents = 132;
    static constexpr std::size_t kEventsSize = 192;
    static constexpr std::size_t kProtocol = 340;
    static constexpr std::size_t kTestInterval = 341;
    static constexpr std::size_t kPort = 342;
    static constexpr std::size_t kAddress = 344;
    static constexpr std::size_t kAddressField = 32; // at most 31 bytes and a zero
    // Bytes 380..383 copy the header of the caption block; its length is at 382..383, big-endian.
    static constexpr std::size_t kCaptionHeader = 380;
    static constexpr std::size_t kCaptionHeaderSize = 4;

    static constexpr std::size_t kAddressMax = 31;
    static constexpr std::size_t kBalanceCodeMax = 5; // USSD code, in a field of 6 bytes
    static constexpr int kDeviceNumberMax = 9999;
    static constexpr int kPortMax = 65535;
    static constexpr int kTestIntervalMax = 255;
    static constexpr int kTestIntervalFallback = 5;
    static constexpr int kThresholdMin = 5;
    static constexpr int kThresholdMax = 255;
    static constexpr int kThresholdChecked = 50; // what checking the box and unreadable text give

    // Bits of the option byte; bits 4..7 belong to no control and keep their value.
    static constexpr int kOptionDeviceNumberAsPassword = 0; // chkUsePass
    static constexpr int kOptionDeviceNumberInSms = 1;      // chkTxPribor
    static constexpr int kOptionPartitionNumber = 2;        // chkTxRazdel
    static constexpr int kOptionRejectCall = 3;             // chkObboj
    static constexpr int kOptionBitCount = 4;

    enum class Sim { Sim1, Sim2 };

    // The factory record: device number 1, both balance codes "*102#", port 24334, 0xBA 0xAB at
    // 378..379 and the empty caption block's header at 380..383; every other byte zero (the event
    // selection is set by the editor's defaults, not by the template).
    static const Bytes& Template();

    GsmRecord() : bytes_(Template()) {}

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    std::span<std::uint8_t, kPhonesSize> PhoneArea() { return Area<kPhones, kPhonesSize>(); }
    std::span<std::uint8_t, kEventsSize> EventArea() { return Area<kEvents, kEventsSize>(); }
    // Length of the caption block as the header copy at 382..383 says.
    std::size_t CaptionLength() const;

    // List items, in item order.
    static std::span<const std::string_view> InputFormatTexts(); // "MX8 с Quell " .. "Hesta"
    static std::span<const std::string_view> ProtocolTexts();    // "Отключено", "SIA_IP"

    // What the controls show. A list index is none when the byte lies outside the list.
    std::string DeviceNumberText() const; // four digits, leading zeros
    std::optional<int> InputFormatIndex() const;
    bool OptionBit(int bit) const;
    std::optional<int> ProtocolIndex() const;
    std::string TestIntervalText() const;
    std::string PortText() const;
    std::string AddressText() const; // up to the first zero byte of its field
    std::string BalanceCodeText(Sim sim) const;
    bool MonthlyReport(Sim sim) const;
    // The box, the threshold edit and its label: on (and visible) when the threshold is not 0.
    bool ThresholdOn(Sim sim) const;
    std::string ThresholdText(Sim sim) const;

    // What the handlers do. Indexes outside a list and bits past 3 change nothing.
    TypedInput SetDeviceNumberFromText(std::string_view text); // 0..9999; not a number: error
    void SetInputFormat(int index);
    void SetOptionBit(int bit, bool on);
    void SetProtocol(int index);
    TypedInput SetTestIntervalFromText(std::string_view text); // 0..255, else 5
    TypedInput SetPortFromText(std::string_view text);         // 0..65535; not a number: error
    // Byte texts, counted in bytes of code page 1251: cut to their field, the rest zeroed.
    TypedInput SetAddressFromText(std::string_view text);
    TypedInput SetBalanceCodeFromText(Sim sim, std::string_view text);
    void SetMonthlyReport(Sim sim, bool on);
    void SetThresholdOn(Sim sim, bool on);                           // 50 when checked, 0 when not
    TypedInput SetThresholdFromText(Sim sim, std::string_view text); // 5..255, else 50

private:
    template <std::size_t Offset, std::size_t Size> std::span<std::uint8_t, Size> Area() {
        return std::span<std::uint8_t, kSize>(bytes_).subspan<Offset, Size>();
    }
    static std::size_t BalanceCode(Sim sim) { return sim == Sim::Sim1 ? 324 : 332; }
    static std::size_t Monthly(Sim sim) { return BalanceCode(sim) + 6; }
    static std::size_t Threshold(Sim sim) { return BalanceCode(sim) + 7; }

    Bytes bytes_;
};

} // namespace tesmira
