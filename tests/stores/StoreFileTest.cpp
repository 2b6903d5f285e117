// What all stores share: files that cannot be read or written, line ends, over-long fields, and
// how the user and the log hear of it.
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include "stores/CallJournal.h"
#include "stores/FileProblems.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "stores/MsnList.h"
#include "stores/Phonebook.h"
#include "stores/StoreWriter.h"
#include "support/Log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ProblemsFixture : public ::testing::Test {
protected:
    ProblemsFixture() {
        problems.trace = [this](const std::string& line) { trace.push_back(line); };
        problems.tellUser = [this](const FileProblems::Message& m) { told.push_back(m.text); };
    }
    int loggedLines() const {
        const std::string content = dir.read("rufwacht.log");
        return static_cast<int>(std::count(content.begin(), content.end(), '\n'));
    }

    TempDir dir;
    Log log{dir.file("rufwacht.log")};
    LanguageTable language;
    FileProblems problems{log, language};
    std::vector<std::string> trace;
    std::vector<std::string> told;
};

// Takes read permission away from a file for the lifetime of the guard. Root reads every file
// whatever its mode, so as root the process acts as "nobody" meanwhile.
class UnreadableFile {
public:
    explicit UnreadableFile(const std::string& path) : m_path(path) {
        ::chmod(std::filesystem::path(path).parent_path().c_str(), 0777);
        ::chmod(path.c_str(), 0);
        if (::geteuid() == 0) {
            m_wasRoot = ::seteuid(65534) == 0;
        }
    }
    ~UnreadableFile() { makeReadable(); }
    void makeReadable() {
        if (m_wasRoot) {
            [[maybe_unused]] const int back = ::seteuid(0);
            m_wasRoot = false;
        }
        ::chmod(m_path.c_str(), 0644);
    }

private:
    std::string m_path;
    bool m_wasRoot = false;
};

} // namespace

TEST_F(ProblemsFixture, AJournalThatCannotBeReadIsNeverOverwrittenAndLaterMerged) {
    const std::string old = "1\tA\tm\td\tt\tr\tc\r\n2\tB\tm\td\tt\tr\tc\r\n";
    const auto path = dir.write("calls.txt", old);
    CallJournal journal;
    journal.reportTo(&problems);
    {
        UnreadableFile unreadable(path);
        EXPECT_FALSE(journal.load(path));
        EXPECT_EQ(journal.size(), 0);
        journal.add("3", "C", "m", "d", "t", "c");
        EXPECT_FALSE(journal.save());
        journal.add("4", "D", "m", "d", "t", "c");
        EXPECT_FALSE(journal.save());
        unreadable.makeReadable();
        EXPECT_EQ(dir.read("calls.txt"), old);
        ASSERT_TRUE(journal.save());
    }
    EXPECT_EQ(dir.read("calls.txt"), old + "3\tC\tm\td\tt\t\tc\r\n4\tD\tm\td\tt\t\tc\r\n");
    EXPECT_EQ(journal.size(), 4);
    // Told once that it could not be read and once that it could not be saved.
    EXPECT_EQ(told.size(), 2u);
    EXPECT_NE(told[0].find(language.text(lang_id::kReadFailed)), std::string::npos);
}

TEST_F(ProblemsFixture, PhonebookEntriesAddedWhileTheFileCannotBeReadJoinItsEntries) {
    const auto path = dir.write("nn.dat", "0301\tAnna\t0\t\t\r\n\r\n");
    Phonebook phonebook;
    phonebook.reportTo(&problems);
    {
        UnreadableFile unreadable(path);
        EXPECT_FALSE(phonebook.load(path));
        phonebook.add("0302", "Bert", false, "", "");
        EXPECT_EQ(phonebook.size(), 1);
        unreadable.makeReadable();
        phonebook.add("0303", "Carl", true, "", "");
    }
    EXPECT_EQ(dir.read("nn.dat"),
              "0301\tAnna\t0\t\t\r\n0302\tBert\t0\t\t\r\n0303\tCarl\t-1\t\t\r\n\r\n");
    EXPECT_EQ(phonebook.size(), 3);
}

TEST_F(ProblemsFixture, BackgroundSavesLandBeforeAReadAndAtTheEndAndTheirFailuresAreTold) {
    const std::string path = dir.write("nn.dat", "\r\n");
    {
        StoreWriter writer;
        Phonebook phonebook;
        MsnList msnList;
        phonebook.reportTo(&problems);
        phonebook.writeThrough(&writer);
        msnList.writeThrough(&writer);
        ASSERT_TRUE(phonebook.load(path));
        ASSERT_TRUE(msnList.load(dir.write("msn.dat", "\r\n")));
        phonebook.add("0301", "Anna", false, "", "");
        ASSERT_TRUE(phonebook.load(path));
        EXPECT_EQ(phonebook.nameOf("0301"), "Anna");
        std::filesystem::remove(path);
        std::filesystem::create_directory(path);
        phonebook.add("0302", "Bert", false, "", "");
        writer.finish();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(path), std::string::npos);
        std::filesystem::remove(path);
        phonebook.add("0303", "Carl", false, "", "");
        // Queued while the phonebook is being written: the end of the writer waits for both.
        msnList.add("11", "Office", false, false);
    }
    EXPECT_EQ(dir.read("msn.dat"), "11\tOffice\t0\t0\r\n\r\n");
    EXPECT_EQ(dir.read("nn.dat"),
              "0301\tAnna\t0\t\t\r\n0302\tBert\t0\t\t\r\n0303\tCarl\t0\t\t\r\n\r\n");
}

TEST_F(ProblemsFixture, AFullDiskIsToldOncePerOutageAndTheNextSaveWritesEverything) {
    SmallDisk disk(256);
    if (!disk.isMounted()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    const std::string path = disk.file("calls.txt");
    CallJournal journal;
    journal.reportTo(&problems);
    journal.load(path);
    disk.fill();
    for (const char* number : {"1", "2", "3"}) {
        journal.add(number, "N", "m", "d", "t", "c");
        EXPECT_FALSE(journal.save());
    }
    EXPECT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("No space left on device"), std::string::npos);
    EXPECT_EQ(trace.size(), 3u);
    disk.freeSpace();
    journal.add("4", "N", "m", "d", "t", "c");
    ASSERT_TRUE(journal.save());
    CallJournal reread;
    reread.load(path);
    EXPECT_EQ(reread.size(), 4);
    disk.fill();
    journal.add("5", std::string(16 * 1024, 'N'), "m", "d", "t", "c");
    EXPECT_FALSE(journal.save());
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(loggedLines(), 2);
}

// The MSN list's folder in its place is the end-to-end start-up test's.
TEST_F(ProblemsFixture, DirectoriesInPlaceOfTheFilesAreReportedAndLeftAlone) {
    for (const char* name : {"calls.txt", "nn.dat"}) {
        std::filesystem::create_directory(dir.file(name));
    }
    CallJournal journal;
    Phonebook phonebook;
    journal.reportTo(&problems);
    phonebook.reportTo(&problems);
    EXPECT_FALSE(journal.load(dir.file("calls.txt")));
    EXPECT_FALSE(phonebook.load(dir.file("nn.dat")));
    EXPECT_EQ(told.size(), 2u);
    journal.add("1", "A", "m", "d", "t", "c");
    EXPECT_FALSE(journal.save());
    phonebook.add("1", "A", false, "", "");
    EXPECT_EQ(phonebook.nameOf("1"), "A");
    for (const char* name : {"calls.txt", "nn.dat"}) {
        EXPECT_TRUE(std::filesystem::is_directory(dir.file(name))) << name;
    }
}

TEST_F(ProblemsFixture, OverlongFieldsAreCutWhenLoadedAndTheFileKeptUntilAChange) {
    const std::string huge(5 * 1024 * 1024, 'x');
    const std::string old = "0301\t" + huge + "\tm\td\tt\tr\tc\r\n";
    CallJournal journal;
    journal.reportTo(&problems);
    ASSERT_TRUE(journal.load(dir.write("calls.txt", old)));
    EXPECT_EQ(journal.recordAt(1).name.size(), kMaxFieldCharacters);
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_NE(trace[0].find("line 1: field 2 cut to 1024 characters"), std::string::npos);
    EXPECT_EQ(told.size(), 1u);
    const int index = journal.add("0302", "B", "m", "d", "t", "c");
    journal.setEndReason(index, "end");
    journal.setEndReason(1, "changed in memory only");
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(dir.read("calls.txt"), old + "0302\tB\tm\td\tt\tend\tc\r\n");
    // Deleting is the user's change: now the file may be rewritten.
    journal.remove(2);
    ASSERT_TRUE(journal.save());
    EXPECT_EQ(dir.read("calls.txt"), "0301\t" + std::string(kMaxFieldCharacters, 'x') +
                                         "\tm\td\tt\tchanged in memory only\tc\r\n");

    Phonebook phonebook;
    phonebook.reportTo(&problems);
    ASSERT_TRUE(phonebook.load(dir.write("nn.dat", "0301\t" + huge + "\t0\t\t\r\n")));
    EXPECT_EQ(phonebook.nameOf("0301").size(), kMaxFieldCharacters);
    EXPECT_EQ(told.size(), 2u);
}
