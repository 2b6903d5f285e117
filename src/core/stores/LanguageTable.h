#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The language tables: every user-visible text by number, loaded from a language file over
/// the English base ("english.lng") over the English texts built into the program. Files are
/// "n=text" lines in Windows-1252; "<LF>" stands for a line break and a text ends at a second
/// "=".
class LanguageTable {
public:
    static constexpr int kMaxText = 1200;
    static constexpr std::size_t kMaxLanguages = 33;

    /// A table with the built-in English texts.
    LanguageTable();

    /// Lists the language files of langDir in directory order; later loads read from there.
    void scan(const std::string& langDir);

    /// The 33 places of the language list; places no file fills are empty.
    std::vector<std::string> languages() const;

    /// Loads english.lng and then the named language over it, over the built-in English
    /// texts; names match files without regard to case. True when both files could be read.
    bool select(const std::string& name);

    /// The numbers of the program's texts that the files of the last select did not give
    /// (they show the built-in English text).
    std::vector<int> missingTexts() const;

    /// Text number i; empty outside 0..1200 or when no file gave it.
    std::string text(int i) const;

private:
    bool loadFile(const std::string& name);
    void loadText(std::string_view bytes, bool fromFile);

    std::string m_langDir;
    std::array<std::string, kMaxLanguages> m_languages;
    std::vector<std::string> m_texts = std::vector<std::string>(kMaxText + 1);
    std::vector<bool> m_fromFile = std::vector<bool>(kMaxText + 1);
};

/// Parses one line of a language file: the number and its text, or nothing for a bad line.
bool parseLanguageLine(const std::string& line, int& number, std::string& text);
