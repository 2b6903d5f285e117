#include "support/TestContext.h"

#include "net/JournalPage.h"
#include "net/JournalPageCache.h"
#include "stores/LanguageIds.h"
#include "support/TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>

namespace {

// A row of the journal table, each cell on a line of its own.
std::string row(std::initializer_list<const char*> cells) {
    std::string text = "\r\n <tr valign='top'>";
    for (const char* cell : cells) {
        text += std::string("\r\n  <td>") + cell + "</td>";
    }
    return text + "\r\n </tr>";
}

// The head ends with the column headings, the tail closes the table and the page; between them
// stand the rows.
const std::string kHeadingsEnd = "<td><b>Outcome</b></td>\r\n </tr>";
const std::string kTail = "\r\n</table>\r\n</body>\r\n</html>";

std::string rowsOf(const std::string& page) {
    const std::size_t start = page.find(kHeadingsEnd);
    if (start == std::string::npos || !page.ends_with(kTail)) {
        return "(no head or tail)";
    }
    const std::size_t from = start + kHeadingsEnd.size();
    return page.substr(from, page.size() - from - kTail.size());
}

const std::string kThreeCalls =
    "0815\tAnna\t12345\t06.12.26\t09:15:00\tCaller hung up\tTelephony\r\n"
    "0711\t0711\tOffice\t06.12.26\t10:00:00\tAnswered\tTelephony\r\n"
    "0301\t0301\t12345\t07.12.26\t11:30:00\t\tTelephony\r\n";

class JournalPageTest : public ::testing::Test {
protected:
    JournalPageTest() { ctx.context.phonebook.add("0301", "Bernd", false, "", ""); }
    NameLookup nameOf() const {
        return [this](const std::string& n) { return ctx.context.phonebook.nameOf(n); };
    }
    TestContext ctx;
    JournalPage page{ctx.context.language};
};

// Validates against the DTD that the system's catalog holds, never fetched. The declaration in
// front tells the parser the charset that the reply's header names.
std::string validationErrors(const TempDir& dir, const std::string& page) {
    const std::string file =
        dir.write("page.xhtml", "<?xml version='1.0' encoding='iso-8859-1'?>" + page);
    const std::string output = dir.file("xmllint.txt");
    const std::string command =
        "xmllint --noout --valid --nonet '" + file + "' > '" + output + "' 2>&1";
    const int status = std::system(command.c_str());
    return status == 0 ? std::string() : "xmllint failed:\n" + dir.read("xmllint.txt");
}

} // namespace

TEST_F(JournalPageTest, HeadDeclaresTheCharsetAndCarriesTheHeadingsOfTheLanguage) {
    const std::string built = page.journalPage(splitLines(kThreeCalls), nameOf());
    EXPECT_TRUE(built.starts_with("\r\n<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Strict//EN'"));
    EXPECT_NE(built.find("content='text/html; charset=iso-8859-1'"), std::string::npos);
    std::string headings = " </tr><tr class='grey'>";
    for (const int id : {lang_id::kColumnCaller, lang_id::kNumber, lang_id::kMsn, lang_id::kDate,
                         lang_id::kTime, lang_id::kColumnEndReason}) {
        headings += "\r\n  <td><b>" + ctx.text(id) + "</b></td>";
    }
    EXPECT_NE(built.find(headings + "\r\n </tr>"), std::string::npos);
    EXPECT_NE(built.find("<b>" + ctx.text(lang_id::kCallJournal) + "</b>"), std::string::npos);
    // The wrong password's page has the same head.
    const std::string wrong = page.wrongPasswordPage();
    EXPECT_EQ(wrong.substr(0, wrong.find(kHeadingsEnd)), built.substr(0, built.find(kHeadingsEnd)));
}

TEST_F(JournalPageTest, ThreeCallsInFileOrder) {
    EXPECT_EQ(rowsOf(page.journalPage(splitLines(kThreeCalls), nameOf())),
              "\r\n" + row({"Anna", "0815", "12345", "06.12.26", "09:15:00", "Caller hung up"}) +
                  row({"0711", "0711", "Office", "06.12.26", "10:00:00", "Answered"}) +
                  row({"Bernd", "0301", "12345", "07.12.26", "11:30:00", ""}) + "\r\n");
}

TEST_F(JournalPageTest, WrongPasswordInBothLanguages) {
    EXPECT_EQ(rowsOf(page.wrongPasswordPage()),
              row({"<b>Falsches</b>", "<b>Passwort</b>", "<b>Wrong</b>", "<b>Password</b>",
                   "<b>Falsches</b>", "<b>Passwort</b>"}) +
                  "\r\n");
}

TEST_F(JournalPageTest, RowsFromOddLines) {
    const auto rowOf = [this](const std::string& line) { return journalRow(line, nameOf()); };
    EXPECT_EQ(rowOf(""), row({}));
    EXPECT_EQ(rowOf("0815"), row({"0815"}));
    EXPECT_EQ(rowOf("0815\t\t12345"), row({"", "0815", "12345"}));
    // Markup in a name or a field is shown as text, never taken as markup.
    EXPECT_EQ(rowOf("<b>\t<script>alert('x')</script>\tA & \"B\""),
              row({"&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;", "&lt;b&gt;",
                   "A &amp; &quot;B&quot;"}));
    ctx.context.phonebook.add("0999", "Tom & <Jerry>", false, "", "");
    EXPECT_EQ(rowOf("0999\t0999"), row({"Tom &amp; &lt;Jerry&gt;", "0999"}));
}

TEST_F(JournalPageTest, TextsOutsideAsciiGoOutInTheDeclaredCharset) {
    const std::string built = page.journalPage({"0815\tJ\xC3\xBCrgen\t1\t2\t3\t4"},
                                               [](const std::string& n) { return n; });
    EXPECT_NE(built.find("<td>J\xFCrgen</td>"), std::string::npos);
}

TEST_F(JournalPageTest, PagesAreValidXhtmlStrict) {
    if (std::system("command -v xmllint > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "xmllint (Debian libxml2-utils) is not installed";
    }
    EXPECT_EQ(validationErrors(ctx.dir, page.journalPage(splitLines(kThreeCalls), nameOf())), "");
    EXPECT_EQ(validationErrors(ctx.dir, page.wrongPasswordPage()), "");
    EXPECT_EQ(
        validationErrors(ctx.dir, page.journalPage({"<&>\t\xC3\xA4'\"\t1\t2\t3\t4"}, nameOf())),
        ""); // The line of missed calls above the table, escaped like every text of the page.
    const std::string withNotice =
        page.journalPage(splitLines(kThreeCalls), nameOf(), "Missed calls: <3> & more");
    EXPECT_EQ(validationErrors(ctx.dir, withNotice), "");
    EXPECT_LT(withNotice.find("Missed calls: &lt;3&gt; &amp; more"), withNotice.find("<table>"));
}

TEST_F(JournalPageTest, CacheFollowsTheFilesAndReportsAMissingOrEmptyJournal) {
    const std::string journal = ctx.context.paths.configFile("calls.txt");
    JournalPageCache cache(page, journal);
    const auto built = [&] {
        return cache.journalPage(nameOf(), ctx.context.phonebook.revision());
    };
    ctx.dir.write("calls.txt", "");
    auto result = built();
    EXPECT_EQ(result.journalError, "62-Input past end of file");
    EXPECT_EQ(rowsOf(*result.page), "\r\n\r\n");

    std::filesystem::remove(journal);
    result = built();
    EXPECT_EQ(result.journalError, "53-File not found");
    EXPECT_EQ(*result.page, page.journalPage({}, nameOf()));

    ctx.dir.write("calls.txt", "1\t1\r\n");
    result = built();
    EXPECT_EQ(result.journalError, "");
    EXPECT_EQ(rowsOf(*result.page), "\r\n" + row({"1", "1"}) + "\r\n");
    const auto version = result.version;
    EXPECT_EQ(built().version, version);

    // Same size, same moment: told apart by content.
    ctx.dir.write("calls.txt", "2\t2\r\n");
    result = built();
    EXPECT_NE(result.version, version);
    EXPECT_NE(rowsOf(*result.page).find("<td>2</td>"), std::string::npos);

    // A new phonebook name shows at once.
    ctx.context.phonebook.add("2", "Zoe", false, "", "");
    EXPECT_NE(built().page->find("<td>Zoe</td>"), std::string::npos);
}
