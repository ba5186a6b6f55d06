// The type 32 record: what the controls show and what each typed field, list and box stores.
#include "gsm/GsmRecord.h"
#include "support/HexBytes.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

using test::Hex;
using test::Text;
using Bytes = std::vector<std::uint8_t>;
using Sim = GsmRecord::Sim;

Bytes Slice(const GsmRecord& r, std::size_t from, std::size_t to) {
    return Bytes(r.bytes().begin() + from, r.bytes().begin() + to);
}

TEST(GsmRecord, TemplateShowsTheFactorySettings) {
    const GsmRecord r;
    EXPECT_EQ(r.DeviceNumberText(), "0001");
    EXPECT_EQ(r.PortText(), "24334");
    EXPECT_EQ(r.BalanceCodeText(Sim::Sim2), "*102#");
    EXPECT_EQ(r.AddressText(), "");
    EXPECT_FALSE(r.ThresholdOn(Sim::Sim1));
    EXPECT_EQ(r.CaptionLength(), 4u);
}

TEST(GsmRecord, ByteTextsAreCutToTheirFieldInCodePage1251) {
    GsmRecord r;
    const std::string address40 = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
    EXPECT_EQ(r.SetAddressFromText(address40).shownText, address40.substr(0, 31));
    EXPECT_EQ(Slice(r, 344, 376), Text(address40.substr(0, 31) + '\0'));
    // 40 Cyrillic letters are 80 bytes of UTF-8 but 40 of the device's code page.
    std::string cyrillic;
    for (int i = 0; i < 40; ++i)
        cyrillic += "ж";
    EXPECT_EQ(r.SetAddressFromText(cyrillic).shownText, cyrillic.substr(0, 62));
    EXPECT_EQ(Slice(r, 344, 376), Text(std::string(31, '\xE6') + '\0'));
    EXPECT_EQ(r.SetAddressFromText("a.b").shownText, std::nullopt);
    EXPECT_EQ(Slice(r, 344, 348), Text(std::string("a.b\0", 4))); // the rest zeroed

    EXPECT_EQ(r.SetBalanceCodeFromText(Sim::Sim2, "*100*1#").shownText, "*100*");
    EXPECT_EQ(Slice(r, 324, 338), Text(std::string("*102#\0\0\0*100*\0", 14)));
    EXPECT_EQ(r.BalanceCodeText(Sim::Sim2), "*100*");
}

struct TypedCase {
    const char* text;
    std::size_t at; // 331 threshold of SIM1, 341 test interval, 0 device number, 342 port
    Bytes stored;
    std::optional<std::string> shown;
    bool refused = false;
};

TEST(GsmRecord, TypedNumbersAreClampedOrRefused) {
    const TypedCase cases[] = {
        {"3", 331, {5}, "5"},
        {"300", 331, {255}, "255"},
        {"abc", 331, {50}, "50"},
        {"77", 331, {77}, {}},
        {"abc", 341, {5}, "5"},
        {"999", 341, {255}, "255"},
        {"0", 341, {0}, {}},
        {"0042", 0, Hex("2A 00"), {}},
        {"9999", 0, Hex("0F 27"), {}},
        {"12 4", 0, Hex("01 00"), {}, true}, // a blank mask position inside the number
        {"", 0, Hex("01 00"), {}, true},
        {"70000", 342, Hex("FF FF"), "65535"}, // not 4464, its low 16 bits
        {"abc", 342, Hex("0E 5F"), {}, true},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(std::string("'") + c.text + "' at " + std::to_string(c.at));
        GsmRecord r;
        const TypedInput input = c.at == 331   ? r.SetThresholdFromText(Sim::Sim1, c.text)
                                 : c.at == 341 ? r.SetTestIntervalFromText(c.text)
                                 : c.at == 0   ? r.SetDeviceNumberFromText(c.text)
                                               : r.SetPortFromText(c.text);
        EXPECT_EQ(Slice(r, c.at, c.at + c.stored.size()), c.stored);
        EXPECT_EQ(input.shownText, c.shown);
        if (c.refused)
            EXPECT_EQ(input.error, "'" + std::string(c.text) + "' is not a valid integer value");
        else
            EXPECT_EQ(input.error, std::nullopt);
    }
}

TEST(GsmRecord, BoxesAndListsTouchOnlyTheirByteOrBit) {
    GsmRecord r;
    r.SetThresholdOn(Sim::Sim2, true);
    EXPECT_EQ(r.ThresholdText(Sim::Sim2), "50");
    r.SetThresholdOn(Sim::Sim1, true);
    r.SetThresholdOn(Sim::Sim1, false); // the edit and its label hide
    r.SetMonthlyReport(Sim::Sim2, true);
    EXPECT_EQ(Slice(r, 330, 340), Hex("00 00 2A 31 30 32 23 00 01 32"));

    r.bytes()[3] = 0xF0; // bits 4..7 belong to no control
    r.SetOptionBit(GsmRecord::kOptionRejectCall, true);
    r.SetOptionBit(GsmRecord::kOptionDeviceNumberAsPassword, true);
    r.SetOptionBit(4, false);
    r.SetOptionBit(GsmRecord::kOptionRejectCall, false);
    EXPECT_EQ(r.bytes()[3], 0xF1);
    EXPECT_FALSE(r.OptionBit(4));

    r.SetInputFormat(5); // no such item
    r.bytes()[340] = 2;
    EXPECT_EQ(r.bytes()[2], 0);
    EXPECT_EQ(r.ProtocolIndex(), std::nullopt);
}

} // namespace
} // namespace tesmira
