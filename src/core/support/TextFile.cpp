#include "support/TextFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their own value (C1 controls).
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t decodeCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

// Reads one UTF-8 sequence at text[i]; advances i. Malformed input yields U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        cp = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < length; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return cp;
}

char encodeCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (std::size_t k = 0; k < kHighControls.size(); ++k) {
        if (kHighControls[k] == cp) {
            return static_cast<char>(0x80 + k);
        }
    }
    return '?';
}

} // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else {
            appendUtf8(out, decodeCp1252(byte));
        }
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendCp1252(out, text);
    return out;
}

void appendCp1252(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Runs of ASCII, most of every file, are the same in both and copied as they are.
        const auto ascii =
            std::find_if(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                         [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        const auto end = static_cast<std::size_t>(ascii - text.begin());
        out.append(text.substr(i, end - i));
        i = end;
        if (i < text.size()) {
            out.push_back(encodeCp1252(nextCodePoint(text, i)));
        }
    }
}

std::filesystem::path toFsPath(const std::string& utf8Path) {
    return {std::u8string(utf8Path.begin(), utf8Path.end())};
}

FileRead readDataFile(const std::string& path) {
    return readRegularFile(toFsPath(path));
}

std::optional<std::string> readFileBytes(const std::string& path) {
    auto read = readDataFile(path);
    if (read.status != ReadStatus::Ok) {
        return std::nullopt;
    }
    return std::move(read.bytes);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.push_back(std::move(current));
            current.clear();
        } else if (c != '\0') {
            current.push_back(c);
        }
    }
    if (!current.empty()) {
        lines.push_back(std::move(current));
    }
    return lines;
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    auto lines = splitLines(*bytes);
    for (auto& line : lines) {
        line = cp1252ToUtf8(line);
    }
    return lines;
}

std::string encodeTextLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += utf8ToCp1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

SaveResult writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    return safeSave(path, encodeTextLines(lines));
}

bool appendTextLine(const std::string& path, std::string_view line) {
    std::ofstream out(toFsPath(path), std::ios::binary | std::ios::app);
    if (!out) {
        return false;
    }
    out << utf8ToCp1252(line) << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}
