#include "support/NumericText.h"

#include "support/AsciiText.h"

#include <charconv>

namespace {

using ascii::isBlank;
using ascii::isDigit;

bool isSign(char c) {
    return c == '+' || c == '-';
}
bool isPoint(char c) {
    return c == '.';
}
bool isExponent(char c) {
    return c == 'e' || c == 'E';
}

// Moves i over at most `most` characters that pass the test; returns how many it passed.
std::size_t skip(std::string_view text, std::size_t& i, bool (*test)(char),
                 std::size_t most = std::string_view::npos) {
    const std::size_t start = i;
    while (i < text.size() && i - start < most && test(text[i])) {
        ++i;
    }
    return i - start;
}

} // namespace

bool isNumericText(std::string_view text) {
    std::size_t i = 0;
    skip(text, i, isBlank);
    skip(text, i, isSign, 1);
    std::size_t digits = skip(text, i, isDigit);
    if (skip(text, i, isPoint, 1) == 1) {
        digits += skip(text, i, isDigit);
    }
    if (digits == 0) {
        return false;
    }
    if (skip(text, i, isExponent, 1) == 1) {
        skip(text, i, isSign, 1);
        if (skip(text, i, isDigit) == 0) {
            return false;
        }
    }
    skip(text, i, isBlank);
    return i == text.size();
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

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}
