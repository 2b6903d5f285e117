#include "support/TempDir.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"

#include <gtest/gtest.h>

#include "support/TextFile.h"

#include <algorithm>
#include <set>

namespace {

class LanguageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("lang/english.lng", "5=five\r\n12=twelve\r\n1060=abc<LF>def\r\n");
        dir.write("lang/Deutsch.lng", "12=a=b\r\n1300=x\r\nabc\r\n\r\n-1=neg\r\n1060=\xFC<LF>\r\n");
        language.scan(dir.path() + "lang");
    }
    TempDir dir;
    LanguageTable language;
};

} // namespace

TEST_F(LanguageFiles, ListsEveryFileInThirtyThreePlaces) {
    const auto names = language.languages();
    ASSERT_EQ(names.size(), 33u);
    EXPECT_NE(std::find(names.begin(), names.end(), "english"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Deutsch"), names.end());
    EXPECT_EQ(std::count(names.begin(), names.end(), ""), 31);
    for (int i = 0; i < 40; ++i) {
        dir.write("lang/l" + std::to_string(i) + ".lng", "1=x\r\n");
    }
    language.scan(dir.path() + "lang");
    ASSERT_EQ(language.languages().size(), 33u);
    EXPECT_EQ(std::ranges::count(language.languages(), ""), 0);
}

TEST_F(LanguageFiles, TextRulesAndEnglishBase) {
    ASSERT_TRUE(language.select("deutsch"));
    EXPECT_EQ(language.text(12), "a");
    EXPECT_EQ(language.text(5), "five");
    EXPECT_EQ(language.text(1060), "ü\r\n");
    EXPECT_EQ(language.text(1300), "");
    EXPECT_EQ(language.text(-1), "");
    ASSERT_TRUE(language.select("english"));
    EXPECT_EQ(language.text(1060), "abc\r\ndef");
}

TEST_F(LanguageFiles, UnknownOrEmptyNameLoadsEnglishAndFails) {
    EXPECT_FALSE(language.select(""));
    EXPECT_EQ(language.text(12), "twelve");
    EXPECT_FALSE(language.select("klingonisch"));
    EXPECT_EQ(language.text(5), "five");
}

TEST(Language, MissingOrTruncatedFilesFallBackToTheBuiltInEnglishTexts) {
    TempDir dir;
    // An empty text would leave a caption blank: it counts as missing.
    dir.write("lang/deutsch.lng", "1018=Beenden\r\n1036=\r\n1041=Unbek");
    LanguageTable language;
    const std::string builtInWithheld = language.text(lang_id::kCallerWithheld);
    EXPECT_FALSE(builtInWithheld.empty());
    language.scan(dir.path() + "lang");
    EXPECT_FALSE(language.select("deutsch")); // english.lng is missing
    EXPECT_EQ(language.text(lang_id::kExitTitle), "Beenden");
    EXPECT_EQ(language.text(lang_id::kUnknown), "Unbek");
    EXPECT_EQ(language.text(lang_id::kCallerWithheld), builtInWithheld);
    EXPECT_EQ(language.text(lang_id::kEndAnsweredElsewhere), "Answered elsewhere");
    const auto missing = language.missingTexts();
    EXPECT_EQ(missing.size(), std::size(lang_id::kAll) - 2);
    EXPECT_EQ(std::count(missing.begin(), missing.end(), lang_id::kExitTitle), 0);
    // A later choice starts afresh: nothing of the earlier language stays.
    dir.write("lang/english.lng", "1041=Unknown\r\n");
    language.scan(dir.path() + "lang");
    EXPECT_TRUE(language.select("english"));
    EXPECT_EQ(language.text(lang_id::kExitTitle), LanguageTable().text(lang_id::kExitTitle));
}

// The shipped files must each define every text the program shows: a text missing from the
// German file would otherwise quietly show in English.
class ShippedLanguage : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedLanguage, DefinesEveryNumberTheProgramUses) {
    const auto lines =
        readTextLines(std::string(RUFWACHT_SOURCE_DIR) + "/data/lang/" + GetParam() + ".lng");
    ASSERT_TRUE(lines.has_value());
    std::set<int> defined;
    for (const auto& line : *lines) {
        int number = 0;
        std::string text;
        if (parseLanguageLine(line, number, text) && !text.empty()) {
            defined.insert(number);
        }
    }
    for (const auto id : lang_id::kAll) {
        EXPECT_TRUE(defined.count(id)) << GetParam() << " lacks " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, ::testing::Values("english", "deutsch"));
