#include "app/PortList.h"

namespace tesmira {

std::optional<std::string> PortCaption(std::string_view friendlyName, PortCaptionRule rule) {
    const std::size_t open = rule == PortCaptionRule::ComInParentheses ? friendlyName.find("(COM")
                                                                       : friendlyName.rfind('(');
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::size_t close = friendlyName.find(')', open);
    if (close == std::string_view::npos)
        return std::string();
    return std::string(friendlyName.substr(open + 1, close - open - 1));
}

bool IsDevicePort(std::string_view friendlyName) {
    return friendlyName.find("STM") != std::string_view::npos ||
           friendlyName.find("CP210") != std::string_view::npos;
}

std::vector<PortListItem> BuildPortList(const std::vector<std::string>& friendlyNames,
                                        PortCaptionRule rule) {
    std::vector<PortListItem> items;
    for (const std::string& name : friendlyNames) {
        if (auto caption = PortCaption(name, rule))
            items.push_back({std::move(*caption), IsDevicePort(name)});
    }
    return items;
}

} // namespace tesmira
