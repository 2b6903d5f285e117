#include "contacts/CardDavAnswer.h"
#include "contacts/ContactIndex.h"
#include "contacts/NumberForm.h"
#include "contacts/RouterPhonebookReader.h"
#include "contacts/VCardReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

struct NumberPair {
    const char* stored;
    const char* calling;
    bool same;
};

std::ostream& operator<<(std::ostream& out, const NumberPair& pair) {
    return out << '"' << pair.stored << "\" vs \"" << pair.calling << '"'
               << (pair.same ? " must match" : " must not match");
}

class NumberForms : public ::testing::TestWithParam<NumberPair> {};

std::vector<std::string> names(const ContactsRead& read) {
    std::vector<std::string> result;
    for (const Contact& contact : read.contacts) {
        result.push_back(contact.name);
    }
    return result;
}

} // namespace

TEST_P(NumberForms, CompareInOneCanonicalForm) {
    const NumberPair& pair = GetParam();
    const std::string stored = canonicalNumber(pair.stored, "0049");
    const std::string calling = canonicalNumber(pair.calling, "0049");
    EXPECT_EQ(!stored.empty() && stored == calling, pair.same) << stored << " / " << calling;
}

INSTANTIATE_TEST_SUITE_P(Table, NumberForms,
                         ::testing::Values(NumberPair{"+49 30 1234567", "0301234567", true},
                                           NumberPair{"0049301234567", "0301234567", true},
                                           NumberPair{"030/123 45 67", "0301234567", true},
                                           NumberPair{"+49 (0)30 123-45-67", "0301234567", true},
                                           NumberPair{"(030) 123.45.67", "0301234567", true},
                                           NumberPair{"[030] 1234567", "0049301234567", true},
                                           NumberPair{"+43 1 234567", "00431234567", true},
                                           NumberPair{"1234567", "1234567", true},
                                           NumberPair{"+43 30 1234567", "0301234567", false},
                                           NumberPair{"1234567", "0301234567", false},
                                           NumberPair{"0301234567", "03012345678", false},
                                           NumberPair{"+49 30 1234567", "+49 30 1234568", false},
                                           NumberPair{"Unbekannt", "Unbekannt", false},
                                           NumberPair{"", "", false},
                                           NumberPair{"030 CALL ME", "030", false}));

TEST(NumberForm, OwnCountryComesFromThePrefixSetting) {
    EXPECT_EQ(canonicalNumber("01 234567", "0043"), "00431234567");
    EXPECT_EQ(canonicalNumber("01 234567", "+43"), "00431234567");
    EXPECT_EQ(canonicalNumber("0301234567", "0049"), "0049301234567");
    // The phonebook compares exactly: an imported number takes the line's form.
    EXPECT_EQ(lineFormOfNumber("+49 (0)30 123-45-67", "0049"), "0301234567");
    EXPECT_EQ(lineFormOfNumber("+43 1 234567", "0049"), "00431234567");
    EXPECT_EQ(lineFormOfNumber("1234567", "0049"), "1234567");
}

TEST(VCard, ReadsAllThreeVersionsWithTheirEncodings) {
    const std::string file =
        // 2.1: bare types, quoted-printable with a soft break, a Latin-1 charset, N only.
        "BEGIN:VCARD\r\nVERSION:2.1\r\n"
        "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=\r\n\xFCrgen\r\n"
        "TEL;HOME;VOICE:030/123 45 67\r\nTEL;CELL:+49 171 2345678\r\n"
        "PHOTO;JPEG;ENCODING=BASE64:/9j/4AAQ\r\n\r\nEND:VCARD\r\n"
        // 3.0: folded FN, escapes, typed TEL, a group prefix, LF line ends.
        "BEGIN:VCARD\nVERSION:3.0\nFN:Anna\n  Schmidt\\, Berlin\nN:Schmidt;Anna;;;\n"
        "item1.TEL;TYPE=WORK,VOICE:+49 (0)89 765432\nEND:VCARD\n"
        // 4.0: tel: address with extension, data: photo, UTF-8 name, no TYPE.
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zoë Ångström\r\n"
        "TEL;VALUE=uri:tel:+33-1-23-45-67-89;ext=12\r\nTEL:0221 998877\r\n"
        "PHOTO:data:image/png;base64,iVBORw==\r\nEND:VCARD\r\n";
    const ContactsRead read = readVCards(file);
    EXPECT_THAT(read.problems, IsEmpty());
    ASSERT_THAT(names(read), ElementsAre("Jürgen Müller", "Anna Schmidt, Berlin", "Zoë Ångström"));
    EXPECT_THAT(read.contacts[0].numbers, ElementsAre("030/123 45 67", "+49 171 2345678"));
    EXPECT_EQ(read.contacts[0].photoData, std::string("\xFF\xD8\xFF\xE0\x00\x10", 6));
    EXPECT_THAT(read.contacts[1].numbers, ElementsAre("+49 (0)89 765432"));
    EXPECT_THAT(read.contacts[2].numbers, ElementsAre("+33-1-23-45-67-89", "0221 998877"));
    EXPECT_EQ(read.contacts[2].photoType, "png");
    EXPECT_EQ(read.contacts[2].photoData, "\x89PNG");
}

TEST(VCard, ADamagedCardCostsOnlyItselfAndTheProblemNamesItsLine) {
    const std::string file = "BEGIN:VCARD\r\nFN:Good One\r\nTEL:030 1\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nFN:Broken\r\nthis line is no property\r\n"
                             "TEL:030 2\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nFN;ENCODING=QUOTED-PRINTABLE:Bad=ZZ\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nFN:No End\r\n"
                             "BEGIN:VCARD\r\nTEL:030 3\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nFN:Last\r\nTEL:030 4\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nFN:Cut off";
    const ContactsRead read = readVCards(file);
    EXPECT_THAT(names(read), ElementsAre("Good One", "Last"));
    EXPECT_THAT(read.problems,
                ElementsAre("line 7: not a vCard property", "line 11: bad quoted-printable value",
                            "line 13: card without END", "line 15: card without a name",
                            "line 22: card without END"));
}

TEST(VCard, ATenThousandCardFileReadsWhole) {
    std::string file;
    for (int i = 0; i < 10000; ++i) {
        file += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person " + std::to_string(i) +
                "\r\nTEL;TYPE=HOME:030 " + std::to_string(1000000 + i) + "\r\nEND:VCARD\r\n";
    }
    const ContactsRead read = readVCards(file);
    ASSERT_EQ(read.contacts.size(), 10000U);
    EXPECT_EQ(read.contacts[9999].name, "Person 9999");
    EXPECT_THAT(read.problems, IsEmpty());
}

TEST(RouterPhonebook, ReadsNamesAndEveryNumberOfAContact) {
    const std::string file =
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<phonebooks>\n"
        "<phonebook name=\"Telefonbuch\"><contact><category>0</category><person>"
        "<realName>B\xE4\x63ker &amp; S\xF6hne</realName></person><telephony nid=\"2\">"
        "<number type=\"home\" prio=\"1\" id=\"0\">030 1234567</number>"
        "<number type=\"mobile\" id=\"1\"> 0171 2345678 </number></telephony></contact>"
        "<contact><person><realName>Ohne Nummer</realName></person><telephony/></contact>"
        "<!-- a comment --><contact><person><realName><![CDATA[Tante <Erna>]]></realName>"
        "</person><telephony><number>+49 89 1</number></telephony></contact>"
        "</phonebook></phonebooks>\n";
    const ContactsRead read = readRouterPhonebook(file);
    ASSERT_THAT(names(read), ElementsAre("Bäcker & Söhne", "Tante <Erna>"));
    EXPECT_THAT(read.contacts[0].numbers, ElementsAre("030 1234567", "0171 2345678"));
    EXPECT_THAT(read.problems, ElementsAre("contact 2: no name or no number"));

    const ContactsRead broken = readRouterPhonebook("<phonebooks><phonebook></phonebooks>");
    EXPECT_THAT(broken.contacts, IsEmpty());
    EXPECT_THAT(broken.problems, ElementsAre(HasSubstr("not a router phonebook")));
}

TEST(CardDav, ReadsTheCardsOfAMultistatusAndRefusesWhatIsNotOne) {
    const std::string answer =
        "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
        "xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:response><d:href>/a/1.vcf</d:href>"
        "<d:propstat><d:prop><d:getetag>\"1\"</d:getetag><c:address-data>BEGIN:VCARD&#13;\n"
        "VERSION:3.0&#13;\nFN:Max &amp; Moritz&#13;\nTEL:+49 30 1234567&#13;\nEND:VCARD&#13;\n"
        "</c:address-data></d:prop></d:propstat></d:response><d:response><d:href>/a/2.vcf"
        "</d:href><d:propstat><d:prop><c:address-data>BEGIN:VCARD\nTEL:1\nEND:VCARD\n"
        "</c:address-data></d:prop></d:propstat></d:response></d:multistatus>";
    const CardDavAnswer read = readCardDavAnswer(answer);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.cardCount, 2U);
    EXPECT_THAT(names(read.read), ElementsAre("Max & Moritz"));
    EXPECT_THAT(read.read.problems, ElementsAre("/a/2.vcf, line 1: card without a name"));

    EXPECT_FALSE(readCardDavAnswer("<html><body>Login</body>").ok);
    EXPECT_FALSE(readCardDavAnswer("BEGIN:VCARD").ok);
    EXPECT_THAT(readCardDavAnswer("<html/>").error, HasSubstr("multistatus"));
}

TEST(ContactIndex, FindsEveryNumberAndTheEarlierSourceWins) {
    ContactIndex index("0049");
    index.setSource(1, "second", {Contact{"Zweite", {"0301234567"}, {}, {}, {}, {}}});
    index.setSource(0, "first",
                    {Contact{"Erste", {"+49 30 1234567", "0171 1"}, {}, {}, {}, "erste.png"},
                     Contact{"Doppelt", {"030 1234567"}, {}, {}, {}, {}}});
    const auto match = index.find("0301234567");
    ASSERT_TRUE(match);
    EXPECT_EQ(match->name, "Erste");
    EXPECT_EQ(match->source, "first");
    EXPECT_EQ(match->picturePath, "erste.png");
    EXPECT_EQ(index.find("00491711")->name, "Erste");
    EXPECT_FALSE(index.find("0301234568"));
    EXPECT_FALSE(index.find("Unbekannt"));
    index.keepSources(0);
    EXPECT_FALSE(index.find("0301234567"));
}
