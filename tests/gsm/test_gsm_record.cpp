// The type 32 record: the template, what the controls show and what each typed field stores.
#include "gsm/GsmRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Sim = GsmRecord::Sim;

Bytes Slice(const GsmRecord& r, std::size_t from, std::size_t to) {
    return Bytes(r.bytes().begin() + from, r.bytes().begin() + to);
}

TEST(GsmRecord, TemplateHoldsTheFactoryFieldsAndZerosElsewhere) {
    const GsmRecord r;
    EXPECT_EQ(Slice(r, 0, 4), (Bytes{0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Slice(r, 324, 344), (Bytes{'*', '1', '0', '2', '#', 0, 0, 0, '*',  '1',
                                         '0', '2', '#', 0,   0,   0, 0, 0, 0x0E, 0x5F}));
    EXPECT_EQ(Slice(r, 376, 384), (Bytes{0x00, 0x00, 0xBA, 0xAB, 0x00, 0x01, 0x00, 0x04}));
    EXPECT_EQ(Slice(r, 4, 324), Bytes(320, 0x00));
    EXPECT_EQ(Slice(r, 344, 376), Bytes(32, 0x00));

    EXPECT_EQ(r.DeviceNumberText(), "0001");
    EXPECT_EQ(r.PortText(), "24334");
    EXPECT_EQ(r.BalanceCodeText(Sim::Sim1), "*102#");
    EXPECT_EQ(r.BalanceCodeText(Sim::Sim2), "*102#");
    EXPECT_EQ(r.AddressText(), "");
    EXPECT_FALSE(r.ThresholdOn(Sim::Sim1));
    EXPECT_FALSE(r.ThresholdOn(Sim::Sim2));
    EXPECT_EQ(r.InputFormatIndex(), 0);
    EXPECT_EQ(GsmRecord::InputFormatTexts()[0], "MX8 с Quell ");
    EXPECT_EQ(r.CaptionLength(), 4u);
}

TEST(GsmRecord, ByteTextsAreCutToTheirFieldInCodePage1251) {
    GsmRecord r;
    const std::string address40 = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
    EXPECT_EQ(r.SetAddressFromText(address40).shownText, address40.substr(0, 31));
    EXPECT_EQ(Slice(r, 344, 375), Bytes(address40.begin(), address40.begin() + 31));
    EXPECT_EQ(r.bytes()[375], 0);
    EXPECT_EQ(r.AddressText(), address40.substr(0, 31));

    // 40 Cyrillic letters are 80 bytes of UTF-8 but 40 of the device's code page.
    std::string cyrillic;
    for (int i = 0; i < 40; ++i)
        cyrillic += "ж";
    const TypedInput cut = r.SetAddressFromText(cyrillic);
    Bytes cutBytes(31, 0xE6);
    cutBytes.push_back(0x00);
    EXPECT_EQ(Slice(r, 344, 376), cutBytes);
    EXPECT_EQ(cut.shownText, cyrillic.substr(0, 62));
    EXPECT_EQ(r.SetAddressFromText("a.b").shownText, std::nullopt);
    EXPECT_EQ(Slice(r, 344, 348), (Bytes{'a', '.', 'b', 0x00})); // the rest zeroed

    EXPECT_EQ(r.SetBalanceCodeFromText(Sim::Sim2, "*100*1#").shownText, "*100*");
    EXPECT_EQ(Slice(r, 332, 338), (Bytes{'*', '1', '0', '0', '*', 0x00}));
    EXPECT_EQ(Slice(r, 324, 330), (Bytes{'*', '1', '0', '2', '#', 0x00})); // SIM1 untouched
    EXPECT_EQ(r.SetBalanceCodeFromText(Sim::Sim1, "#1").shownText, std::nullopt);
    EXPECT_EQ(Slice(r, 324, 330), (Bytes{'#', '1', 0, 0, 0, 0}));
}

struct TypedCase {
    const char* text;
    std::size_t at;
    Bytes stored;
    std::optional<std::string> shown;
};

TEST(GsmRecord, ClampedFieldsCorrectTheirText) {
    const TypedCase cases[] = {
        {"3", 331, {5}, "5"},  {"300", 331, {255}, "255"}, {"abc", 331, {50}, "50"},
        {"77", 331, {77}, {}}, {"abc", 341, {5}, "5"},     {"999", 341, {255}, "255"},
        {"0", 341, {0}, {}},   {"-1", 341, {0}, "0"},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.at));
        GsmRecord r;
        const TypedInput input = c.at == 331 ? r.SetThresholdFromText(Sim::Sim1, c.text)
                                             : r.SetTestIntervalFromText(c.text);
        EXPECT_EQ(Slice(r, c.at, c.at + 1), c.stored);
        EXPECT_EQ(input.shownText, c.shown);
        EXPECT_EQ(input.error, std::nullopt);
    }
}

TEST(GsmRecord, ThresholdBoxSetsFiftyOrNothing) {
    GsmRecord r;
    r.SetThresholdOn(Sim::Sim2, true);
    EXPECT_EQ(r.bytes()[339], 50);
    EXPECT_TRUE(r.ThresholdOn(Sim::Sim2));
    EXPECT_EQ(r.ThresholdText(Sim::Sim2), "50");
    r.SetThresholdFromText(Sim::Sim2, "120");
    r.SetThresholdOn(Sim::Sim2, false);
    EXPECT_EQ(r.bytes()[339], 0);
    EXPECT_FALSE(r.ThresholdOn(Sim::Sim2)); // the edit and its label hide
    EXPECT_EQ(r.bytes()[331], 0);
}

struct MaskedCase {
    const char* text;
    std::size_t at;
    Bytes stored;
    std::optional<std::string> shown;
    bool refused;
};

TEST(GsmRecord, MaskedNumbersRefuseTextThatIsNoIntegerAndClampToTheirBytes) {
    const MaskedCase cases[] = {
        {"0042", 0, {42, 0}, {}, false},
        {"9999", 0, {0x0F, 0x27}, {}, false},
        {"12 4", 0, {1, 0}, {}, true}, // a blank mask position inside the number
        {"", 0, {1, 0}, {}, true},
        {"1024", 342, {0x00, 0x04}, {}, false},
        {"70000", 342, {0xFF, 0xFF}, "65535", false}, // not 4464, its low 16 bits
        {"abc", 342, {0x0E, 0x5F}, {}, true},
    };
    for (const MaskedCase& c : cases) {
        SCOPED_TRACE(std::string("'") + c.text + "' at " + std::to_string(c.at));
        GsmRecord r;
        const TypedInput input =
            c.at == 0 ? r.SetDeviceNumberFromText(c.text) : r.SetPortFromText(c.text);
        EXPECT_EQ(Slice(r, c.at, c.at + 2), c.stored);
        EXPECT_EQ(input.shownText, c.shown);
        if (c.refused)
            EXPECT_EQ(input.error, "'" + std::string(c.text) + "' is not a valid integer value");
        else
            EXPECT_EQ(input.error, std::nullopt);
    }
}

TEST(GsmRecord, ListsAndOptionBitsTouchOnlyTheirByteOrBit) {
    GsmRecord r;
    r.bytes()[3] = 0xF0; // bits 4..7 belong to no control
    r.SetOptionBit(GsmRecord::kOptionRejectCall, true);
    r.SetOptionBit(GsmRecord::kOptionDeviceNumberAsPassword, true);
    r.SetOptionBit(4, false);
    EXPECT_EQ(r.bytes()[3], 0xF9);
    EXPECT_FALSE(r.OptionBit(4));
    r.SetOptionBit(GsmRecord::kOptionRejectCall, false);
    EXPECT_EQ(r.bytes()[3], 0xF1);

    r.SetInputFormat(4);
    r.SetInputFormat(5);
    r.SetProtocol(1);
    r.SetProtocol(2);
    EXPECT_EQ(r.bytes()[2], 4);
    EXPECT_EQ(r.bytes()[340], 1);
    r.bytes()[2] = 5;
    r.bytes()[340] = 2;
    EXPECT_EQ(r.InputFormatIndex(), std::nullopt);
    EXPECT_EQ(r.ProtocolIndex(), std::nullopt);

    r.SetMonthlyReport(Sim::Sim2, true);
    EXPECT_EQ(r.bytes()[338], 1);
    EXPECT_EQ(r.bytes()[330], 0);
}

} // namespace
} // namespace tesmira
