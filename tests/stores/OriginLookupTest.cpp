#include "support/TempDir.h"

#include "stores/OriginLookup.h"
#include "stores/OriginQuery.h"
#include "stores/Settings.h"
#include "support/AppPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

namespace {

const std::string kShippedTables = std::string(RUFWACHT_SOURCE_DIR) + "/data/prefix/";

class OriginTables : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("prefix/int.dat", "43;\xD6sterreich\r\n49;Deutschland\r\n");
        dir.write("prefix/0043.dat", "316;Graz\r\n1;Wien\r\n");
        dir.write("prefix/0049.dat", "351;Dresden\r\n212;Solingen\r\n2129;Haan Rheinland\r\n");
    }
    bool init(const std::string& prefix = "0049") {
        return lookup.load(prefix, dir.path() + "prefix/");
    }

    TempDir dir;
    OriginLookup lookup;
};

} // namespace

TEST_F(OriginTables, CountryThenPlace) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.originOf("0043316555"), "Österreich, Graz");
    EXPECT_EQ(lookup.originOf("00439999"), "Österreich");
    EXPECT_EQ(lookup.originOf("0351123456"), "Dresden");
    EXPECT_EQ(lookup.originOf("0049351123"), "Deutschland, Dresden");
}

TEST_F(OriginTables, OneDigitAreaCodeIsFound) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.originOf("004315551234"), "Österreich, Wien");
    ASSERT_TRUE(init("0043"));
    EXPECT_EQ(lookup.originOf("015551234"), "Wien");
}

TEST_F(OriginTables, LongestCodeWinsOverTheShorterOneItLiesIn) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.originOf("021291234"), "Haan Rheinland");
    EXPECT_EQ(lookup.originOf("0212123456"), "Solingen");
    dir.write("prefix/int.dat", "3;Kurz\r\n39;Lang\r\n");
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.originOf("0039061234"), "Lang");
    EXPECT_EQ(lookup.originOf("003123"), "Kurz");
}

TEST_F(OriginTables, NoCountryNoLettersNoAnswer) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.originOf("0033351123"), ""); // 351 would be Dresden
    EXPECT_EQ(lookup.originOf("0351abc"), "");
    EXPECT_EQ(lookup.originOf("Mama"), "");
    EXPECT_EQ(lookup.originOf(""), "");
    EXPECT_EQ(lookup.originOf("00"), "");
    EXPECT_EQ(lookup.originOf("0999"), "");
    EXPECT_EQ(lookup.originOf("1.5e3"), "");
}

TEST_F(OriginTables, MissingForeignOrOwnTableGivesNoPlace) {
    dir.write("prefix/int.dat", "41;Schweiz\r\n");
    ASSERT_TRUE(init("0099"));
    EXPECT_EQ(lookup.originOf("0041441234567"), "Schweiz");
    EXPECT_EQ(lookup.originOf("0351123456"), "");
}

TEST_F(OriginTables, ForeignTableIsReadForEveryLookup) {
    ASSERT_TRUE(init());
    dir.write("prefix/0043.dat", "316;Graz-Stadt\r\n");
    EXPECT_EQ(lookup.originOf("0043316555"), "Österreich, Graz-Stadt");
}

TEST_F(OriginTables, BadInternationalTableFailsInit) {
    dir.write("prefix/int.dat", "43;\xD6sterreich\r\nkein Semikolon\r\n");
    EXPECT_FALSE(init());
    dir.write("prefix/int.dat", "1000000;zu gross\r\n");
    EXPECT_FALSE(init());
    dir.write("prefix/int.dat", "4x;Text\r\n");
    EXPECT_FALSE(init());
    std::filesystem::remove(dir.file("prefix/int.dat"));
    EXPECT_FALSE(init());
}

TEST_F(OriginTables, LineRulesOfThePrefixFiles) {
    dir.write("prefix/int.dat", "\r\n 0043 ;\xD6sterreich\n\n49;Deutschland;Bund\r\n");
    dir.write("prefix/0049.dat", "351;Dresden\r\nMist\r\n0351;Elbflorenz\r\n89;M\xFCnchen\r\n");
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.originOf("0043316"), "Österreich, Graz");
    EXPECT_EQ(lookup.originOf("0049891234"), "Deutschland;Bund, München");
    EXPECT_EQ(lookup.originOf("0351123456"), "Elbflorenz");
}

TEST_F(OriginTables, RandomBytesNeverCrash) {
    std::mt19937 random(42);
    std::string bytes(50000, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(random() % 256);
    }
    dir.write("prefix/0049.dat", bytes);
    dir.write("prefix/0043.dat", bytes);
    ASSERT_TRUE(init());
    lookup.originOf("0043316555");
    lookup.originOf("0351123456");
    dir.write("prefix/int.dat", bytes);
    EXPECT_FALSE(init());
    EXPECT_EQ(lookup.originOf("0351123456"), "");
}

TEST(ShippedOriginTables, SpotChecksWithGermanPrefix) {
    OriginLookup lookup;
    ASSERT_TRUE(lookup.load("0049", kShippedTables));
    EXPECT_EQ(lookup.originOf("0301234567"), "Berlin");
    EXPECT_EQ(lookup.originOf("021291234"), "Haan Rheinland");
    EXPECT_EQ(lookup.originOf("0212123456"), "Solingen");
    EXPECT_EQ(lookup.originOf("0351123456"), "Dresden");
    EXPECT_EQ(lookup.originOf("0891234567"), "München");
    EXPECT_EQ(lookup.originOf("0043316555"), "Österreich, Graz");
    EXPECT_EQ(lookup.originOf("004315551234"), "Österreich, Wien");
    EXPECT_EQ(lookup.originOf("0041441234567"), "Schweiz, Zürich");
    EXPECT_TRUE(lookup.originOf("00390612345").starts_with("Italien"));
    EXPECT_EQ(lookup.originOf("0044207946000"), "Vereinigtes Königreich, London");
    EXPECT_EQ(lookup.originOf("00468123456"), "Schweden, Stockholm");
    EXPECT_EQ(lookup.originOf("0012125551234"), "USA/Kanada");
    EXPECT_EQ(lookup.originOf("01701234567"), ""); // mobile
    EXPECT_EQ(lookup.originOf("0301234abc"), "");
}

TEST(OriginQuery, PrintsTheOriginAndTellsFoundFromNotFoundFromNoTables) {
    const std::string tables = std::string(RUFWACHT_SOURCE_DIR) + "/data/prefix/";
    std::ostringstream found;
    EXPECT_EQ(runOriginQuery("0043316555", "0049", tables, found), 0);
    EXPECT_EQ(found.str(), "Österreich, Graz\n");
    std::ostringstream unknown;
    EXPECT_EQ(runOriginQuery("0171123", "0049", tables, unknown), 1);
    EXPECT_EQ(unknown.str(), "");
    std::ostringstream noTables;
    EXPECT_EQ(runOriginQuery("0043316555", "0049", "/nonexistent/", noTables), 2);
    EXPECT_EQ(noTables.str(), "");
}
