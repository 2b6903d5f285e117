#pragma once

#include "support/SafeSave.h"

#include <string>
#include <string_view>
#include <vector>

// INI files. Section and key names match without regard to case; the file is Windows-1252 on
// disk, the values UTF-8 here.

/// One raw line of an INI file with the line end it had ("\r\n", "\n", "\r" or none).
struct IniLine {
    std::string text;
    std::string ending;
};

/// The bytes of an INI file, read and changed key by key and written back whole. Every line
/// that is not changed keeps its bytes and its line end.
class IniDocument {
public:
    explicit IniDocument(std::string_view bytes = {});

    /// The key's value (surrounding blanks removed, at most 254 characters), or the empty text
    /// when the section or the key is missing.
    std::string value(const std::string& section, const std::string& key) const;

    /// Sets key=value in the section: the key's line is replaced in place, a new key goes to
    /// the end of its section, a missing section is added at the end.
    void set(const std::string& section, const std::string& key, const std::string& value);

    std::string bytes() const;

private:
    std::vector<IniLine> m_lines;
};

/// One key of the file (see IniDocument::value); empty when the file cannot be read.
std::string readIni(const std::string& path, const std::string& section, const std::string& key);

/// Writes one key into the file (see IniDocument::set), creating a missing file, through the
/// safe-save helper. A file that exists but cannot be read is never replaced.
SaveResult writeIni(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);
