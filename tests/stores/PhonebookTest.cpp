#include "support/StoreFixture.h"

#include "stores/Phonebook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <tuple>

namespace {

class PhonebookFile : public StoreFixture<Phonebook> {
protected:
    PhonebookFile() : StoreFixture("nn.dat") {}
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (int i = 1; i <= phonebook.size(); ++i) {
            result.push_back(phonebook.entryAt(i).name);
        }
        return result;
    }
    Phonebook& phonebook = store;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(PhonebookFile, AddOfAnExistingNumberDuplicatesAndRemoveTakesTheFirst) {
    ASSERT_TRUE(load(""));
    phonebook.add("0301", "Berta", false, "", "");
    phonebook.add("0301", "Anton", false, "", "");
    ASSERT_EQ(phonebook.size(), 2);
    phonebook.remove("0301");
    ASSERT_EQ(phonebook.size(), 1);
    EXPECT_EQ(phonebook.entryAt(1).name, "Berta");
    phonebook.remove("0999");
    EXPECT_EQ(phonebook.size(), 1);
    EXPECT_EQ(file(), "0301\tBerta\t0\t\t\r\n\r\n");
}

TEST_F(PhonebookFile, ChangeIndexOverwritesAllFields) {
    ASSERT_TRUE(load("1\tA\t0\t\t\r\n2\tB\t0\t\t\r\n"));
    phonebook.replaceAt(1, "9", "Z", true, "z.wav", "z.png");
    EXPECT_EQ(names(), (Names{"B", "Z"}));
    EXPECT_EQ(phonebook.entryAt(2).number, "9");
    EXPECT_TRUE(phonebook.entryAt(2).reject);
    EXPECT_EQ(phonebook.entryAt(2).sound, "z.wav");
    EXPECT_EQ(phonebook.entryAt(2).picture, "z.png");
    phonebook.replaceAt(7, "x", "x", false, "", "");
    EXPECT_EQ(phonebook.size(), 2);
}

TEST_F(PhonebookFile, ReadsBooleansBlankLinesAndShortOrLongLines) {
    ASSERT_TRUE(load("\r\n1\tA\tTrue\r\n\n2\tB\t5\ts\tp\textra\r\n\r\n3\tC\tfalse\r\n4\tD\tja\r\n"
                     "5\r\n\tno number\t-1\r\n"));
    ASSERT_EQ(phonebook.size(), 5);
    EXPECT_TRUE(phonebook.entryAt(1).reject);
    EXPECT_EQ(phonebook.entryAt(1).sound, "");
    EXPECT_TRUE(phonebook.entryAt(2).reject);
    EXPECT_EQ(phonebook.entryAt(2).picture, "p");
    EXPECT_FALSE(phonebook.entryAt(3).reject);
    EXPECT_FALSE(phonebook.entryAt(4).reject);
    EXPECT_EQ(phonebook.entryAt(5).number, "5");
    EXPECT_EQ(phonebook.entryAt(5).name, "");
}

TEST_F(PhonebookFile, HoldsMoreThanFourThousandEntries) {
    std::string bytes;
    for (int i = 0; i < 4500; ++i) {
        bytes += std::to_string(100000 + i) + "\tN" + std::to_string(100000 + i) + "\t0\t\t\r\n";
    }
    ASSERT_TRUE(load(bytes));
    ASSERT_EQ(phonebook.size(), 4500);
    EXPECT_EQ(phonebook.nameOf("104499"), "N104499");
    phonebook.add("200000", "Z", false, "", "");
    EXPECT_EQ(phonebook.size(), 4501);
    Phonebook again;
    ASSERT_TRUE(again.load(path()));
    EXPECT_EQ(again.size(), 4501);
    EXPECT_EQ(again.entryAt(4501).name, "Z");
}

TEST_F(PhonebookFile, RandomBytesLoadAndSurviveAChange) {
    ASSERT_TRUE(load(randomBytes(815, 20000)));
    const int size = phonebook.size();
    phonebook.add("0301", "A", false, "", "");
    EXPECT_EQ(phonebook.size(), size + 1);
}

TEST(PhonebookUnwritable, ChangeStaysInMemoryWhenTheFileCannotBeWritten) {
    TempDir dir;
    Phonebook phonebook;
    EXPECT_FALSE(phonebook.load(dir.file("missing-folder/nn.dat")));
    phonebook.add("2", "B", false, "", "");
    phonebook.add("1", "A", true, "", "");
    ASSERT_EQ(phonebook.size(), 2);
    EXPECT_EQ(phonebook.entryAt(1).name, "A");
    EXPECT_TRUE(phonebook.rejects("1"));
}

namespace {

// A question to the phonebook and what the table order says it answers.
struct Lookup {
    const char* number;
    const char* name;    // nameOf
    bool reject;         // rejects
    const char* sound;   // soundOf: the last exact entry
    const char* picture; // pictureOf: the first exact entry
};

void PrintTo(const Lookup& lookup, std::ostream* out) {
    *out << '"' << lookup.number << '"';
}

class PhonebookIndex : public PhonebookFile, public ::testing::WithParamInterface<Lookup> {};

// In file order (a file written elsewhere): the first matching line decides, whatever its kind.
const char* const kLookupTable = "0351*\tDresden\t-1\t\t\r\n"
                                 "0351123\tMax\t0\tmax.wav\tmax.png\r\n"
                                 "03*\tOst\t0\t\t\r\n"
                                 "0301\tAnna\t0\ta1.wav\ta1.png\r\n"
                                 "0301\tBerta\t-1\ta2.wav\ta2.png\r\n"
                                 "0301*\tBerlin Mitte\t-1\t\t\r\n"
                                 "*\tJeder\t-1\tall.wav\t\r\n";

} // namespace

TEST_P(PhonebookIndex, AnswersAsTheFirstMatchingEntryInTableOrder) {
    ASSERT_TRUE(load(kLookupTable));
    const Lookup& q = GetParam();
    EXPECT_EQ(phonebook.nameOf(q.number), q.name);
    EXPECT_EQ(phonebook.rejects(q.number), q.reject);
    EXPECT_EQ(phonebook.soundOf(q.number), q.sound);
    EXPECT_EQ(phonebook.pictureOf(q.number), q.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PhonebookIndex,
    ::testing::Values(Lookup{"0351123", "Dresden", true, "max.wav", "max.png"},
                      Lookup{"0351", "Dresden", true, "", ""}, Lookup{"035", "Ost", false, "", ""},
                      Lookup{"0301", "Ost", false, "a2.wav", "a1.png"},
                      Lookup{"03011", "Ost", false, "", ""}, Lookup{"0401", "Jeder", true, "", ""},
                      Lookup{"", "Jeder", true, "", ""}, Lookup{"*", "Jeder", true, "all.wav", ""},
                      Lookup{"0351*", "Dresden", true, "", ""}));

// The order a change leaves, as the stored list has it: the table sorted by descending name
// (equal names keeping their order) and written from its end, then read back.
TEST_F(PhonebookFile, EveryChangeLeavesTheOrderThatWritingAndReadingBackGives) {
    ASSERT_TRUE(load("9\tB\t0\t\t\r\n1\tA\t0\t\t\r\n2\tB\t-1\t\t\r\n"));
    using Entry = std::pair<std::string, std::string>; // number, name
    std::vector<Entry> expected = {{"9", "B"}, {"1", "A"}, {"2", "B"}};
    std::mt19937 random(4711);
    const char* const names[] = {"A", "B", "b", "", "\xC3\x84", "C\tD"};
    for (int step = 0; step < 150; ++step) {
        const std::string number = std::to_string(random() % 12) + (random() % 4 == 0 ? "*" : "");
        std::string name = names[random() % std::size(names)];
        switch (random() % 3) {
        case 0:
            phonebook.add(number, name, random() % 2 == 0, "", "");
            expected.emplace_back(number, name);
            break;
        case 1: {
            const auto index = random() % (expected.size() + 1);
            const std::string newNumber = random() % 8 == 0 ? "" : number;
            phonebook.replaceAt(static_cast<int>(index) + 1, newNumber, name, false, "s", "p");
            if (index >= expected.size()) {
                continue; // outside the table: nothing changes, nothing is written
            }
            expected[index] = {newNumber, name};
            break;
        }
        default:
            phonebook.remove(number);
            if (const auto found = std::ranges::find(expected, number, &Entry::first);
                found != expected.end()) {
                expected.erase(found);
            }
        }
        std::erase_if(expected, [](const Entry& e) { return e.first.empty(); });
        std::ranges::stable_sort(expected, std::greater<>(), &Entry::second);
        std::ranges::reverse(expected);
        for (auto& entry : expected) {
            std::ranges::replace(entry.second, '\t', ' ');
        }

        Phonebook reloaded;
        ASSERT_TRUE(reloaded.load(path()));
        ASSERT_EQ(phonebook.size(), static_cast<int>(expected.size())) << "step " << step;
        ASSERT_EQ(reloaded.size(), phonebook.size()) << "step " << step;
        for (int i = 1; i <= phonebook.size(); ++i) {
            const PhonebookEntry& entry = phonebook.entryAt(i);
            const PhonebookEntry& read = reloaded.entryAt(i);
            ASSERT_EQ(Entry(entry.number, entry.name), expected[static_cast<std::size_t>(i) - 1])
                << "step " << step << ", entry " << i;
            ASSERT_EQ(std::tie(entry.number, entry.name, entry.reject, entry.sound, entry.picture),
                      std::tie(read.number, read.name, read.reject, read.sound, read.picture))
                << "step " << step << ", entry " << i;
        }
        for (int n = 0; n < 12; ++n) {
            const std::string number = std::to_string(n) + "5";
            ASSERT_EQ(phonebook.nameOf(number), reloaded.nameOf(number));
        }
    }
}
