#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

/// The language tables: every user-visible text by number, loaded from a language file over
/// the English base ("english.lng"). Files are "n=text" lines in Windows-1252; "<LF>" stands
/// for a line break and a text ends at a second "=".
class cLanguage {
public:
    static constexpr int kMaxText = 1200;
    static constexpr std::size_t kMaxLanguages = 33;

    /// Lists the language files of langDir (default AppPath + "lang/") in directory order.
    void Init(const std::string& langDir = {});

    /// The 33 places of the language list; places no file fills are empty.
    std::vector<std::string> getLanguages() const;

    /// Loads english.lng and then the named language over it; names match files without
    /// regard to case. True when both files could be read; the table is never emptied.
    bool SetLanguage(const std::string& sLanguage);

    /// Text number i; empty outside 0..1200 or when no file gave it.
    std::string getStr(int i) const;

private:
    bool loadFile(const std::string& name);

    std::string m_langDir;
    std::array<std::string, kMaxLanguages> m_languages;
    std::vector<std::string> m_texts = std::vector<std::string>(kMaxText + 1);
};

/// The one language table of the process.
cLanguage& Language();

/// Parses one line of a language file: the number and its text, or nothing for a bad line.
bool parseLanguageLine(const std::string& line, int& number, std::string& text);
