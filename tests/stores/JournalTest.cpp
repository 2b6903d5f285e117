#include "support/StoreFixture.h"

#include "stores/CallJournal.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class JournalFile : public StoreFixture<CallJournal> {
protected:
    JournalFile() : StoreFixture("calls.txt") {}
    std::vector<std::string> column(std::string JournalRecord::*field) const {
        std::vector<std::string> values;
        for (int i = 1; i <= journal.size(); ++i) {
            values.push_back(journal.recordAt(i).*field);
        }
        return values;
    }
    static std::vector<std::string> fields(const JournalRecord& r) {
        return {r.number, r.name, r.msn, r.date, r.time, r.endReason, r.callType};
    }
    CallJournal& journal = store;
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(JournalFile, OlderLayoutWithoutANameTakesTheNumberAsName) {
    ASSERT_TRUE(load("a\tb\tc\td\te\r\n0301\t9\r\n"));
    ASSERT_EQ(journal.size(), 2);
    EXPECT_EQ(fields(journal.recordAt(1)), (Texts{"a", "a", "b", "c", "d", "e", ""}));
    EXPECT_EQ(fields(journal.recordAt(2)), (Texts{"0301", "0301", "9", "", "", "", ""}));
}

TEST_F(JournalFile, BlankLinesAndBareLineFeedsTakeNoSlot) {
    ASSERT_TRUE(
        load("\r\n1\tA\tm\td\tt\tr\tc\n\n\r\n2\tB\tm\td\tt\tr\tc\r\n\r\n3\tC\tm\td\tt\tr\tc"));
    EXPECT_EQ(column(&JournalRecord::name), (Texts{"A", "B", "C"}));
}

// A deletion rewrites the file: every other record must come back as it was read.
struct RewriteCase {
    const char* name;
    std::string before;
    int deleted;
    std::string after;
};

class JournalRewrite : public JournalFile, public ::testing::WithParamInterface<RewriteCase> {};

TEST_P(JournalRewrite, KeepsEveryOtherRecordAsRead) {
    ASSERT_TRUE(load(GetParam().before));
    journal.remove(GetParam().deleted);
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, JournalRewrite,
    ::testing::Values(
        // Six fields get an empty seventh; fields after the seventh stay.
        RewriteCase{
            "ExtraFields",
            "n\tname\tm\td\tt\tr\r\nx\ty\tm\td\tt\tr\tISDN\textra\t\r\n9\t9\tm\td\tt\tr\tc\r\n", 3,
            "n\tname\tm\td\tt\tr\t\r\nx\ty\tm\td\tt\tr\tISDN\textra\t\r\n"},
        RewriteCase{"EmptyNumber",
                    "1\tA\tm\td\tt\tr\tc\r\n\tghost\tm\td\tt\tr\tc\r\n2\tB\tm\td\tt\tr\tc\r\n", 1,
                    "\tghost\tm\td\tt\tr\tc\r\n2\tB\tm\td\tt\tr\tc\r\n"},
        RewriteCase{"BareCarriageReturns",
                    "1\tA\tm\td\tt\tr\tc\r2\tB\tm\td\tt\tr\tc\r3\tC\tm\td\tt\tr\tc\r", 2,
                    "1\tA\tm\td\tt\tr\tc\r\n3\tC\tm\td\tt\tr\tc\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JournalFile, RecordWithoutNumberIsNotCountedShownOrSaved) {
    ASSERT_TRUE(load(""));
    journal.add("", "anonymous", "m", "d", "t", "c");
    EXPECT_EQ(journal.size(), 0);
    EXPECT_EQ(journal.add("0301", "A", "m", "d", "t", "c"), 1);
    EXPECT_EQ(journal.recordAt(1).name, "A");
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), "0301\tA\tm\td\tt\t\tc\r\n");
}

TEST_F(JournalFile, AddReturnsTheIndexThatSetEndReasonCompletes) {
    ASSERT_TRUE(load("1\tA\tm\td\tt\t\tc\r\n2\tB\tm\td\tt\t\tc\r\n"));
    journal.setEndReason(2, "old end");
    EXPECT_EQ(journal.recordAt(2).endReason, "old end");
    EXPECT_EQ(journal.add("3", "C", "m", "d", "t", "c"), 3);
    EXPECT_EQ(journal.add("4", "D", "m", "d", "t", "c"), 4);
    for (const int index : {0, 3, 4, 99}) {
        journal.setEndReason(index, "ended " + std::to_string(index));
    }
    EXPECT_EQ(column(&JournalRecord::endReason), (Texts{"", "old end", "ended 3", "ended 4"}));
    EXPECT_EQ(journal.recordAt(99).endReason, "");
}

TEST_F(JournalFile, ClearAndDeletingTheLastRecordLeaveOneEmptyLine) {
    ASSERT_TRUE(load("1\tA\tm\td\tt\tr\tc\r\n"));
    journal.clear();
    EXPECT_EQ(journal.size(), 0);
    EXPECT_EQ(file(), "\r\n");
    journal.add("1", "A", "m", "d", "t", "c");
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), "1\tA\tm\td\tt\t\tc\r\n");
    journal.remove(1);
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), "\r\n");
}

TEST_F(JournalFile, MissingFileIsCreatedWithOneEmptyLineAndAnEmptyFileIsAnEmptyJournal) {
    EXPECT_FALSE(journal.load(path()));
    EXPECT_EQ(journal.size(), 0);
    EXPECT_EQ(file(), "\r\n");
    EXPECT_TRUE(journal.reload());
    EXPECT_TRUE(load(""));
    EXPECT_EQ(journal.size(), 0);
    EXPECT_EQ(journal.recordAt(1).name, "");
}

TEST_F(JournalFile, TabsAndLineBreaksInAFieldCannotTearARecordApart) {
    ASSERT_TRUE(load(""));
    journal.add("0301", "A\tB\r\nC", "m", "d", "t", "c");
    ASSERT_TRUE(journal.save());
    ASSERT_TRUE(journal.reload());
    ASSERT_EQ(journal.size(), 1);
    EXPECT_EQ(fields(journal.recordAt(1)), (Texts{"0301", "A B  C", "m", "d", "t", "", "c"}));
}

TEST_F(JournalFile, AnUnchangedJournalIsNeverWritten) {
    const std::string bytes = "1\tA\tm\td\tt\tr\tc\n\n2\tB\tm\td\tt\tr\tc\textra";
    ASSERT_TRUE(load(bytes));
    struct stat before {};
    ::stat(path().c_str(), &before);
    EXPECT_FALSE(journal.hasUnsavedChanges());
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), bytes);
    struct stat after {};
    ::stat(path().c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(JournalFile, ANewCallIsAppendedAndItsEndRewritesOnlyItsLine) {
    // Odd line ends and a last line cut off by a crash stay as they are.
    const std::string old = "1\tA\tm\td\tt\tr\tc\n\n2\tB\tm";
    ASSERT_TRUE(load(old));
    const int index = journal.add("3", "C", "m", "d", "t", "c");
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), old + "\r\n3\tC\tm\td\tt\t\tc\r\n");
    journal.setEndReason(index, "Normal");
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), old + "\r\n3\tC\tm\td\tt\tNormal\tc\r\n");
    // The end of an older call rewrites the lines from there on.
    journal.setEndReason(1, "late");
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), "1\tA\tm\td\tt\tlate\tc\r\n2\t2\tB\tm\t\t\t\r\n3\tC\tm\td\tt\tNormal\tc\r\n");
    EXPECT_FALSE(journal.hasUnsavedChanges());
}

// A thousand calls open at once: ending the oldest rewrites the lines from it on, in place, and
// leaves the records before it alone; only a call further back than a megabyte replaces the
// whole file.
TEST_F(JournalFile, TheEndOfAnOldCallRewritesOnlyTheLinesFromItOn) {
    std::string head;
    for (int i = 0; i < 50000; ++i) {
        head += std::to_string(i) + "\tOld\tm\td\tt\tr\tc\r\n";
    }
    ASSERT_TRUE(load(head));
    for (int i = 0; i < 1000; ++i) {
        journal.add("0" + std::to_string(i), "N", "m", "d", "t", "c");
    }
    ASSERT_TRUE(journal.save());
    struct stat before {};
    ::stat(path().c_str(), &before);
    journal.setEndReason(50001, "late");
    ASSERT_TRUE(journal.save());
    struct stat after {};
    ::stat(path().c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_TRUE(file().starts_with(head + "00\tN\tm\td\tt\tlate\tc\r\n01\tN"));
    journal.setEndReason(1, "far back");
    ASSERT_TRUE(journal.save());
    ASSERT_TRUE(journal.reload());
    ASSERT_EQ(journal.size(), 51000);
    EXPECT_EQ(journal.recordAt(1).endReason, "far back");
    EXPECT_EQ(journal.recordAt(50001).endReason, "late");
    EXPECT_EQ(journal.recordAt(51000).number, "0999");
}

TEST_F(JournalFile, AFileChangedBehindItsBackIsWrittenWholeFromMemory) {
    ASSERT_TRUE(load("1\tA\tm\td\tt\tr\tc\r\n"));
    dir.write("calls.txt", "1\tA\tm\td\tt\tr\tc\r\n1\tA\tm\td\tt\tr\tc\r\n");
    journal.add("2", "B", "m", "d", "t", "c");
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(file(), "1\tA\tm\td\tt\tr\tc\r\n2\tB\tm\td\tt\t\tc\r\n");
}
