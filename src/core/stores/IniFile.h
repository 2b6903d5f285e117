#pragma once

#include <string>

// One key of an INI file at a time. Section and key names match without regard to case; the
// file is Windows-1252 on disk, the values UTF-8 here.

/// The key's value (surrounding blanks removed, at most 254 characters), or the empty text
/// when the file, the section or the key is missing.
std::string readIni(const std::string& path, const std::string& section, const std::string& key);

/// Writes key=value into the section: the key's line is replaced in place, a new key goes to
/// the end of its section, a missing section is added at the end, a missing file is created.
/// Every other byte of the file stays as it was. The file is replaced through the safe-save
/// helper; the result tells whether that worked.
bool writeIni(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value);
