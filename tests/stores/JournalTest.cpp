#include "support/TempDir.h"

#include "stores/cJournal.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class JournalFile : public ::testing::Test {
protected:
    bool load(const std::string& bytes) {
        dir.write("calls.txt", bytes);
        return journal.Init(dir.file("calls.txt"));
    }
    std::string file() const { return dir.read("calls.txt"); }

    TempDir dir;
    cJournal journal;
};

} // namespace

TEST_F(JournalFile, OlderLayoutWithoutANameTakesTheNumberAsName) {
    ASSERT_TRUE(load("a\tb\tc\td\te\r\n0301\t9\r\n"));
    ASSERT_EQ(journal.getSize(), 2);
    EXPECT_EQ(journal.getNumber(1), "a");
    EXPECT_EQ(journal.getName(1), "a");
    EXPECT_EQ(journal.getMSN(1), "b");
    EXPECT_EQ(journal.getDate(1), "c");
    EXPECT_EQ(journal.getTime(1), "d");
    EXPECT_EQ(journal.getEndReason(1), "e");
    EXPECT_EQ(journal.getCallType(1), "");
    EXPECT_EQ(journal.getName(2), "0301");
    EXPECT_EQ(journal.getMSN(2), "9");
    EXPECT_EQ(journal.getEndReason(2), "");
}

TEST_F(JournalFile, SixFieldsGiveAnEmptyCallTypeAndSaveWithSevenFields) {
    ASSERT_TRUE(load("n\tname\tm\td\tt\tr\r\nx\ty\tm\td\tt\tr\tISDN\textra\tmore\r\n"));
    EXPECT_EQ(journal.getName(1), "name");
    EXPECT_EQ(journal.getCallType(1), "");
    EXPECT_EQ(journal.getCallType(2), "ISDN");
    ASSERT_TRUE(journal.saveJournal());
    EXPECT_EQ(file(), "n\tname\tm\td\tt\tr\t\r\nx\ty\tm\td\tt\tr\tISDN\r\n");
}

TEST_F(JournalFile, BlankLinesAndBareLineFeedsTakeNoSlot) {
    ASSERT_TRUE(
        load("\r\n1\tA\tm\td\tt\tr\tc\n\n\r\n2\tB\tm\td\tt\tr\tc\r\n\r\n3\tC\tm\td\tt\tr\tc"));
    ASSERT_EQ(journal.getSize(), 3);
    EXPECT_EQ(journal.getName(1), "A");
    EXPECT_EQ(journal.getName(2), "B");
    EXPECT_EQ(journal.getName(3), "C");
}

TEST_F(JournalFile, LineWithoutANumberIsDroppedWithoutHidingLaterRecords) {
    ASSERT_TRUE(load("1\tA\tm\td\tt\tr\tc\r\n\tghost\tm\td\tt\tr\tc\r\n2\tB\tm\td\tt\tr\tc\r\n"));
    ASSERT_EQ(journal.getSize(), 2);
    EXPECT_EQ(journal.getName(2), "B");
}

TEST_F(JournalFile, UmlautsSurviveASaveAndLoadRoundTrip) {
    ASSERT_TRUE(load("0431\tJ\xFCrgen M\xFC\xDF"
                     "ig\t12\t01.02.2024\t10:00\tbesetzt\t\xD6"
                     "ffentlich\r\n"));
    EXPECT_EQ(journal.getName(1), "Jürgen Müßig");
    EXPECT_EQ(journal.getCallType(1), "Öffentlich");
    journal.add("0800", "Öl & Gas", "12", "02.02.2024", "11:00", "Sprache");
    journal.addReason("Normales Auslösen");
    ASSERT_TRUE(journal.saveJournal());
    EXPECT_EQ(file(), "0431\tJ\xFCrgen M\xFC\xDF"
                      "ig\t12\t01.02.2024\t10:00\tbesetzt\t\xD6"
                      "ffentlich\r\n0800\t\xD6l & Gas\t12\t02.02.2024\t11:00\tNormales "
                      "Ausl\xF6sen\tSprache\r\n");
    cJournal again;
    ASSERT_TRUE(again.Init(dir.file("calls.txt")));
    ASSERT_EQ(again.getSize(), 2);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(again.getNumber(i), journal.getNumber(i));
        EXPECT_EQ(again.getName(i), journal.getName(i));
        EXPECT_EQ(again.getEndReason(i), journal.getEndReason(i));
        EXPECT_EQ(again.getCallType(i), journal.getCallType(i));
    }
}

TEST_F(JournalFile, DeleteLeavesAGapThatSaveAndLoadClose) {
    ASSERT_TRUE(load(""));
    for (const char* n : {"1", "2", "3", "4", "5"}) {
        journal.add(n, n, "m", "d", "t", "c");
    }
    journal.del(2);
    EXPECT_EQ(journal.getSize(), 4);
    EXPECT_EQ(journal.getNumber(2), "");
    ASSERT_TRUE(journal.saveJournal());
    ASSERT_TRUE(journal.loadJournal());
    ASSERT_EQ(journal.getSize(), 4);
    EXPECT_EQ(journal.getNumber(1), "1");
    EXPECT_EQ(journal.getNumber(2), "3");
    EXPECT_EQ(journal.getNumber(3), "4");
    EXPECT_EQ(journal.getNumber(4), "5");
}

TEST_F(JournalFile, RecordWithoutNumberIsNotCountedShownOrSaved) {
    ASSERT_TRUE(load(""));
    journal.add("", "anonymous", "m", "d", "t", "c");
    EXPECT_EQ(journal.getSize(), 0);
    EXPECT_EQ(journal.add("0301", "A", "m", "d", "t", "c"), 1);
    EXPECT_EQ(journal.getName(1), "A");
    ASSERT_TRUE(journal.saveJournal());
    EXPECT_EQ(file(), "0301\tA\tm\td\tt\t\tc\r\n");
}

TEST_F(JournalFile, AddReturnsTheIndexThatAddReasonCompletes) {
    ASSERT_TRUE(load("1\tA\tm\td\tt\t\tc\r\n2\tB\tm\td\tt\t\tc\r\n"));
    journal.addReason("old end");
    EXPECT_EQ(journal.getEndReason(2), "old end");
    const int first = journal.add("3", "C", "m", "d", "t", "c");
    const int second = journal.add("4", "D", "m", "d", "t", "c");
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 4);
    journal.addReason(first, "first ended");
    journal.addReason("newest ended");
    EXPECT_EQ(journal.getEndReason(3), "first ended");
    EXPECT_EQ(journal.getEndReason(4), "newest ended");
    journal.addReason(0, "ignored");
    journal.addReason(99, "ignored");
    EXPECT_EQ(journal.getEndReason(99), "");
}

TEST_F(JournalFile, ClearLeavesOneEmptyLine) {
    ASSERT_TRUE(load("1\tA\tm\td\tt\tr\tc\r\n"));
    journal.ClearJournal();
    EXPECT_EQ(journal.getSize(), 0);
    EXPECT_EQ(file(), "\r\n");
}

TEST_F(JournalFile, MissingFileIsCreatedWithOneEmptyLine) {
    EXPECT_FALSE(journal.Init(dir.file("calls.txt")));
    EXPECT_EQ(journal.getSize(), 0);
    EXPECT_EQ(file(), "\r\n");
    EXPECT_TRUE(journal.loadJournal());
}

TEST_F(JournalFile, EmptyFileIsAnEmptyJournal) {
    EXPECT_TRUE(load(""));
    EXPECT_EQ(journal.getSize(), 0);
    EXPECT_EQ(journal.getName(1), "");
}

TEST_F(JournalFile, HoldsMoreThanFourThousandNinetySixRecords) {
    std::string bytes;
    for (int i = 1; i <= 5000; ++i) {
        bytes += std::to_string(i) + "\tN\tm\td\tt\tr\tc\r\n";
    }
    ASSERT_TRUE(load(bytes));
    ASSERT_EQ(journal.getSize(), 5000);
    EXPECT_EQ(journal.add("5001", "N", "m", "d", "t", "c"), 5001);
    ASSERT_TRUE(journal.saveJournal());
    ASSERT_TRUE(journal.loadJournal());
    EXPECT_EQ(journal.getSize(), 5001);
    EXPECT_EQ(journal.getNumber(4097), "4097");
    EXPECT_EQ(journal.getNumber(5001), "5001");
}

TEST_F(JournalFile, TabsAndLineBreaksInAFieldCannotTearARecordApart) {
    ASSERT_TRUE(load(""));
    journal.add("0301", "A\tB\r\nC", "m", "d", "t", "c");
    ASSERT_TRUE(journal.saveJournal());
    ASSERT_TRUE(journal.loadJournal());
    ASSERT_EQ(journal.getSize(), 1);
    EXPECT_EQ(journal.getName(1), "A B  C");
    EXPECT_EQ(journal.getMSN(1), "m");
}

TEST_F(JournalFile, RandomBytesLoadAndSurviveASave) {
    std::mt19937 random(4711);
    std::string bytes(20000, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(random() % 256);
    }
    ASSERT_TRUE(load(bytes));
    const int size = journal.getSize();
    ASSERT_TRUE(journal.saveJournal());
    ASSERT_TRUE(journal.loadJournal());
    EXPECT_EQ(journal.getSize(), size);
}
