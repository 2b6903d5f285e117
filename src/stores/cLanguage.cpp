#include "stores/cLanguage.h"

#include "support/AppPaths.h"
#include "support/NumericText.h"
#include "support/TextFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

constexpr std::string_view kExtension = ".lng";

std::string toLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

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
        if (toLower(path.extension().string()) == kExtension && it->is_regular_file(error)) {
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
    if (!value || *value < 0 || *value > cLanguage::kMaxText ||
        *value != static_cast<int>(*value)) {
        return false;
    }
    number = static_cast<int>(*value);
    const std::size_t end = line.find('=', eq + 1);
    text = expandLineBreaks(line.substr(eq + 1, end == std::string::npos ? end : end - eq - 1));
    return true;
}

void cLanguage::Init(const std::string& langDir) {
    m_langDir = withTrailingSeparator(langDir.empty() ? AppPath + "lang" : langDir);
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

std::vector<std::string> cLanguage::getLanguages() const {
    return {m_languages.begin(), m_languages.end()};
}

bool cLanguage::loadFile(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    const std::string wanted = toLower(name) + std::string(kExtension);
    for (const auto& file : languageFiles(m_langDir)) {
        if (toLower(file.filename().string()) != wanted) {
            continue;
        }
        const auto lines = readTextLines(file.string());
        if (!lines) {
            return false;
        }
        for (const auto& line : *lines) {
            int number = 0;
            std::string text;
            if (parseLanguageLine(line, number, text)) {
                m_texts[static_cast<std::size_t>(number)] = std::move(text);
            }
        }
        return true;
    }
    return false;
}

bool cLanguage::SetLanguage(const std::string& sLanguage) {
    if (m_langDir.empty()) {
        Init();
    }
    if (!loadFile("english")) {
        return false;
    }
    return loadFile(sLanguage);
}

std::string cLanguage::getStr(int i) const {
    if (i < 0 || i > kMaxText) {
        return {};
    }
    return m_texts[static_cast<std::size_t>(i)];
}

cLanguage& Language() {
    static cLanguage language;
    return language;
}
