#include "support/TestContext.h"

#include "net/JournalPage.h"
#include "net/JournalPageCache.h"
#include "support/TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>

namespace {

// Every line of the page is preceded by CR LF.
std::string lines(std::initializer_list<const char*> texts) {
    std::string joined;
    for (const char* text : texts) {
        joined += std::string("\r\n") + text;
    }
    return joined;
}

const std::string kHead = lines({
    "<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Strict//EN' "
    "'http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd'>",
    "<html xmlns='http://www.w3.org/1999/xhtml' xml:lang='de' lang='de'>",
    "<head>",
    "<title>Rufwacht</title>",
    "<meta http-equiv='content-type' content='text/html; charset=iso-8859-1' />",
    "<meta name='author'             content='The Rufwacht developers' />",
    "<meta name='description'        content='Rufwacht Journal by Rufwacht' />",
    "<style type='text/css'>",
    "<!--/*--><![CDATA[/*><!--*/",
    "body { font-size: 12px; font-family: verdana,helvetica; }",
    "table { width: 75%; margin: 0.5em auto; }",
    ".center { margin: 0.5em auto; text-align: center; }",
    ".grey { background-color: #cccccc; }",
    "/*]]>*/-->",
    "</style>",
    "</head>",
    "<body>",
    "<table>",
    " <tr class='grey'>",
    "  <td colspan='6' class='center'>",
    "   <b>Call journal</b><br />",
    "   <a href='https://rufwacht.example/'><i>by Rufwacht</i></a><br />",
    "  </td>",
    " </tr><tr class='grey'>",
    "  <td><b>Caller</b></td>",
    "  <td><b>Number</b></td>",
    "  <td><b>MSN</b></td>",
    "  <td><b>Date</b></td>",
    "  <td><b>Time</b></td>",
    "  <td><b>Outcome</b></td>",
    " </tr>",
});
const std::string kTail = lines({"</table>", "</body>", "</html>"});

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
    std::vector<std::string> journalLines(const std::string& bytes) const {
        return splitLines(bytes);
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

TEST_F(JournalPageTest, ThreeCallsByteForByte) {
    const std::string expected = kHead + "\r\n" +
                                 lines({" <tr valign='top'>",
                                        "  <td>Anna</td>",
                                        "  <td>0815</td>",
                                        "  <td>12345</td>",
                                        "  <td>06.12.26</td>",
                                        "  <td>09:15:00</td>",
                                        "  <td>Caller hung up</td>",
                                        " </tr>",
                                        " <tr valign='top'>",
                                        "  <td>0711</td>",
                                        "  <td>0711</td>",
                                        "  <td>Office</td>",
                                        "  <td>06.12.26</td>",
                                        "  <td>10:00:00</td>",
                                        "  <td>Answered</td>",
                                        " </tr>",
                                        " <tr valign='top'>",
                                        "  <td>Bernd</td>",
                                        "  <td>0301</td>",
                                        "  <td>12345</td>",
                                        "  <td>07.12.26</td>",
                                        "  <td>11:30:00</td>",
                                        "  <td></td>",
                                        " </tr>"}) +
                                 "\r\n" + kTail;
    const std::string built = page.journalPage(journalLines(kThreeCalls), nameOf());
    EXPECT_EQ(built, expected);
    EXPECT_EQ(built.substr(0, 11), "\r\n<!DOCTYPE");
    EXPECT_EQ(built.substr(built.size() - 7), "</html>");
}

TEST_F(JournalPageTest, WrongPasswordByteForByte) {
    EXPECT_EQ(
        page.wrongPasswordPage(),
        kHead +
            lines({" <tr valign='top'>", "  <td><b>Falsches</b></td>", "  <td><b>Passwort</b></td>",
                   "  <td><b>Wrong</b></td>", "  <td><b>Password</b></td>",
                   "  <td><b>Falsches</b></td>", "  <td><b>Passwort</b></td>", " </tr>"}) +
            "\r\n" + kTail);
}

TEST_F(JournalPageTest, RowsFromOddLines) {
    const auto row = [this](const std::string& line) { return journalRow(line, nameOf()); };
    EXPECT_EQ(row(""), "\r\n <tr valign='top'>\r\n </tr>");
    EXPECT_EQ(row("0815"), "\r\n <tr valign='top'>\r\n  <td>0815</td>\r\n </tr>");
    EXPECT_EQ(row("0815\t\t12345"), "\r\n <tr valign='top'>\r\n  <td></td>\r\n  <td>0815</td>"
                                    "\r\n  <td>12345</td>\r\n </tr>");
    // Markup in a name or a field is shown as text, never taken as markup.
    EXPECT_EQ(row("<b>\t<script>alert('x')</script>\tA & \"B\""),
              "\r\n <tr valign='top'>\r\n  <td>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"
              "</td>\r\n  <td>&lt;b&gt;</td>\r\n  <td>A &amp; &quot;B&quot;</td>\r\n </tr>");
    ctx.context.phonebook.add("0999", "Tom & <Jerry>", false, "", "");
    EXPECT_EQ(row("0999\t0999"), "\r\n <tr valign='top'>\r\n  <td>Tom &amp; &lt;Jerry&gt;</td>"
                                 "\r\n  <td>0999</td>\r\n </tr>");
}

TEST_F(JournalPageTest, TextsOutsideAsciiGoOutInTheDeclaredCharset) {
    const std::string built = page.journalPage({"0815\tJ\xC3\xBCrgen\t1\t2\t3\t4"},
                                               [](const std::string& n) { return n; });
    EXPECT_NE(built.find("<td>J\xFCrgen</td>"), std::string::npos);
}

TEST_F(JournalPageTest, PagesAreValidXhtmlStrict) {
    EXPECT_EQ(validationErrors(ctx.dir, page.journalPage(journalLines(kThreeCalls), nameOf())), "");
    EXPECT_EQ(validationErrors(ctx.dir, page.wrongPasswordPage()), "");
    EXPECT_EQ(
        validationErrors(ctx.dir, page.journalPage({"<&>\t\xC3\xA4'\"\t1\t2\t3\t4"}, nameOf())),
        "");
}

TEST_F(JournalPageTest, CacheFollowsTheFilesAndReportsAMissingOrEmptyJournal) {
    const std::string journal = ctx.context.paths.configFile("calls.txt");
    JournalPageCache cache(page, journal, ctx.context.phonebook.path());
    const auto rowsOf = [](const JournalPageCache::Result& r) {
        const std::size_t start = kHead.size() + 2;
        return r.page->substr(start, r.page->size() - start - kTail.size() - 2);
    };

    ctx.dir.write("calls.txt", "");
    auto result = cache.journalPage(nameOf());
    EXPECT_EQ(result.journalError, "62-Input past end of file");
    EXPECT_EQ(rowsOf(result), "");

    std::filesystem::remove(journal);
    result = cache.journalPage(nameOf());
    EXPECT_EQ(result.journalError, "53-File not found");
    EXPECT_EQ(*result.page, kHead + "\r\n\r\n" + kTail);

    ctx.dir.write("calls.txt", "1\t1\r\n");
    result = cache.journalPage(nameOf());
    EXPECT_EQ(result.journalError, "");
    EXPECT_EQ(rowsOf(result), "\r\n <tr valign='top'>\r\n  <td>1</td>\r\n  <td>1</td>\r\n </tr>");
    const auto version = result.version;
    EXPECT_EQ(cache.journalPage(nameOf()).version, version);

    // Same size, same moment: told apart by content.
    ctx.dir.write("calls.txt", "2\t2\r\n");
    result = cache.journalPage(nameOf());
    EXPECT_NE(result.version, version);
    EXPECT_NE(rowsOf(result).find("<td>2</td>"), std::string::npos);

    // A new phonebook name shows at once.
    ctx.context.phonebook.add("2", "Zoe", false, "", "");
    EXPECT_NE(rowsOf(cache.journalPage(nameOf())).find("<td>Zoe</td>"), std::string::npos);
}
