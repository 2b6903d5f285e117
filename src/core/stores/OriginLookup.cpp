#include "stores/OriginLookup.h"

#include "support/AsciiText.h"
#include "support/TextFile.h"

#include <algorithm>
#include <optional>

namespace {

// Longest first: a code nested in a shorter one (02129 inside 0212) must win.
constexpr std::size_t kCountryLengths[] = {5, 4, 3, 2};
constexpr std::size_t kAreaLengths[] = {6, 5, 4, 3, 2};

// The numeric value of a run of digits; nothing for other characters or a value too large.
std::optional<std::uint32_t> codeValue(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        if (!ascii::isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > PrefixTable::kMaxCode) {
            return std::nullopt;
        }
    }
    return value;
}

struct Hit {
    std::size_t length = 0; // characters of the number the code took
    const std::string* text = nullptr;
};

// The longest leading part of number, of one of the given lengths, that the table knows.
template <std::size_t N>
Hit longestMatch(const PrefixTable& table, std::string_view number,
                 const std::size_t (&lengths)[N]) {
    for (const std::size_t k : lengths) {
        const std::string_view head = number.substr(0, k);
        if (const auto code = codeValue(head)) {
            if (const auto* text = table.find(*code)) {
                return {head.size(), text};
            }
        }
    }
    return {};
}

} // namespace

bool parsePrefixLine(std::string_view line, std::uint32_t& code, std::string_view& text) {
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) {
        return false;
    }
    const auto value = codeValue(ascii::trimmed(line.substr(0, semicolon)));
    if (!value) {
        return false;
    }
    code = *value;
    text = line.substr(semicolon + 1);
    return true;
}

PrefixTable::LoadResult PrefixTable::load(const std::string& path,
                                          std::span<const std::uint32_t> wanted) {
    m_entries.clear();
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        return LoadResult::Missing;
    }
    bool badLines = false;
    for (const auto& line : splitLines(*bytes)) {
        if (ascii::trimmed(line).empty()) {
            continue;
        }
        std::uint32_t code = 0;
        std::string_view text;
        if (!parsePrefixLine(line, code, text)) {
            badLines = true;
        } else if (wanted.empty() ||
                   std::find(wanted.begin(), wanted.end(), code) != wanted.end()) {
            m_entries.emplace_back(code, cp1252ToUtf8(text));
        }
    }
    // Sorted by code with equal codes in file order; the last of each run is the one to keep.
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    auto kept = m_entries.begin();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        const auto next = std::next(it);
        if (next == m_entries.end() || next->first != it->first) {
            if (kept != it) {
                *kept = std::move(*it);
            }
            ++kept;
        }
    }
    m_entries.erase(kept, m_entries.end());
    m_entries.shrink_to_fit();
    return badLines ? LoadResult::BadLines : LoadResult::Ok;
}

const std::string* PrefixTable::find(std::uint32_t code) const {
    const auto it = std::lower_bound(
        m_entries.begin(), m_entries.end(), code,
        [](const auto& entry, std::uint32_t wanted) { return entry.first < wanted; });
    return it != m_entries.end() && it->first == code ? &it->second : nullptr;
}

std::size_t PrefixTable::memoryBytes() const {
    std::size_t bytes = sizeof(*this) + m_entries.capacity() * sizeof(m_entries.front());
    for (const auto& entry : m_entries) {
        // Short texts live inside the string object itself.
        if (entry.second.capacity() > std::string().capacity()) {
            bytes += entry.second.capacity() + 1;
        }
    }
    return bytes;
}

bool OriginLookup::load(const std::string& countryPrefix, const std::string& prefixDir) {
    m_prefixDir = prefixDir;
    m_national.clear();
    if (m_international.load(m_prefixDir + "int.dat") != PrefixTable::LoadResult::Ok) {
        return false;
    }
    m_national.load(m_prefixDir + countryPrefix + ".dat");
    return true;
}

std::string OriginLookup::originOf(const std::string& numberText) const {
    // "+" is how international numbers are written; only digits make a telephone number.
    const std::string digits =
        numberText.starts_with('+') ? "00" + numberText.substr(1) : numberText;
    if (!ascii::isAllDigits(digits)) {
        return {};
    }
    const std::string_view number(digits);
    if (!number.starts_with("00")) {
        const auto* place = longestMatch(m_national, number, kAreaLengths).text;
        return place ? *place : std::string();
    }
    const Hit country = longestMatch(m_international, number, kCountryLengths);
    if (!country.text) {
        return {};
    }
    // The country's own table, e.g. prefix/0043.dat, read afresh for every such number; only
    // the codes this number can match are kept.
    const std::string national = "0" + std::string(number.substr(country.length));
    std::vector<std::uint32_t> candidates;
    for (const std::size_t k : kAreaLengths) {
        if (const auto code = codeValue(std::string_view(national).substr(0, k))) {
            candidates.push_back(*code);
        }
    }
    PrefixTable foreign;
    if (!candidates.empty()) {
        foreign.load(m_prefixDir + "00" +
                         std::to_string(*codeValue(number.substr(0, country.length))) + ".dat",
                     candidates);
    }
    const auto* place = longestMatch(foreign, national, kAreaLengths).text;
    return place ? *country.text + ", " + *place : *country.text;
}

std::size_t OriginLookup::memoryBytes() const {
    return sizeof(*this) + m_international.memoryBytes() + m_national.memoryBytes() +
           m_prefixDir.capacity();
}
