#include "support/NumericText.h"

#include <charconv>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isNumericText(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    return i == n;
}

std::optional<double> numericValue(std::string_view text) {
    if (!isNumericText(text)) {
        return std::nullopt;
    }
    // from_chars ignores the locale, which the GUI toolkit may have switched to a decimal comma.
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (isBlank(text[begin])) {
        ++begin;
    }
    while (isBlank(text[end - 1])) {
        --end;
    }
    bool negative = false;
    if (text[begin] == '+' || text[begin] == '-') {
        negative = text[begin] == '-';
        ++begin;
    }
    double value = 0;
    const auto result = std::from_chars(text.data() + begin, text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        return std::nullopt;
    }
    return negative ? -value : value;
}
