#include "stores/IniFile.h"

#include "support/SafeSave.h"
#include "support/TextFile.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxValueLength = 254;

// One raw line of the file, with the line end it had, so untouched lines are written back as
// they were, byte for byte.
struct RawLine {
    std::string text;
    std::string ending;
};

std::vector<RawLine> splitRaw(std::string_view bytes) {
    std::vector<RawLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        std::size_t end = lf;
        if (end > start && bytes[end - 1] == '\r') {
            --end;
        }
        lines.push_back({std::string(bytes.substr(start, end - start)),
                         std::string(bytes.substr(end, lf + 1 - end))});
        start = lf + 1;
    }
    return lines;
}

std::string_view trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\0'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
               return lower(x) == lower(y);
           });
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(1, close - 1));
}

// Key and value of a "key=value" line; comments and lines without "=" have none.
std::optional<std::pair<std::string_view, std::string_view>> keyValue(std::string_view line) {
    const std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';') {
        return std::nullopt;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return std::pair{trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

// Where a section's lines are: the header's index and one past its last line.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> findSection(const std::vector<RawLine>& lines,
                                        std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (!name || !equalsNoCase(*name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end].text)) {
            ++end;
        }
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<RawLine>& lines, SectionRange range,
                                   std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto entry = keyValue(lines[i].text);
        if (entry && equalsNoCase(entry->first, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string joinRaw(const std::vector<RawLine>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line.text;
        bytes += line.ending;
    }
    return bytes;
}

} // namespace

std::string readIni(const std::string& path, const std::string& section, const std::string& key) {
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        return {};
    }
    const auto lines = splitRaw(*bytes);
    const std::string rawSection = utf8ToCp1252(section);
    const std::string rawKey = utf8ToCp1252(key);
    const auto range = findSection(lines, rawSection);
    if (!range) {
        return {};
    }
    const auto index = findKey(lines, *range, rawKey);
    if (!index) {
        return {};
    }
    std::string value(keyValue(lines[*index].text)->second);
    value.erase(std::remove(value.begin(), value.end(), '\0'), value.end());
    if (value.size() > kMaxValueLength) {
        value.resize(kMaxValueLength);
    }
    return cp1252ToUtf8(value);
}

bool writeIni(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value) {
    auto lines = splitRaw(readFileBytes(path).value_or(std::string{}));
    const std::string rawKey = utf8ToCp1252(key);
    const std::string newLine = rawKey + "=" + utf8ToCp1252(value);
    const auto range = findSection(lines, utf8ToCp1252(section));
    if (!range) {
        if (!lines.empty() && lines.back().ending.empty()) {
            lines.back().ending = "\r\n";
        }
        lines.push_back({"[" + utf8ToCp1252(section) + "]", "\r\n"});
        lines.push_back({newLine, "\r\n"});
    } else if (const auto index = findKey(lines, *range, rawKey)) {
        lines[*index].text = newLine;
        if (lines[*index].ending.empty()) {
            lines[*index].ending = "\r\n";
        }
    } else {
        // After the section's last non-blank line, so blank lines before the next section stay.
        std::size_t insertAt = range->end;
        while (insertAt > range->header + 1 && trim(lines[insertAt - 1].text).empty()) {
            --insertAt;
        }
        if (lines[insertAt - 1].ending.empty()) {
            lines[insertAt - 1].ending = "\r\n";
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), {newLine, "\r\n"});
    }
    return safeSave(path, joinRaw(lines));
}
