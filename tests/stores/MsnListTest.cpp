#include "support/StoreFixture.h"

#include "stores/MsnList.h"

#include <gtest/gtest.h>

namespace {

class MSNFile : public StoreFixture<MsnList> {
protected:
    MSNFile() : StoreFixture("msn.dat") {}
    MsnList& list = store;
};

} // namespace

TEST_F(MSNFile, UnlistedMSNAnswersItselfAndStarIsNoWildcard) {
    ASSERT_TRUE(load("*\tAlle\t-1\t-1\r\n"));
    EXPECT_EQ(list.nameOf("12345"), "12345");
    EXPECT_EQ(list.nameOf(""), "");
    EXPECT_FALSE(list.rejects("12345"));
    EXPECT_FALSE(list.rejectsWithheld("12345"));
    EXPECT_EQ(list.nameOf("*"), "Alle");
    EXPECT_TRUE(list.rejects("*"));
}

// Removing takes every entry of an MSN: the settings dialog's test.
TEST_F(MSNFile, LaterOfTwoEqualMSNsAnswers) {
    ASSERT_TRUE(load("111\tFirst\t-1\t0\r\n222\tOther\t0\t0\r\n111\tLast\t0\t-1\r\n"));
    EXPECT_EQ(list.nameOf("111"), "Last");
    EXPECT_FALSE(list.rejects("111"));
    EXPECT_TRUE(list.rejectsWithheld("111"));
}

TEST_F(MSNFile, AddsSortByCharacterCode) {
    ASSERT_TRUE(load(""));
    list.add("1", "Office", true, false);
    list.add("2", "fax", false, true);
    list.add("3", "Home", false, false);
    EXPECT_EQ(file(), "3\tHome\t0\t0\r\n1\tOffice\t-1\t0\r\n2\tfax\t0\t-1\r\n\r\n");
}

TEST_F(MSNFile, ShortLongAndBlankLinesAndUmlauts) {
    ASSERT_TRUE(load("\n1\tB\xFC"
                     "ro\r\n\r\n2\tKeller\tTrue\tFalse\tx\ty\r\n3\r\n"));
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.nameOf("1"), "Büro");
    EXPECT_FALSE(list.rejects("1"));
    EXPECT_TRUE(list.rejects("2"));
    EXPECT_FALSE(list.rejectsWithheld("2"));
    EXPECT_EQ(list.nameOf("3"), "");
    list.remove("nothing");
    EXPECT_EQ(file(), "3\t\t0\t0\r\n1\tB\xFCro\t0\t0\r\n2\tKeller\t-1\t0\tx\ty\r\n\r\n");
}
