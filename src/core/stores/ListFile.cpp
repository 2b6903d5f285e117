#include "stores/ListFile.h"

#include "stores/Settings.h"
#include "support/TextFile.h"

#include <algorithm>

std::vector<std::string_view> splitFieldViews(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::vector<std::string> splitFields(std::string_view line) {
    const std::vector<std::string_view> views = splitFieldViews(line);
    return {views.begin(), views.end()};
}

namespace {

// A TAB or line break inside a field would tear its record apart.
bool breaksRecord(char c) {
    return c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::string joinFields(std::initializer_list<std::string_view> fields) {
    std::size_t length = fields.size();
    for (const auto field : fields) {
        length += field.size();
    }
    std::string line;
    line.reserve(length);
    bool first = true;
    for (const auto field : fields) {
        if (!first) {
            line.push_back('\t');
        }
        first = false;
        const std::size_t start = line.size();
        line.append(field);
        std::replace_if(line.begin() + static_cast<std::ptrdiff_t>(start), line.end(), breaksRecord,
                        ' ');
    }
    return line;
}

void appendListLine(std::string& bytes, std::span<const std::string_view> fields,
                    std::string_view extra) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            bytes.push_back('\t');
        }
        const std::size_t start = bytes.size();
        appendCp1252(bytes, fields[i]);
        std::replace_if(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end(),
                        breaksRecord, ' ');
    }
    appendCp1252(bytes, extra);
    bytes += "\r\n";
}

std::string fieldsFrom(const std::vector<std::string>& fields, std::size_t first) {
    std::string tail;
    for (std::size_t i = first; i < fields.size(); ++i) {
        tail += '\t';
        tail += fields[i];
    }
    return tail;
}

std::string_view storedBool(bool value) {
    return value ? "-1" : "0";
}

bool readStoredBool(std::string_view text) {
    return parseSettingBool(text).value_or(false);
}

bool isStoredBool(std::string_view text) {
    return text.empty() || parseSettingBool(text).has_value();
}

const std::string& fieldAt(const std::vector<std::string>& fields, std::size_t i) {
    static const std::string empty;
    return i < fields.size() ? fields[i] : empty;
}

ListRecords parseListRecords(std::string_view bytes, const StoreFile& file) {
    ListRecords result;
    if (bytes.find('\0') != std::string_view::npos) {
        result.lossy = "NUL bytes";
    }
    int lineNumber = 0;
    for (const auto& line : splitLines(bytes)) {
        ++lineNumber;
        if (line.empty()) {
            continue;
        }
        auto fields = splitFields(cp1252ToUtf8(line));
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (capFieldLength(fields[i])) {
                file.note(file.path() + " line " + std::to_string(lineNumber) + ": field " +
                          std::to_string(i + 1) + " cut to " + std::to_string(kMaxFieldCharacters) +
                          " characters");
                result.lossy =
                    "fields longer than " + std::to_string(kMaxFieldCharacters) + " characters";
            }
        }
        result.records.push_back(std::move(fields));
    }
    return result;
}
