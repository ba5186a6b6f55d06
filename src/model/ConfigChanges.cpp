#include "model/ConfigChanges.h"

namespace tesmira {

std::optional<ConfigStep> ConfigChanges::Note(ConfigImage image) {
    if (image == shown_)
        return std::nullopt;
    ConfigStep step{std::move(shown_), image};
    shown_ = std::move(image);
    return step;
}

} // namespace tesmira
