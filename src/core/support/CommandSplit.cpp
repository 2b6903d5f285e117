#include "support/CommandSplit.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool escapableInDoubleQuotes(char c) {
    return c == '"' || c == '\\' || c == '$' || c == '`';
}

} // namespace

std::optional<std::vector<std::string>> splitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false; // also true for an empty quoted word such as ''
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (isBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            if (i + 1 >= line.size()) {
                return std::nullopt;
            }
            // Only what would otherwise split or quote is escaped: C:\tools\x.exe stays a path.
            const char next = line[i + 1];
            const bool escapes = isBlank(next) || next == '\'' || next == '"' || next == '\\';
            word += escapes ? next : c;
            i += escapes ? 2 : 1;
        } else if (c == '\'') {
            const auto close = line.find('\'', i + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            word += line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else if (c == '"') {
            ++i;
            while (true) {
                if (i >= line.size()) {
                    return std::nullopt;
                }
                if (line[i] == '"') {
                    ++i;
                    break;
                }
                if (line[i] == '\\' && i + 1 < line.size() &&
                    escapableInDoubleQuotes(line[i + 1])) {
                    ++i;
                }
                word += line[i];
                ++i;
            }
        } else {
            word += c;
            ++i;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}
