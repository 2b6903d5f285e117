#include "contacts/NumberForm.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '/' || c == '-' || c == '.' || c == '(' || c == ')' ||
           c == '[' || c == ']';
}

// The country prefix with "00" in front whichever way it was written ("49", "+49", "0049").
std::string internationalPrefix(std::string_view own) {
    std::string digits;
    for (const char c : own) {
        if (isDigit(c)) {
            digits += c;
        }
    }
    while (!digits.empty() && digits.front() == '0') {
        digits.erase(0, 1);
    }
    return digits.empty() ? std::string() : "00" + digits;
}

} // namespace

std::string canonicalNumber(std::string_view number, std::string_view ownCountryPrefix) {
    std::string kept;
    kept.reserve(number.size());
    bool plus = false;
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        // "+49 (0)30": the "(0)" is the national trunk digit written for domestic callers.
        if (c == '(' && number.substr(i, 3) == "(0)" && (plus || !kept.empty())) {
            i += 2;
            continue;
        }
        if (isSeparator(c)) {
            continue;
        }
        if (c == '+' && kept.empty() && !plus) {
            plus = true;
            continue;
        }
        if (!isDigit(c) && c != '*' && c != '#') {
            return {};
        }
        kept += c;
    }
    if (kept.empty()) {
        return {};
    }
    if (plus) {
        return "00" + kept;
    }
    if (kept.size() > 1 && kept[0] == '0' && kept[1] != '0') {
        const std::string own = internationalPrefix(ownCountryPrefix);
        if (!own.empty()) {
            return own + kept.substr(1);
        }
    }
    return kept;
}

std::string lineFormOfNumber(std::string_view number, std::string_view ownCountryPrefix) {
    const std::string canonical = canonicalNumber(number, ownCountryPrefix);
    if (canonical.empty()) {
        return std::string(number);
    }
    const std::string own = internationalPrefix(ownCountryPrefix);
    if (!own.empty() && canonical.size() > own.size() && canonical.rfind(own, 0) == 0) {
        return "0" + canonical.substr(own.size());
    }
    return canonical;
}
