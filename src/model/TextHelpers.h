// Small text rules shared by the editors: clamped number input and line lookup in CR LF text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tesmira {

struct ClampedIntResult {
    int value;
    // The text the field must show instead of what was typed; none when the input stands.
    std::optional<std::string> correctedText;
};

// Reads a decimal integer (optional sign, surrounding blanks allowed). Below `min` gives `min`,
// above `max` gives `max` (also when the digits overflow an int), anything else that is not a
// number gives `fallback`; each of those comes with the corrected text.
ClampedIntResult ClampedInt(std::string_view text, int min, int max, int fallback);

// Number of lines before the first line equal to `line`, in a text whose lines are separated by
// CR LF; when no line matches, the number of separators; 0 for an empty `line`.
int LineIndexOf(std::string_view line, std::string_view text);

} // namespace tesmira
