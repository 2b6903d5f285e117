#include "stores/ListFile.h"

#include "stores/Settings.h"
#include "support/AppPaths.h"
#include "support/TextFile.h"

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.emplace_back(line.substr(start));
            return fields;
        }
        fields.emplace_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::string joinFields(std::initializer_list<std::string_view> fields) {
    std::string line;
    bool first = true;
    for (const auto field : fields) {
        if (!first) {
            line.push_back('\t');
        }
        first = false;
        for (const char c : field) {
            line.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
        }
    }
    return line;
}

std::string_view storedBool(bool value) {
    return value ? "-1" : "0";
}

bool readStoredBool(std::string_view text) {
    return parseSettingBool(text).value_or(false);
}

const std::string& fieldAt(const std::vector<std::string>& fields, std::size_t i) {
    static const std::string empty;
    return i < fields.size() ? fields[i] : empty;
}

std::optional<std::vector<std::vector<std::string>>> readRecords(const std::string& path) {
    const auto lines = readTextLines(path);
    if (!lines) {
        if (!fileExists(path)) {
            writeEmptyListFile(path);
        }
        return std::nullopt;
    }
    std::vector<std::vector<std::string>> records;
    records.reserve(lines->size());
    for (const auto& line : *lines) {
        if (!line.empty()) {
            records.push_back(splitFields(line));
        }
    }
    return records;
}

bool writeListFile(const std::string& path, const std::vector<std::string>& lines) {
    return writeTextLines(path, lines);
}

bool writeEmptyListFile(const std::string& path) {
    return writeTextLines(path, {std::string()});
}
