#include "support/TempDir.h"

#include "stores/OriginQuery.h"
#include "stores/Settings.h"
#include "stores/cVorwahlen.h"
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
        return lookup.Init(prefix, dir.path() + "prefix/");
    }

    TempDir dir;
    cVorwahlen lookup;
};

} // namespace

TEST_F(OriginTables, CountryThenPlace) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.getHerkunft("0043316555"), "Österreich, Graz");
    EXPECT_EQ(lookup.getHerkunft("00439999"), "Österreich");
    EXPECT_EQ(lookup.getHerkunft("0351123456"), "Dresden");
    EXPECT_EQ(lookup.getHerkunft("0049351123"), "Deutschland, Dresden");
}

TEST_F(OriginTables, OneDigitAreaCodeIsFound) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.getHerkunft("004315551234"), "Österreich, Wien");
    ASSERT_TRUE(init("0043"));
    EXPECT_EQ(lookup.getHerkunft("015551234"), "Wien");
}

TEST_F(OriginTables, LongestCodeWinsOverTheShorterOneItLiesIn) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.getHerkunft("021291234"), "Haan Rheinland");
    EXPECT_EQ(lookup.getHerkunft("0212123456"), "Solingen");
    dir.write("prefix/int.dat", "3;Kurz\r\n39;Lang\r\n");
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.getHerkunft("0039061234"), "Lang");
    EXPECT_EQ(lookup.getHerkunft("003123"), "Kurz");
}

TEST_F(OriginTables, NoCountryNoLettersNoAnswer) {
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.getHerkunft("0033351123"), ""); // 351 would be Dresden
    EXPECT_EQ(lookup.getHerkunft("0351abc"), "");
    EXPECT_EQ(lookup.getHerkunft("Mama"), "");
    EXPECT_EQ(lookup.getHerkunft(""), "");
    EXPECT_EQ(lookup.getHerkunft("00"), "");
    EXPECT_EQ(lookup.getHerkunft("0999"), "");
    EXPECT_EQ(lookup.getHerkunft("1.5e3"), "");
}

TEST_F(OriginTables, MissingForeignOrOwnTableGivesNoPlace) {
    dir.write("prefix/int.dat", "41;Schweiz\r\n");
    ASSERT_TRUE(init("0099"));
    EXPECT_EQ(lookup.getHerkunft("0041441234567"), "Schweiz");
    EXPECT_EQ(lookup.getHerkunft("0351123456"), "");
}

TEST_F(OriginTables, ForeignTableIsReadForEveryLookup) {
    ASSERT_TRUE(init());
    dir.write("prefix/0043.dat", "316;Graz-Stadt\r\n");
    EXPECT_EQ(lookup.getHerkunft("0043316555"), "Österreich, Graz-Stadt");
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
    EXPECT_EQ(lookup.getHerkunft("0043316"), "Österreich, Graz");
    EXPECT_EQ(lookup.getHerkunft("0049891234"), "Deutschland;Bund, München");
    EXPECT_EQ(lookup.getHerkunft("0351123456"), "Elbflorenz");
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
    lookup.getHerkunft("0043316555");
    lookup.getHerkunft("0351123456");
    dir.write("prefix/int.dat", bytes);
    EXPECT_FALSE(init());
    EXPECT_EQ(lookup.getHerkunft("0351123456"), "");
}

TEST(ShippedOriginTables, SpotChecksWithGermanPrefix) {
    cVorwahlen lookup;
    ASSERT_TRUE(lookup.Init("0049", kShippedTables));
    EXPECT_EQ(lookup.getHerkunft("0301234567"), "Berlin");
    EXPECT_EQ(lookup.getHerkunft("021291234"), "Haan Rheinland");
    EXPECT_EQ(lookup.getHerkunft("0212123456"), "Solingen");
    EXPECT_EQ(lookup.getHerkunft("0351123456"), "Dresden");
    EXPECT_EQ(lookup.getHerkunft("0891234567"), "München");
    EXPECT_EQ(lookup.getHerkunft("0043316555"), "Österreich, Graz");
    EXPECT_EQ(lookup.getHerkunft("004315551234"), "Österreich, Wien");
    EXPECT_EQ(lookup.getHerkunft("0041441234567"), "Schweiz, Zürich");
    EXPECT_TRUE(lookup.getHerkunft("00390612345").starts_with("Italien"));
    EXPECT_EQ(lookup.getHerkunft("0044207946000"), "Vereinigtes Königreich, London");
    EXPECT_EQ(lookup.getHerkunft("00468123456"), "Schweden, Stockholm");
    EXPECT_EQ(lookup.getHerkunft("0012125551234"), "USA/Kanada");
    EXPECT_EQ(lookup.getHerkunft("01701234567"), ""); // mobile
    EXPECT_EQ(lookup.getHerkunft("0301234abc"), "");
}

TEST(OriginQuery, PrintsTheOriginAndTellsFoundFromNotFound) {
    const std::string savedAppPath = AppPath;
    const std::string savedPrefix = settings().Prefix;
    AppPath = std::string(RUFWACHT_SOURCE_DIR) + "/data/";
    settings().Prefix = "0049";

    std::ostringstream found;
    EXPECT_EQ(runOriginQuery("0043316555", found), 0);
    EXPECT_EQ(found.str(), "Österreich, Graz\n");
    std::ostringstream unknown;
    EXPECT_EQ(runOriginQuery("0171123", unknown), 1);
    EXPECT_EQ(unknown.str(), "");
    AppPath = "/nonexistent/";
    std::ostringstream noTables;
    EXPECT_EQ(runOriginQuery("0043316555", noTables), 1);
    EXPECT_EQ(noTables.str(), "");

    AppPath = savedAppPath;
    settings().Prefix = savedPrefix;
}
