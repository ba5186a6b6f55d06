// Small text rules shared by the editors: integer and clamped number input, line lookup in CR LF
// text.
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

// What a typed field did to the record: the text it must show instead of what was typed (none:
// the input stands), or the error that refused the text (the record kept its value).
struct TypedInput {
    std::optional<std::string> shownText;
    std::optional<std::string> error;
};

// Reads a decimal integer (optional sign, surrounding blanks allowed). Below `min` gives `min`,
// above `max` gives `max` (also when the digits overflow an int), anything else that is not a
// number gives `fallback`; each of those comes with the corrected text.
ClampedIntResult ClampedInt(std::string_view text, int min, int max, int fallback);

// The same decimal reading without limits: none for text that is not a number and for digits
// beyond the range of long long.
std::optional<long long> ParseInteger(std::string_view text);

// The error a field raises when its text must be an integer and is not.
std::string NotAnIntegerText(std::string_view text);

// Number of lines before the first line equal to `line`, in a text whose lines are separated by
// CR LF; when no line matches, the number of separators; 0 for an empty `line`.
int LineIndexOf(std::string_view line, std::string_view text);

} // namespace tesmira
