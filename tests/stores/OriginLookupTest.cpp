#include "support/TempDir.h"

#include "stores/OriginLookup.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kShippedTables = std::string(RUFWACHT_SOURCE_DIR) + "/data/prefix/";

class OriginTables : public ::testing::Test {
protected:
    void SetUp() override {
        // Codes of every length the shipped tables hold: countries of one to three digits,
        // places of one to five.
        dir.write("prefix/int.dat",
                  "1;USA\r\n43;\xD6sterreich\r\n49;Deutschland\r\n352;Luxemburg\r\n");
        dir.write("prefix/0043.dat", "316;Graz\r\n1;Wien\r\n");
        dir.write("prefix/0049.dat", "351;Dresden\r\n212;Solingen\r\n2129;Haan Rheinland\r\n"
                                     "3320;Nauen\r\n33203;Kleinmachnow\r\n");
    }
    bool init(const std::string& prefix = "0049") {
        return lookup.load(prefix, dir.path() + "prefix/");
    }

    TempDir dir;
    OriginLookup lookup;
};

} // namespace

TEST_F(OriginTables, CountryThenPlaceAndTheLongestCodeWins) {
    ASSERT_TRUE(init());
    const std::pair<const char*, const char*> numbers[] = {
        {"0043316555", "Österreich, Graz"},
        {"00439999", "Österreich"},
        {"0351123456", "Dresden"},
        {"0049351123", "Deutschland, Dresden"},
        {"004315551234", "Österreich, Wien"}, // a one-digit area code
        {"021291234", "Haan Rheinland"},      // not Solingen, whose code it starts with
        {"0212123456", "Solingen"},
        {"0332031234", "Kleinmachnow"}, // a five-digit area code, not the four-digit one in it
        {"0049332031234", "Deutschland, Kleinmachnow"},
        {"00352123456", "Luxemburg"}, // a three-digit country code
        {"0012125551234", "USA"},     // a one-digit country code
        // No country, letters, nothing known: no answer.
        {"0033351123", ""}, // 351 would be Dresden
        {"0351abc", ""},
        {"Mama", ""},
        {"", ""},
        {"00", ""},
        {"0999", ""},
        {"1.5e3", ""}};
    for (const auto& [number, origin] : numbers) {
        EXPECT_EQ(lookup.originOf(number), origin) << number;
    }
    ASSERT_TRUE(init("0043"));
    EXPECT_EQ(lookup.originOf("015551234"), "Wien");
    dir.write("prefix/int.dat", "3;Kurz\r\n39;Lang\r\n");
    ASSERT_TRUE(init());
    EXPECT_EQ(lookup.originOf("0039061234"), "Lang");
    EXPECT_EQ(lookup.originOf("003123"), "Kurz");
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
    for (const char* bad :
         {"43;\xD6sterreich\r\nkein Semikolon\r\n", "1000000;zu gross\r\n", "4x;Text\r\n"}) {
        dir.write("prefix/int.dat", bad);
        EXPECT_FALSE(init()) << bad;
    }
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

// The shipped tables read cleanly: one place of each kind.
TEST(ShippedOriginTables, SpotChecksWithGermanPrefix) {
    OriginLookup lookup;
    ASSERT_TRUE(lookup.load("0049", kShippedTables));
    EXPECT_EQ(lookup.originOf("0891234567"), "München");
    EXPECT_EQ(lookup.originOf("0041441234567"), "Schweiz, Zürich");
    EXPECT_EQ(lookup.originOf("0012125551234"), "USA/Kanada");
    EXPECT_EQ(lookup.originOf("01701234567"), ""); // mobile
}
