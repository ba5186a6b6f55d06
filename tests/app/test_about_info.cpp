#include "app/AboutInfo.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesmira {
namespace {

using Labels = std::vector<AboutLabel>;

TEST(AboutLabels, TheProgramsOwnVersionInformation) {
    const auto labels = AboutLabels(kVersionValues);
    ASSERT_TRUE(labels);
    const Labels expected = {
        {"Tesmira", true},
        {"Версия: 5.0.21", false},
        {"Компания: Korvana", false},
    };
    EXPECT_EQ(*labels, expected);
    EXPECT_STREQ(kVersionTranslation, "041904E3");
}

TEST(AboutLabels, VersionIsCutAtItsLastDot) {
    EXPECT_EQ(VersionWithoutLast("5.0.21.1"), "5.0.21");
    EXPECT_EQ(VersionWithoutLast("1.2"), "1");
    EXPECT_EQ(VersionWithoutLast("7."), "7");
    EXPECT_EQ(VersionWithoutLast(".9"), "");
    EXPECT_EQ(VersionWithoutLast("12"), "");
    EXPECT_EQ(VersionWithoutLast(""), "");
}

TEST(AboutLabels, AVersionWithoutDotLeavesTheLabelPrefixAlone) {
    const VersionValue values[] = {{"FileVersion", "5"}};
    const Labels expected = {{"Версия: ", false}};
    EXPECT_EQ(AboutLabels(values), expected);
}

TEST(AboutLabels, OnlyValuesThatExistAndAreNotEmptyMakeLabels) {
    const VersionValue values[] = {
        {"Author", "A. Smirnov"},  {"CompanyName", ""},      {"ProductName", "X"},
        {"Comments", "not shown"}, {"FileVersion", nullptr},
    };
    // Always in the order product, version, company, author, whatever the table's order.
    const Labels expected = {{"X", true}, {"Автор: A. Smirnov", false}};
    EXPECT_EQ(AboutLabels(values), expected);
}

TEST(AboutLabels, NoVersionInformationMeansNoBox) {
    EXPECT_EQ(AboutLabels({}), std::nullopt);
    const VersionValue unrelated[] = {{"Comments", "x"}};
    EXPECT_EQ(AboutLabels(unrelated), Labels{}); // information, but nothing to show
}

TEST(AboutLayout, LabelsStackBesideTheImageAndSizeTheBox) {
    const AboutSize labels[] = {{70, 17}, {90, 13}, {120, 13}};
    const AboutLayout layout = LayoutAboutBox({32, 32}, labels, {75, 25});
    EXPECT_EQ(layout.image, (AboutRect{10, 10, 32, 32}));
    ASSERT_EQ(layout.labels.size(), 3u);
    EXPECT_EQ(layout.labels[0], (AboutRect{52, 10, 70, 17}));
    EXPECT_EQ(layout.labels[1], (AboutRect{52, 32, 90, 13}));
    EXPECT_EQ(layout.labels[2], (AboutRect{52, 50, 120, 13}));
    EXPECT_EQ(layout.boxHeight, 148);                      // 50 + 13 + 85
    EXPECT_EQ(layout.boxWidth, 192);                       // 52 + 120 + 20
    EXPECT_EQ(layout.button, (AboutRect{58, 88, 75, 25})); // 96 - 37.5 = 58.5, to even
    EXPECT_EQ(layout.clientWidth(), 186);
    EXPECT_EQ(layout.clientHeight(), 118);
    EXPECT_EQ(layout.bevel, (AboutRect{0, 73, 186, 45}));
}

TEST(AboutLayout, HalvesOfTheButtonPositionRoundToEven) {
    const AboutSize wide[] = {{128, 13}}; // width 200: 100 - 37.5 = 62.5
    EXPECT_EQ(LayoutAboutBox({32, 32}, wide, {75, 25}).button.left, 62);
    const AboutSize wider[] = {{130, 13}}; // width 202: 101 - 37.5 = 63.5
    EXPECT_EQ(LayoutAboutBox({32, 32}, wider, {75, 25}).button.left, 64);
    const AboutSize even[] = {{130, 13}}; // an even button: no half
    EXPECT_EQ(LayoutAboutBox({32, 32}, even, {80, 25}).button.left, 61);
}

TEST(AboutLayout, ATallLabelPushesTheNextDownAndTheWidestSetsTheWidth) {
    const AboutSize labels[] = {{200, 40}, {30, 13}};
    const AboutLayout layout = LayoutAboutBox({32, 32}, labels, {75, 25});
    EXPECT_EQ(layout.labels[1].top, 55); // 10 + 40 + 5
    EXPECT_EQ(layout.boxWidth, 272);     // from the first label, not the last
    EXPECT_EQ(layout.boxHeight, 153);
}

TEST(AboutLayout, WithoutLabelsTheBoxStillHoldsTheImageAndTheButton) {
    const AboutLayout layout = LayoutAboutBox({32, 32}, {}, {75, 25});
    EXPECT_EQ(layout.boxHeight, 127); // 10 + 32 + 85, the image placed last
    EXPECT_GE(layout.clientWidth(), 75 + 20);
    EXPECT_GE(layout.button.left, 0);
    EXPECT_LE(layout.button.left + layout.button.width, layout.clientWidth());
}

} // namespace
} // namespace tesmira
