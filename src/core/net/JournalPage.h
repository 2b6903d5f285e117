#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class LanguageTable;

/// The phonebook's name for a caller display (the display itself when it knows none).
using NameLookup = std::function<std::string(const std::string&)>;

/// The journal web page: an XHTML 1.0 Strict document whose every line is preceded by CR LF.
/// Its frame holds the texts of the language active when it was built; pages are returned as
/// sent, in Windows-1252 (declared as iso-8859-1).
class JournalPage {
public:
    explicit JournalPage(const LanguageTable& language);

    /// The page with the single row that says the password was wrong.
    std::string wrongPasswordPage() const;
    /// The page with one row per line of calls.txt, in file order; a notice, when given, is
    /// a line of text above the table.
    std::string journalPage(const std::vector<std::string>& journalLines, const NameLookup& nameOf,
                            std::string_view notice = {}) const;

private:
    std::string m_head;           // UTF-8, up to the column headings
    std::size_t m_tableStart = 0; // where in m_head the table begins
    std::string m_tail;
};

/// The text with &, <, >, ' and " written as character references.
std::string escapeHtml(std::string_view text);

/// One row of the page for a line of calls.txt: the caller's phonebook name, number, MSN,
/// date, time, end reason. A field the line lacks gives no cell.
std::string journalRow(std::string_view line, const NameLookup& nameOf);
