#pragma once

#include <algorithm>
#include <string>
#include <string_view>

/// Small helpers for the ASCII text of files, protocols and settings. They ignore the locale
/// on purpose: the GUI toolkit may switch it, and a file must read the same whatever it is.
namespace ascii {

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// A blank inside a line: space or tab.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr char toLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// At least one character, and only the digits 0 to 9.
inline bool isAllDigits(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, isDigit);
}

/// The text without the given characters (blanks unless told) at either end.
inline std::string_view trimmed(std::string_view text, std::string_view strip = " \t") {
    const auto first = text.find_first_not_of(strip);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(strip) - first + 1);
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::ranges::equal(a, b, [](char x, char y) { return toLower(x) == toLower(y); });
}

inline std::string lowered(std::string text) {
    std::ranges::transform(text, text.begin(), toLower);
    return text;
}

} // namespace ascii
