#include "app/AboutInfo.h"

#include <algorithm>
#include <cmath>

namespace tesmira {

std::optional<std::string_view> VersionValueOf(std::span<const VersionValue> values,
                                               std::string_view name) {
    for (const VersionValue& value : values) {
        if (value.name != nullptr && value.value != nullptr && name == value.name)
            return std::string_view(value.value);
    }
    return std::nullopt;
}

std::string VersionWithoutLast(std::string_view fileVersion) {
    const std::size_t dot = fileVersion.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    return std::string(fileVersion.substr(0, dot));
}

std::optional<std::vector<AboutLabel>> AboutLabels(std::span<const VersionValue> values) {
    if (values.empty())
        return std::nullopt;
    std::vector<AboutLabel> labels;
    auto add = [&](std::string_view name, auto&& makeText, bool title = false) {
        const auto value = VersionValueOf(values, name);
        if (value && !value->empty())
            labels.push_back({makeText(*value), title});
    };
    add(
        "ProductName", [](std::string_view v) { return std::string(v); }, true);
    add("FileVersion", [](std::string_view v) { return "Версия: " + VersionWithoutLast(v); });
    add("CompanyName", [](std::string_view v) { return "Компания: " + std::string(v); });
    add("Author", [](std::string_view v) { return "Автор: " + std::string(v); });
    return labels;
}

AboutLayout LayoutAboutBox(AboutSize image, std::span<const AboutSize> labels, AboutSize button) {
    AboutLayout layout;
    layout.image = {10, 10, image.width, image.height};
    AboutRect last = layout.image;
    const int labelLeft = layout.image.left + layout.image.width + 10;
    int width = 10;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int top = i == 0 ? layout.image.top : last.top + last.height + 5;
        last = {labelLeft, top, labels[i].width, labels[i].height};
        layout.labels.push_back(last);
        width = std::max(width, last.left + last.width + 20);
    }
    width = std::max(
        {width, layout.image.left + layout.image.width + 20, button.width + 20 + kAboutFrameWidth});
    layout.boxWidth = width;
    layout.boxHeight = last.top + last.height + 85;
    // Halves round to even, as the rounding the rule was written for does.
    const int buttonLeft = static_cast<int>(std::nearbyint(width / 2.0 - button.width / 2.0));
    layout.button = {buttonLeft, layout.boxHeight - 60, button.width, button.height};
    const int bevelHeight = button.height + 20;
    layout.bevel = {0, layout.clientHeight() - bevelHeight, layout.clientWidth(), bevelHeight};
    return layout;
}

} // namespace tesmira
