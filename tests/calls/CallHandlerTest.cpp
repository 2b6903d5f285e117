#include "support/CallFakes.h"
#include "support/TempDir.h"

#include "calls/CallHandler.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "stores/cJournal.h"
#include "stores/cLanguage.h"
#include "stores/cMSN.h"
#include "stores/cPhonebook.h"
#include "stores/cVorwahlen.h"
#include "support/AppPaths.h"
#include "support/modSound.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what the handlers did to the windows, the icon and the speaker.
class RecordingViews : public JournalView, public PopupView, public TrayView, public WavePlayer {
public:
    void RefreshJournal(bool) override { ++refreshes; }
    void showAndActivate() override { ++journalShown; }
    void minimize() override { ++journalMinimised; }
    void showCall(const PopupContent& content) override { popups.push_back(content); }
    void setStatus(const std::string& text) override { status = text; }
    void close() override { ++popupClosed; }
    void setTooltip(const std::string& text) override { tooltip = text; }
    void setIcon(TrayIcon icon) override { this->icon = icon; }
    void setGreenBlink(bool on) override { green = on; }
    void setRedBlink(bool on) override { red = on; }
    void play(const std::string& path) override { sounds.push_back(path); }

    int refreshes = 0, journalShown = 0, journalMinimised = 0, popupClosed = 0;
    std::vector<PopupContent> popups;
    std::string status, tooltip;
    TrayIcon icon = TrayIcon::Black;
    bool green = false, red = false;
    std::vector<std::string> sounds;
};

class CallHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppPath = "/opt/rufwacht/";
        ConfigDir = dir.path();
        settings() = SettingsRecord{};
        loadSettings(settings(), dir.file("config.dat"));
        Language().Init(std::string(RUFWACHT_SOURCE_DIR) + "/data/lang");
        Language().SetLanguage("english");
        journal.Init(dir.file("calls.txt"));
        phonebook.Init(dir.file("nn.dat"));
        msnList.Init(dir.file("msn.dat"));
        origins.Init("0049", std::string(RUFWACHT_SOURCE_DIR) + "/data/prefix/");
    }

    void ring(const std::string& caller, const std::string& msn, std::uint32_t plci = 0x101) {
        line.caller = caller;
        line.msn = msn;
        line.currentPlci = plci;
        handler.CAPI_IncomingCall();
    }
    void hangUp(std::uint16_t reason, std::uint32_t plci = 0x101) {
        line.reason = reason;
        line.currentPlci = plci;
        handler.CAPI_CallDisconnect();
    }
    static std::string text(int id) { return Language().getStr(id); }
    static std::string anonymous() {
        std::string t = text(lang_id::kUnknown);
        std::erase(t, ' ');
        return t;
    }

    TempDir dir;
    FakeLine line;
    FixedClock clock;
    RecordingViews views;
    modSound sound{views};
    cJournal journal;
    cPhonebook phonebook;
    cMSN msnList;
    cVorwahlen origins;
    CallHandler handler{CallHandlerParts{line, journal, phonebook, msnList, origins, views, views,
                                         views, sound, clock}};
};

} // namespace

TEST_F(CallHandlerTest, KnownCallerIsJournaledSavedAtOnceAndCompletedAtTheEnd) {
    phonebook.add("0301234567", "Erika Mustermann", false, "", "");
    msnList.add("4711", "Büro", false, false);
    ring("0301234567", "4711");
    ASSERT_EQ(journal.getSize(), 1);
    EXPECT_EQ(journal.getName(1), "Erika Mustermann");
    EXPECT_EQ(journal.getMSN(1), "Büro");
    EXPECT_EQ(journal.getDate(1), "06.12.2026");
    EXPECT_EQ(journal.getCallType(1), "Telephony");
    // On disk while the telephone still rings.
    cJournal onDisk;
    onDisk.Init(dir.file("calls.txt"));
    EXPECT_EQ(onDisk.getSize(), 1);
    EXPECT_EQ(views.tooltip, text(lang_id::kTooltipLastCaller) + " Erika Mustermann");
    EXPECT_EQ(handler.latest().callerId, "0301234567");
    EXPECT_EQ(handler.latest().dateTime, "06.12.2026 - 09:15:00");

    hangUp(0x3490);
    onDisk.Init(dir.file("calls.txt"));
    EXPECT_EQ(onDisk.getEndReason(1), text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(views.status, text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(handler.latest().disconnectReason, text(lang_id::kEndCallerHungUp));
}

TEST_F(CallHandlerTest, UnlistedMsnIsIgnoredWhenOnlyListedMsnsCount) {
    settings().showAllCalls = false;
    msnList.add("4711", "Büro", true, false);
    ring("0301234567", "999");
    EXPECT_EQ(journal.getSize(), 0);
    EXPECT_EQ(handler.latest().calledMsn, "999");
    EXPECT_EQ(line.rejects, 0);
    hangUp(0x3490);
    EXPECT_EQ(views.status, "");
    EXPECT_FALSE(views.red);
    // An empty called number is not numeric, so it is handled.
    ring("0301234567", "");
    EXPECT_EQ(journal.getSize(), 1);
}

TEST_F(CallHandlerTest, TelephoneSystemAdjustments) {
    settings().TKRemoveNull = true;
    phonebook.add("301234567", "Ohne Null", false, "", "");
    ring("0301234567", "1");
    EXPECT_EQ(journal.getNumber(1), "301234567");
    EXPECT_EQ(journal.getName(1), "Ohne Null");
    settings().TKAddNull = true;
    ring("0301234567", "1", 0x102);
    EXPECT_EQ(journal.getNumber(2), "0301234567");
    settings().TKRemoveNull = false;
    settings().RejectAnonymous = true;
    ring(anonymous(), "1", 0x103);
    EXPECT_EQ(journal.getNumber(3), "0" + anonymous());
    EXPECT_EQ(line.rejects, 0);
}

TEST_F(CallHandlerTest, RejectRulesEachCallOnceInOrder) {
    phonebook.add("0891234567", "Werbung", true, "", "");
    msnList.add("4711", "Fax", true, true);
    ring("0891234567", "4711");
    EXPECT_EQ(line.rejects, 2);
    line.rejects = 0;
    settings().RejectAnonymous = true;
    ring(anonymous(), "4711", 0x102);
    EXPECT_EQ(line.rejects, 3);
    // Only the text for a missing number counts as anonymous.
    line.rejects = 0;
    ring(text(lang_id::kCallerWithheld), "1", 0x103);
    EXPECT_EQ(line.rejects, 0);
}

TEST_F(CallHandlerTest, WildcardPhonebookEntryRejectsAWholeRange) {
    phonebook.add("0900*", "Mehrwert", true, "", "");
    ring("09001234", "1");
    EXPECT_EQ(line.rejects, 1);
    EXPECT_EQ(journal.getName(1), "Mehrwert");
}

TEST_F(CallHandlerTest, SoundFollowsPhonebookAndSettings) {
    phonebook.add("0301234567", "Erika", false, "sounds/erika.wav", "");
    ring("0301234567", "1");
    ring("0891234567", "1", 0x102);
    ASSERT_EQ(views.sounds.size(), 2u);
    EXPECT_EQ(views.sounds[0], "/opt/rufwacht/sounds/erika.wav");
    EXPECT_EQ(views.sounds[1], "/opt/rufwacht/res/call.wav");
    settings().plsnd = false;
    ring("0301234567", "1", 0x103);
    EXPECT_EQ(views.sounds.size(), 2u);
}

TEST_F(CallHandlerTest, PopupShowsOriginAndOffersAddingUnknownCallers) {
    settings().popupsmall = true;
    phonebook.add("0891234567", "Max", false, "", "/pics/max.png");
    ring("0301234567", "1");
    ring("0891234567", "1", 0x102);
    ring(anonymous(), "1", 0x103);
    ASSERT_EQ(views.popups.size(), 3u);
    EXPECT_EQ(views.popups[0].caller, "0301234567 (Berlin)");
    EXPECT_TRUE(views.popups[0].showAddToPhonebook);
    EXPECT_EQ(views.popups[0].status, text(lang_id::kCallRinging));
    EXPECT_EQ(views.popups[0].dateTime, "06.12.2026 09:15:00");
    EXPECT_EQ(views.popups[1].caller, "Max (München)");
    EXPECT_FALSE(views.popups[1].showAddToPhonebook);
    EXPECT_EQ(views.popups[1].picturePath, "/pics/max.png");
    EXPECT_EQ(views.popups[2].caller, anonymous());
    EXPECT_FALSE(views.popups[2].showAddToPhonebook);
    settings().popup = true;
    ring("0301234567", "1", 0x104);
    EXPECT_EQ(views.popups.size(), 3u);
    EXPECT_EQ(views.journalShown, 1);
}

TEST_F(CallHandlerTest, BlinkingAndMinimising) {
    settings().TrayBlink = true;
    ring("0301234567", "1");
    EXPECT_TRUE(views.green);
    hangUp(0x349A);
    EXPECT_FALSE(views.green);
    EXPECT_FALSE(views.red);
    EXPECT_EQ(journal.getEndReason(1), text(lang_id::kEndAnsweredElsewhere));
    // Red blinking for a caller who hung up, only when the user asked for it.
    ring("0301234567", "1");
    hangUp(0x3490);
    EXPECT_FALSE(views.red);
    settings().RedBlink = true;
    settings().minimize = true;
    ring("0301234567", "1");
    hangUp(0x3490);
    EXPECT_TRUE(views.red);
    EXPECT_EQ(views.icon, TrayIcon::Black);
    EXPECT_EQ(views.journalMinimised, 1);
    EXPECT_EQ(views.popupClosed, 1);
    ring("0301234567", "1");
    hangUp(0x3301);
    EXPECT_EQ(journal.getEndReason(4), text(lang_id::kUnknown));
}

TEST_F(CallHandlerTest, OverlappingCallsEachGetTheirOwnEndReason) {
    settings().showAllCalls = false;
    msnList.add("1", "Privat", false, false);
    msnList.add("2", "Büro", false, false);
    ring("0301111111", "1", 0x101);
    ring("0892222222", "2", 0x202);
    hangUp(0x349A, 0x202);
    hangUp(0x3490, 0x101);
    EXPECT_EQ(journal.getEndReason(1), text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(journal.getEndReason(2), text(lang_id::kEndAnsweredElsewhere));
    // A call left out by the MSN filter, overlapping a listed one, completes nothing.
    ring("0303333333", "1", 0x303);
    ring("0304444444", "9", 0x404);
    hangUp(0x349A, 0x404);
    EXPECT_EQ(journal.getEndReason(3), "");
    // An end of an unknown call is filtered by the latest call's MSN and completes the newest
    // record.
    hangUp(0x3490, 0x999);
    EXPECT_EQ(journal.getEndReason(3), "");
    ring("0305555555", "2", 0x505);
    hangUp(0x3490, 0x999);
    EXPECT_EQ(journal.getEndReason(4), text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(journal.getEndReason(3), "");
}

TEST_F(CallHandlerTest, EndOfACallWhoseRecordWasDeletedFallsBackToTheNewest) {
    ring("0301111111", "1", 0x101);
    ring("0302222222", "1", 0x202);
    journal.del(1);
    journal.saveJournal();
    journal.loadJournal();
    hangUp(0x3490, 0x202);
    ASSERT_EQ(journal.getSize(), 1);
    EXPECT_EQ(journal.getEndReason(1), text(lang_id::kEndCallerHungUp));
}
