// Whether an editor's configuration differs from the one it last had from a file, a device or a
// save, and the steps between the images it has shown: all compared by the configuration image.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tesmira {

using ConfigImage = std::vector<std::uint8_t>;

// One change of the configuration: the image before it and the image after it.
struct ConfigStep {
    ConfigImage before;
    ConfigImage after;
};

class ConfigChanges {
public:
    // `shown` is the image the editor starts with; it counts as unchanged.
    explicit ConfigChanges(ConfigImage shown) : shown_(shown), unchanged_(std::move(shown)) {}

    // The image the editor shows now. The step from the one it showed before, or nothing when the
    // two are equal (a value changed and changed back is no step).
    std::optional<ConfigStep> Note(ConfigImage image);

    // The image shown now is the one saved, read, loaded or written.
    void MarkUnchanged() { unchanged_ = shown_; }
    // An image that was written: unchanged is what the device now holds.
    void MarkUnchanged(ConfigImage written) { unchanged_ = std::move(written); }

    bool Changed() const { return shown_ != unchanged_; }
    const ConfigImage& Shown() const { return shown_; }

private:
    ConfigImage shown_;
    ConfigImage unchanged_;
};

} // namespace tesmira
