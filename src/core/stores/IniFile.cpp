#include "stores/IniFile.h"

#include "support/AsciiText.h"
#include "support/SafeSave.h"
#include "support/TextFile.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxValueLength = 254;

// Lines end at CR LF, LF or a bare CR.
std::vector<IniLine> splitRaw(std::string_view bytes) {
    std::vector<IniLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        const std::size_t next = bytes.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
        lines.push_back({std::string(bytes.substr(start, end - start)),
                         std::string(bytes.substr(end, next - end))});
        start = next;
    }
    return lines;
}

// Blanks and NUL bytes around keys and values do not count.
std::string_view trim(std::string_view text) {
    return ascii::trimmed(text, std::string_view(" \t\0", 3));
}

using ascii::equalsNoCase;

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

std::optional<SectionRange> findSection(const std::vector<IniLine>& lines,
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

std::optional<std::size_t> findKey(const std::vector<IniLine>& lines, SectionRange range,
                                   std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto entry = keyValue(lines[i].text);
        if (entry && equalsNoCase(entry->first, key)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

IniDocument::IniDocument(std::string_view bytes) : m_lines(splitRaw(bytes)) {}

std::string IniDocument::value(const std::string& section, const std::string& key) const {
    const auto range = findSection(m_lines, utf8ToCp1252(section));
    if (!range) {
        return {};
    }
    const auto index = findKey(m_lines, *range, utf8ToCp1252(key));
    if (!index) {
        return {};
    }
    std::string value(keyValue(m_lines[*index].text)->second);
    value.erase(std::remove(value.begin(), value.end(), '\0'), value.end());
    if (value.size() > kMaxValueLength) {
        value.resize(kMaxValueLength);
    }
    return cp1252ToUtf8(value);
}

void IniDocument::set(const std::string& section, const std::string& key,
                      const std::string& value) {
    const std::string rawKey = utf8ToCp1252(key);
    const std::string newLine = rawKey + "=" + utf8ToCp1252(value);
    const auto range = findSection(m_lines, utf8ToCp1252(section));
    if (!range) {
        if (!m_lines.empty() && m_lines.back().ending.empty()) {
            m_lines.back().ending = "\r\n";
        }
        m_lines.push_back({"[" + utf8ToCp1252(section) + "]", "\r\n"});
        m_lines.push_back({newLine, "\r\n"});
    } else if (const auto index = findKey(m_lines, *range, rawKey)) {
        m_lines[*index].text = newLine;
        if (m_lines[*index].ending.empty()) {
            m_lines[*index].ending = "\r\n";
        }
    } else {
        // After the section's last non-blank line, so blank lines before the next section stay.
        std::size_t insertAt = range->end;
        while (insertAt > range->header + 1 && trim(m_lines[insertAt - 1].text).empty()) {
            --insertAt;
        }
        if (m_lines[insertAt - 1].ending.empty()) {
            m_lines[insertAt - 1].ending = "\r\n";
        }
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), {newLine, "\r\n"});
    }
}

std::string IniDocument::bytes() const {
    std::string bytes;
    for (const auto& line : m_lines) {
        bytes += line.text;
        bytes += line.ending;
    }
    return bytes;
}

std::string readIni(const std::string& path, const std::string& section, const std::string& key) {
    const auto bytes = readFileBytes(path);
    return bytes ? IniDocument(*bytes).value(section, key) : std::string();
}

SaveResult writeIni(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
    const FileRead read = readDataFile(path);
    if (read.status != ReadStatus::Ok && read.status != ReadStatus::Missing) {
        return SaveResult::failed(read.reason);
    }
    IniDocument document(read.bytes);
    document.set(section, key, value);
    return safeSave(path, document.bytes());
}
