#include "stores/LanguageTable.h"

#include "stores/LanguageIds.h"
#include "support/AppPaths.h" // withTrailingSeparator
#include "support/AsciiText.h"
#include "support/NumericText.h"
#include "support/TextFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

extern const unsigned char kBuiltInEnglish[];
extern const std::size_t kBuiltInEnglish_size;

namespace {

constexpr std::string_view kExtension = ".lng";

// Every "<LF>" becomes a line break.
std::string expandLineBreaks(std::string text) {
    constexpr std::string_view marker = "<LF>";
    std::size_t at = 0;
    while ((at = text.find(marker, at)) != std::string::npos) {
        text.replace(at, marker.size(), "\r\n");
        at += 2;
    }
    return text;
}

// The files of dir whose names end in ".lng" (any case), in directory order.
std::vector<std::filesystem::path> languageFiles(const std::string& dir) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(toFsPath(dir), error), end; !error && it != end;
         it.increment(error)) {
        const auto& path = it->path();
        if (ascii::lowered(path.extension().string()) == kExtension && it->is_regular_file(error)) {
            files.push_back(path);
        }
    }
    return files;
}

} // namespace

bool parseLanguageLine(const std::string& line, int& number, std::string& text) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
        return false;
    }
    const std::string key = line.substr(0, eq);
    const auto value = numericValue(key);
    if (!value || *value < 0 || *value > LanguageTable::kMaxText ||
        *value != static_cast<int>(*value)) {
        return false;
    }
    number = static_cast<int>(*value);
    const std::size_t end = line.find('=', eq + 1);
    text = expandLineBreaks(line.substr(eq + 1, end == std::string::npos ? end : end - eq - 1));
    return true;
}

void LanguageTable::scan(const std::string& langDir) {
    m_langDir = withTrailingSeparator(langDir);
    m_languages.fill({});
    std::size_t place = 0;
    for (const auto& file : languageFiles(m_langDir)) {
        if (place == m_languages.size()) {
            break;
        }
        const auto name = file.filename().u8string();
        m_languages[place++] = std::string(name.begin(), name.end() - kExtension.size());
    }
}

std::vector<std::string> LanguageTable::languages() const {
    return {m_languages.begin(), m_languages.end()};
}

bool LanguageTable::loadFile(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    const std::string wanted = ascii::lowered(name) + std::string(kExtension);
    for (const auto& file : languageFiles(m_langDir)) {
        if (ascii::lowered(file.filename().string()) != wanted) {
            continue;
        }
        const auto bytes = readFileBytes(file.string());
        if (!bytes) {
            return false;
        }
        loadText(*bytes, true);
        return true;
    }
    return false;
}

void LanguageTable::loadText(std::string_view bytes, bool fromFile) {
    for (const auto& line : splitLines(bytes)) {
        int number = 0;
        std::string text;
        // An empty text would leave a caption blank: the built-in one stays.
        if (parseLanguageLine(cp1252ToUtf8(line), number, text) && !text.empty()) {
            m_texts[static_cast<std::size_t>(number)] = std::move(text);
            m_fromFile[static_cast<std::size_t>(number)] = fromFile;
        }
    }
}

LanguageTable::LanguageTable() {
    loadText({reinterpret_cast<const char*>(kBuiltInEnglish), kBuiltInEnglish_size}, false);
}

bool LanguageTable::select(const std::string& name) {
    // Every choice starts from the built-in texts, so no text of an earlier language stays.
    const LanguageTable builtIn;
    m_texts = builtIn.m_texts;
    m_fromFile = builtIn.m_fromFile;
    const bool english = loadFile("english");
    const bool chosen = loadFile(name);
    return english && chosen;
}

std::vector<int> LanguageTable::missingTexts() const {
    std::vector<int> missing;
    for (const int id : lang_id::kAll) {
        if (!m_fromFile[static_cast<std::size_t>(id)]) {
            missing.push_back(id);
        }
    }
    return missing;
}

std::string LanguageTable::text(int i) const {
    if (i < 0 || i > kMaxText) {
        return {};
    }
    return m_texts[static_cast<std::size_t>(i)];
}
