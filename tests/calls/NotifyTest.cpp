#include "support/TestContext.h"

#include "calls/CallEvent.h"
#include "calls/MissedCalls.h"
#include "calls/NotificationText.h"
#include "calls/NotifyMode.h"
#include "stores/CallJournal.h"
#include "stores/IniFile.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ModeCase {
    const char* stored;
    bool hasNotificationArea;
    bool wayland;
    NotifyMode expected;
};

std::ostream& operator<<(std::ostream& out, const ModeCase& c) {
    return out << "notify=\"" << c.stored << "\" tray=" << c.hasNotificationArea
               << " wayland=" << c.wayland << " -> " << notifyModeKey(c.expected);
}

class NotifyModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(NotifyModeTest, StoredChoiceWinsElseTheDesktopDecides) {
    const ModeCase& c = GetParam();
    EXPECT_EQ(chooseNotifyMode(c.stored, c.hasNotificationArea, c.wayland), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, NotifyModeTest,
    ::testing::Values(ModeCase{"", true, false, NotifyMode::Popup},
                      ModeCase{"", false, false, NotifyMode::Desktop},
                      ModeCase{"", true, true, NotifyMode::Desktop},
                      ModeCase{"popup", false, true, NotifyMode::Popup},
                      ModeCase{"both", true, false, NotifyMode::Both},
                      ModeCase{"desktop", true, false, NotifyMode::Desktop},
                      ModeCase{"Desktop", true, false, NotifyMode::Popup}, // unknown value
                      ModeCase{"sometimes", false, false, NotifyMode::Desktop}));

TEST(NotifySettingTest, UnknownValuesAreDropped) {
    SettingsRecord record;
    const auto ignored =
        readSettings(record, IniDocument("[config]\r\nnotify=loud\r\nmissedseen=12x\r\n"));
    EXPECT_EQ(record.notify, "");
    EXPECT_EQ(record.missedSeen, 0);
    EXPECT_EQ(ignored, (std::vector<std::string>{"notify", "missedseen"}));
}

CallEvent call(const std::string& number, const std::string& name, const std::string& origin,
               const std::string& msnName, bool withheld = false) {
    CallEvent event;
    event.number = number;
    event.name = name;
    event.origin = origin;
    event.msnName = msnName;
    event.withheld = withheld;
    return event;
}

struct TextCase {
    const char* what;
    CallEvent call;
    NotificationText ringing;
    NotificationText missed;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) {
    return out << c.what;
}

class NotificationTextTest : public ::testing::TestWithParam<TextCase> {
protected:
    TestContext t;
};

TEST_P(NotificationTextTest, CallerAboveNumberOriginAndMsn) {
    const TextCase& c = GetParam();
    EXPECT_EQ(ringingNotification(c.call), c.ringing);
    EXPECT_EQ(missedNotification(c.call, t.context.language), c.missed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NotificationTextTest,
    ::testing::Values(TextCase{"listed caller",
                               call("0301234567", "Erika <b>Mustermann</b>", "Berlin", "Office"),
                               {"Erika <b>Mustermann</b>", "0301234567\nBerlin\nOffice"},
                               {"Missed call",
                                "Erika <b>Mustermann</b>\n0301234567\nBerlin\nOffice"}},
                      TextCase{"unlisted caller",
                               call("0891234567", "", "München", "4711"),
                               {"0891234567", "München\n4711"},
                               {"Missed call", "0891234567\nMünchen\n4711"}},
                      TextCase{"withheld number",
                               call("Unknown", "", "", "Office", true),
                               {"Unknown", "Office"},
                               {"Missed call", "Unknown\nOffice"}}));

// The journal on disk, the missed calls over it, and a restart that reads both again.
class MissedCallsTest : public ::testing::Test {
protected:
    using Clock = std::chrono::system_clock;

    std::string hungUp() const { return t.text(lang_id::kEndCallerHungUp); }

    // A call journaled at the given time of day that ends with the reason.
    CallEvent journalCall(const std::string& number, const std::string& time, bool missed) {
        const int index = journal.add(number, number, "4711", "06.12.2026", time, "Telephony");
        journal.setEndReason(index, missed ? hungUp() : t.text(lang_id::kEndAnsweredElsewhere));
        journal.save();
        CallEvent end = call(number, "", "", "4711");
        end.kind = CallEvent::Kind::End;
        end.missed = missed;
        end.journalDate = "06.12.2026";
        end.journalTime = time;
        return end;
    }

    // Times of day on the test's day: "09:15:00" is 9 h 15 min after its start.
    static std::optional<Clock::time_point> recordTime(const JournalRecord& record) {
        int h = 0, m = 0, s = 0;
        if (std::sscanf(record.time.c_str(), "%d:%d:%d", &h, &m, &s) != 3) {
            return std::nullopt;
        }
        return Clock::time_point(std::chrono::seconds(h * 3600 + m * 60 + s));
    }
    static Clock::time_point at(int h, int m) {
        return Clock::time_point(std::chrono::seconds(h * 3600 + m * 60));
    }

    TestContext t;
    CallJournal& journal = t.context.journal;
    MissedCalls missed{journal, hungUp()};
};

TEST_F(MissedCallsTest, CountsUnansweredCallsUntilTheUserLooks) {
    missed.onCallEvent(journalCall("0301", "09:00:00", true));
    missed.onCallEvent(journalCall("0302", "09:10:00", false));
    missed.onCallEvent(journalCall("0303", "09:20:00", true));
    EXPECT_EQ(missed.count(), 2);
    EXPECT_TRUE(missed.isMarked(journal.recordAt(1)));
    EXPECT_FALSE(missed.isMarked(journal.recordAt(2)));

    // Seen, and still marked while the user looks for them.
    EXPECT_TRUE(missed.acknowledge());
    EXPECT_EQ(missed.count(), 0);
    EXPECT_TRUE(missed.isMarked(journal.recordAt(3)));
    EXPECT_FALSE(missed.acknowledge());
    missed.onCallEvent(journalCall("0304", "09:30:00", true));
    EXPECT_EQ(missed.count(), 1);
    EXPECT_TRUE(missed.acknowledge());
    EXPECT_FALSE(missed.isMarked(journal.recordAt(3)));
    EXPECT_TRUE(missed.isMarked(journal.recordAt(4)));
}

TEST_F(MissedCallsTest, DeletedOrClearedRecordsAreNoLongerMissed) {
    missed.onCallEvent(journalCall("0301", "09:00:00", true));
    missed.onCallEvent(journalCall("0302", "09:10:00", true));
    journal.remove(1);
    EXPECT_EQ(missed.count(), 1);
    journal.clear();
    EXPECT_EQ(missed.count(), 0);
}

TEST_F(MissedCallsTest, ARestartCountsTheMissedCallsAfterTheLastLook) {
    journalCall("0301", "09:00:00", true);
    journalCall("0302", "09:10:00", false);
    journalCall("0303", "09:20:00", true);
    journalCall("0304", "09:30:00", true);
    journal.add("0305", "0305", "4711", "06.12.2026", "garbled", "Telephony");
    journal.setEndReason(5, hungUp());
    journal.save();

    CallJournal reread;
    reread.load(journal.path());
    MissedCalls restarted(reread, hungUp());
    restarted.restore(at(9, 15), recordTime);
    EXPECT_EQ(restarted.count(), 2);
    EXPECT_FALSE(restarted.isMarked(reread.recordAt(1)));
    EXPECT_TRUE(restarted.isMarked(reread.recordAt(4)));
    restarted.restore(at(9, 45), recordTime);
    EXPECT_EQ(restarted.count(), 0);
}

} // namespace
