#include "net/JournalPage.h"

#include "net/ProductInfo.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "stores/ListFile.h"
#include "support/TextFile.h"

namespace {

constexpr const char* kNewLine = "\r\n";

void addLine(std::string& page, std::string_view line) {
    page += kNewLine;
    page += line;
}

void addCell(std::string& page, std::string_view text) {
    page += "\r\n  <td>";
    page += escapeHtml(text);
    page += "</td>";
}

} // namespace

JournalPage::JournalPage(const LanguageTable& language) {
    const auto heading = [&language](int id) {
        return "  <td><b>" + escapeHtml(language.text(id)) + "</b></td>";
    };
    std::string& h = m_head;
    addLine(h, "<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Strict//EN' "
               "'http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd'>");
    addLine(h, "<html xmlns='http://www.w3.org/1999/xhtml' xml:lang='de' lang='de'>");
    addLine(h, "<head>");
    addLine(h, "<title>Rufwacht</title>");
    addLine(h, "<meta http-equiv='content-type' content='text/html; charset=iso-8859-1' />");
    addLine(h, "<meta name='author'             content='The Rufwacht developers' />");
    addLine(h, "<meta name='description'        content='Rufwacht Journal by Rufwacht' />");
    addLine(h, "<style type='text/css'>");
    addLine(h, "<!--/*--><![CDATA[/*><!--*/");
    addLine(h, "body { font-size: 12px; font-family: verdana,helvetica; }");
    addLine(h, "table { width: 75%; margin: 0.5em auto; }");
    addLine(h, ".center { margin: 0.5em auto; text-align: center; }");
    addLine(h, ".grey { background-color: #cccccc; }");
    addLine(h, "/*]]>*/-->");
    addLine(h, "</style>");
    addLine(h, "</head>");
    addLine(h, "<body>");
    m_tableStart = h.size();
    addLine(h, "<table>");
    addLine(h, " <tr class='grey'>");
    addLine(h, "  <td colspan='6' class='center'>");
    addLine(h, "   <b>" + escapeHtml(language.text(lang_id::kCallJournal)) + "</b><br />");
    addLine(h, std::string("   <a href='") + kProductWebAddress + "'><i>by Rufwacht</i></a><br />");
    addLine(h, "  </td>");
    addLine(h, " </tr><tr class='grey'>");
    for (const int id : {lang_id::kColumnCaller, lang_id::kNumber, lang_id::kMsn, lang_id::kDate,
                         lang_id::kTime, lang_id::kColumnEndReason}) {
        addLine(h, heading(id));
    }
    addLine(h, " </tr>");

    addLine(m_tail, "</table>");
    addLine(m_tail, "</body>");
    addLine(m_tail, "</html>");
}

std::string JournalPage::wrongPasswordPage() const {
    std::string page = m_head;
    addLine(page, " <tr valign='top'>");
    for (const char* word : {"Falsches", "Passwort", "Wrong", "Password", "Falsches", "Passwort"}) {
        addLine(page, std::string("  <td><b>") + word + "</b></td>");
    }
    addLine(page, " </tr>");
    page += kNewLine;
    page += m_tail;
    return utf8ToCp1252(page);
}

std::string JournalPage::journalPage(const std::vector<std::string>& journalLines,
                                     const NameLookup& nameOf, std::string_view notice) const {
    std::string page = m_head;
    if (!notice.empty()) {
        std::string line;
        addLine(line, "<p class='center'><b>" + escapeHtml(notice) + "</b></p>");
        page.insert(m_tableStart, line);
    }
    page += kNewLine;
    for (const std::string& line : journalLines) {
        page += journalRow(line, nameOf);
    }
    page += kNewLine;
    page += m_tail;
    return utf8ToCp1252(page);
}

std::string escapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string journalRow(std::string_view line, const NameLookup& nameOf) {
    // An empty line has no fields at all.
    const std::vector<std::string_view> fields =
        line.empty() ? std::vector<std::string_view>() : splitFieldViews(line);
    std::string row = "\r\n <tr valign='top'>";
    if (fields.size() > 1) {
        const std::string display(fields[1]);
        const std::string name = nameOf(display);
        addCell(row, name.empty() ? display : name);
    }
    for (const std::size_t position : {0, 2, 3, 4, 5}) {
        if (position < fields.size()) {
            addCell(row, fields[position]);
        }
    }
    row += "\r\n </tr>";
    return row;
}
