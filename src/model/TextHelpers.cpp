#include "model/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace tesmira {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t';
    };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

enum class Parsed { Number, TooSmall, TooLarge, NotANumber };

Parsed ParseDecimal(std::string_view text, long long& value) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return Parsed::NotANumber;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // All digits, just too many of them: a number beyond any limit, not garbage.
        return negative ? Parsed::TooSmall : Parsed::TooLarge;
    }
    if (negative) {
        value = -value;
    }
    return Parsed::Number;
}

} // namespace

ClampedIntResult ClampedInt(std::string_view text, int min, int max, int fallback) {
    long long value = 0;
    switch (ParseDecimal(text, value)) {
    case Parsed::NotANumber:
        return {fallback, std::to_string(fallback)};
    case Parsed::TooSmall:
        return {min, std::to_string(min)};
    case Parsed::TooLarge:
        return {max, std::to_string(max)};
    case Parsed::Number:
        break;
    }
    if (value < min) {
        return {min, std::to_string(min)};
    }
    if (value > max) {
        return {max, std::to_string(max)};
    }
    return {static_cast<int>(value), std::nullopt};
}

std::optional<long long> ParseInteger(std::string_view text) {
    long long value = 0;
    if (ParseDecimal(text, value) != Parsed::Number) {
        return std::nullopt;
    }
    return value;
}

std::string NotAnIntegerText(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

int LineIndexOf(std::string_view line, std::string_view text) {
    if (line.empty()) {
        return 0;
    }
    constexpr std::string_view kSeparator = "\r\n";
    int index = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(kSeparator, start);
        if (text.substr(start, end == std::string_view::npos ? end : end - start) == line) {
            return index;
        }
        if (end == std::string_view::npos) {
            return index; // no match: as many separators as lines passed
        }
        ++index;
        start = end + kSeparator.size();
    }
}

} // namespace tesmira
