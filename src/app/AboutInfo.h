// The about box's texts and geometry, worked out from the version information without a toolkit.
#pragma once

#include "app/VersionInfo.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

struct AboutLabel {
    std::string text;   // UTF-8
    bool title = false; // the product name: larger, bold, navy
    bool operator==(const AboutLabel&) const = default;
};

// The value of `name` in the table; nothing when it is missing.
std::optional<std::string_view> VersionValueOf(std::span<const VersionValue> values,
                                               std::string_view name);

// "5.0.21.1" gives "5.0.21"; a version without "." gives the empty text.
std::string VersionWithoutLast(std::string_view fileVersion);

// The labels in the order product name, "Версия: ", "Компания: ", "Автор: ". A label is made only
// for a value that exists and is not empty. Nothing at all when there is no version information:
// then no box is shown.
std::optional<std::vector<AboutLabel>> AboutLabels(std::span<const VersionValue> values);

struct AboutSize {
    int width = 0;
    int height = 0;
};

struct AboutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const AboutRect&) const = default;
};

// The rules measure the box with its frame, as forms are sized on the platform the box comes
// from; a Qt dialog is sized by its client area, so that share of the frame is taken off.
inline constexpr int kAboutFrameWidth = 6;
inline constexpr int kAboutFrameHeight = 30;

struct AboutLayout {
    AboutRect image;
    std::vector<AboutRect> labels;
    int boxWidth = 0;  // with the frame
    int boxHeight = 0; // with the frame
    AboutRect button;  // in client coordinates, like the other controls
    AboutRect bevel;   // along the bottom of the client area; its top line is drawn
    int clientWidth() const { return boxWidth - kAboutFrameWidth; }
    int clientHeight() const { return boxHeight - kAboutFrameHeight; }
};

// Image at 10,10; labels to its right 10 pixels on, the first level with the image, each further
// one 5 pixels below the last; height = bottom of the last control + 85; width from 10 up to
// every label's right + 20; the button centred, its top at height - 60; the bevel as high as the
// button + 20. The width also leaves room for the image and the button, so a box without labels
// is still usable.
AboutLayout LayoutAboutBox(AboutSize image, std::span<const AboutSize> labels, AboutSize button);

} // namespace tesmira
