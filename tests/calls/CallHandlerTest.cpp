#include "support/CallFakes.h"
#include "support/TestContext.h"

#include "calls/CallHandler.h"
#include "calls/EndReason.h"
#include "calls/ReverseLookup.h"
#include "calls/SoundPolicy.h"
#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "stores/MsnList.h"
#include "stores/OriginLookup.h"
#include "stores/Phonebook.h"
#include "stores/Settings.h"
#include "support/AppPaths.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingViews : public JournalView, public PopupView, public TrayView, public WavePlayer {
public:
    void refresh(bool) override { ++refreshes; }
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
    CallHandlerTest() {
        loadSettings(t.context.settings, t.dir.file("config.dat"));
        t.context.origins.load("0049", TestContext::dataDir() + "prefix/");
    }

    void ring(const std::string& caller, const std::string& msn, std::uint32_t plci = 0x101) {
        line.caller = caller;
        line.msn = msn;
        line.currentPlci = plci;
        handler.onIncomingCall();
    }
    void hangUp(std::uint16_t reason, std::uint32_t plci = 0x101) {
        line.reason = reason;
        line.currentPlci = plci;
        handler.onCallDisconnect();
    }
    SettingsRecord& settings() { return t.context.settings; }
    std::string text(int id) const { return t.text(id); }
    std::string anonymous() const {
        std::string result = text(lang_id::kUnknown);
        std::erase(result, ' ');
        return result;
    }

    TestContext t{"/opt/rufwacht/"};
    TempDir& dir = t.dir;
    CallJournal& journal = t.context.journal;
    Phonebook& phonebook = t.context.phonebook;
    MsnList& msnList = t.context.msnList;
    FakeLine line;
    FixedClock clock;
    RecordingViews views;
    SoundPolicy sound{views, t.context.settings, t.context.paths};
    CallHandler handler{CallHandlerParts{line, t.context.settings, t.context.language, journal,
                                         phonebook, msnList, t.context.origins, views, views, views,
                                         sound, clock}};
};

} // namespace

TEST_F(CallHandlerTest, KnownCallerIsJournaledSavedAtOnceAndCompletedAtTheEnd) {
    phonebook.add("0301234567", "Erika Mustermann", false, "", "");
    msnList.add("4711", "Büro", false, false);
    ring("0301234567", "4711");
    ASSERT_EQ(journal.size(), 1);
    EXPECT_EQ(journal.recordAt(1).name, "Erika Mustermann");
    EXPECT_EQ(journal.recordAt(1).msn, "Büro");
    EXPECT_EQ(journal.recordAt(1).date, "06.12.2026");
    // On disk while the telephone still rings.
    CallJournal onDisk;
    onDisk.load(dir.file("calls.txt"));
    EXPECT_EQ(onDisk.size(), 1);
    EXPECT_EQ(views.tooltip, text(lang_id::kTooltipLastCaller) + " Erika Mustermann");
    EXPECT_EQ(handler.latest().callerId, "0301234567");
    EXPECT_EQ(handler.latest().dateTime, "06.12.2026 - 09:15:00");

    hangUp(0x3490);
    onDisk.load(dir.file("calls.txt"));
    EXPECT_EQ(onDisk.recordAt(1).endReason, text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(views.status, text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(handler.latest().disconnectReason, text(lang_id::kEndCallerHungUp));
}

TEST_F(CallHandlerTest, CallsTakenTogetherAreSavedTogetherWhenAsked) {
    int requests = 0;
    handler.requestJournalSave = [&requests]() { ++requests; };
    ring("0301", "4711", 0x101);
    ring("0302", "4711", 0x102);
    hangUp(0x3490, 0x101);
    CallJournal onDisk;
    onDisk.load(dir.file("calls.txt"));
    EXPECT_EQ(onDisk.size(), 0);
    EXPECT_EQ(requests, 1);
    handler.saveJournal();
    onDisk.load(dir.file("calls.txt"));
    ASSERT_EQ(onDisk.size(), 2);
    EXPECT_EQ(onDisk.recordAt(1).endReason, text(lang_id::kEndCallerHungUp));
    // The next change asks again; ending the program saves what waits.
    ring("0303", "4711", 0x103);
    EXPECT_EQ(requests, 2);
    handler.endAllCalls(0x3490);
    onDisk.load(dir.file("calls.txt"));
    EXPECT_EQ(onDisk.size(), 3);
    EXPECT_FALSE(journal.hasUnsavedChanges());
}

TEST_F(CallHandlerTest, UnlistedMsnIsIgnoredWhenOnlyListedMsnsCount) {
    settings().showAllCalls = false;
    msnList.add("4711", "Büro", true, false);
    ring("0301234567", "999");
    EXPECT_EQ(journal.size(), 0);
    EXPECT_EQ(handler.latest().calledMsn, "999");
    EXPECT_TRUE(line.rejected.empty());
    hangUp(0x3490);
    EXPECT_EQ(views.status, "");
    EXPECT_FALSE(views.red);
    // An empty called number is not numeric, so it is handled.
    ring("0301234567", "");
    EXPECT_EQ(journal.size(), 1);
}

TEST_F(CallHandlerTest, TelephoneSystemAdjustments) {
    settings().removeLeadingZero = true;
    phonebook.add("301234567", "Ohne Null", false, "", "");
    ring("0301234567", "1");
    EXPECT_EQ(journal.recordAt(1).number, "301234567");
    EXPECT_EQ(journal.recordAt(1).name, "Ohne Null");
    settings().addLeadingZero = true;
    ring("0301234567", "1", 0x102);
    EXPECT_EQ(journal.recordAt(2).number, "0301234567");
    settings().removeLeadingZero = false;
    settings().rejectWithheld = true;
    ring(anonymous(), "1", 0x103);
    EXPECT_EQ(journal.recordAt(3).number, "0" + anonymous());
    EXPECT_TRUE(line.rejected.empty());
}

// Each reject rule alone, and together: the line sees one answer, and only for the call the
// rule is about.
struct RejectCase {
    const char* name;
    bool phonebookRejects, msnRejects, msnRejectsWithheld, rejectWithheld, withheld;
    bool rejected;
};
class RejectRules : public CallHandlerTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectRules, DecideWhetherTheCallIsTurnedAway) {
    const RejectCase& c = GetParam();
    phonebook.add("0891234567", "Werbung", c.phonebookRejects, "", "");
    msnList.add("4711", "Fax", c.msnRejects, c.msnRejectsWithheld);
    msnList.add("4712", "Privat", false, false);
    settings().rejectWithheld = c.rejectWithheld;
    ring(c.withheld ? anonymous() : "0891234567", "4711");
    EXPECT_EQ(line.rejected,
              c.rejected ? std::vector<std::uint32_t>{0x101} : std::vector<std::uint32_t>{});
    // The same caller on another MSN meets only the rules that are not the MSN's.
    line.rejected.clear();
    ring(c.withheld ? anonymous() : "0891234567", "4712", 0x102);
    const bool elsewhere = c.withheld ? c.rejectWithheld : c.phonebookRejects;
    EXPECT_EQ(line.rejected.size(), elsewhere ? 1U : 0U);
}

INSTANTIATE_TEST_SUITE_P(
    EachAloneAndAll, RejectRules,
    ::testing::Values(
        RejectCase{"NoRule", false, false, false, false, false, false},
        RejectCase{"PhonebookEntry", true, false, false, false, false, true},
        RejectCase{"MsnRejectsAll", false, true, false, false, false, true},
        RejectCase{"MsnRejectsAllWithheld", false, true, false, false, true, true},
        RejectCase{"MsnWithheldCallerNamed", false, false, true, false, false, false},
        RejectCase{"MsnWithheldCallerWithheld", false, false, true, false, true, true},
        RejectCase{"SettingWithheldCallerNamed", false, false, false, true, false, false},
        RejectCase{"SettingWithheldCallerWithheld", false, false, false, true, true, true},
        RejectCase{"EveryRule", true, true, true, true, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CallHandlerTest, WildcardEntriesRejectARangeAndOnlyAMissingNumberIsWithheld) {
    phonebook.add("0900*", "Mehrwert", true, "", "");
    settings().rejectWithheld = true;
    // Only the text for a missing number counts as anonymous.
    ring(text(lang_id::kCallerWithheld), "1", 0x103);
    ring("09001234", "1", 0x104);
    EXPECT_EQ(line.rejected, (std::vector<std::uint32_t>{0x104}));
    EXPECT_EQ(journal.recordAt(2).name, "Mehrwert");
    // A caller the line could not name is journaled as unknown.
    ring("", "1", 0x105);
    EXPECT_EQ(journal.recordAt(3).number, anonymous());
}

// Every cause the line may give has its own text; anything else is unknown.
TEST_F(CallHandlerTest, EachEndReasonHasItsText) {
    const std::pair<std::uint16_t, int> reasons[] = {{0x349A, lang_id::kEndAnsweredElsewhere},
                                                     {0x3490, lang_id::kEndCallerHungUp},
                                                     {0x3304, lang_id::kEndOtherApplication},
                                                     {0x349F, lang_id::kEndNormalUnspecified},
                                                     {0x34E6, lang_id::kEndTimerExpiry},
                                                     {0x3400, lang_id::kEndNoCause},
                                                     {0x3301, lang_id::kUnknown},
                                                     {0x3491, lang_id::kUnknown}};
    std::uint32_t plci = 0x100;
    for (const auto& [reason, id] : reasons) {
        ring("0301234567", "1", ++plci);
        hangUp(reason, plci);
        EXPECT_EQ(journal.recordAt(journal.size()).endReason, text(id)) << std::hex << reason;
    }
}

TEST_F(CallHandlerTest, SoundFollowsPhonebookAndSettings) {
    phonebook.add("0301234567", "Erika", false, "sounds/erika.wav", "");
    ring("0301234567", "1");
    ring("0891234567", "1", 0x102);
    ASSERT_EQ(views.sounds.size(), 2u);
    EXPECT_EQ(views.sounds[0], "/opt/rufwacht/sounds/erika.wav");
    EXPECT_EQ(views.sounds[1], "/opt/rufwacht/res/call.wav");
    settings().playCallSound = false;
    ring("0301234567", "1", 0x103);
    sound.playSound("load"); // a feedback sound, only when the user asked for them
    EXPECT_EQ(views.sounds.size(), 2u);
    settings().audioFeedback = true;
    sound.playSound("load");
    EXPECT_EQ(views.sounds.back(), "/opt/rufwacht/res/load.wav");
}

TEST_F(CallHandlerTest, PopupShowsOriginAndOffersAddingUnknownCallers) {
    settings().showPopupOnCall = true;
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
    settings().showJournalOnCall = true;
    ring("0301234567", "1", 0x104);
    EXPECT_EQ(views.popups.size(), 3u);
    EXPECT_EQ(views.journalShown, 1);
}

TEST_F(CallHandlerTest, BlinkingAndMinimising) {
    settings().blinkWhileRinging = true;
    ring("0301234567", "1");
    EXPECT_TRUE(views.green);
    hangUp(0x349A);
    EXPECT_FALSE(views.green);
    EXPECT_FALSE(views.red);
    EXPECT_EQ(journal.recordAt(1).endReason, text(lang_id::kEndAnsweredElsewhere));
    // Red blinking for a caller who hung up, only when the user asked for it.
    ring("0301234567", "1");
    hangUp(0x3490);
    EXPECT_FALSE(views.red);
    settings().blinkAfterMissedCall = true;
    settings().minimizeAfterCall = true;
    ring("0301234567", "1");
    hangUp(0x3490);
    EXPECT_TRUE(views.red);
    EXPECT_EQ(views.icon, TrayIcon::Black);
    EXPECT_EQ(views.journalMinimised, 1);
    EXPECT_EQ(views.popupClosed, 1);
    // A new call stops the red blinking; one answered elsewhere does not start it.
    ring("0301234567", "1");
    EXPECT_FALSE(views.red);
    hangUp(0x349A);
    EXPECT_FALSE(views.red);
}

TEST_F(CallHandlerTest, OverlappingCallsEachGetTheirOwnEndReason) {
    settings().showAllCalls = false;
    msnList.add("1", "Privat", false, false);
    msnList.add("2", "Büro", false, false);
    ring("0301111111", "1", 0x101);
    ring("0892222222", "2", 0x202);
    hangUp(0x349A, 0x202);
    hangUp(0x3490, 0x101);
    EXPECT_EQ(journal.recordAt(1).endReason, text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(journal.recordAt(2).endReason, text(lang_id::kEndAnsweredElsewhere));
    // A call left out by the MSN filter, overlapping a listed one, completes nothing.
    ring("0303333333", "1", 0x303);
    ring("0304444444", "9", 0x404);
    hangUp(0x349A, 0x404);
    EXPECT_EQ(journal.recordAt(3).endReason, "");
    // The end of a call the program does not know, or of one already ended, changes nothing.
    ring("0305555555", "2", 0x505);
    hangUp(0x3490, 0x999);
    hangUp(0x349A, 0x101);
    EXPECT_EQ(journal.recordAt(4).endReason, "");
    EXPECT_EQ(journal.recordAt(1).endReason, text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(views.status, text(lang_id::kEndCallerHungUp));
}

TEST_F(CallHandlerTest, EndOfACallWhoseRecordMovedCompletesItsOwnRecord) {
    ring("0301111111", "1", 0x101);
    ring("0302222222", "1", 0x202);
    journal.remove(1);
    journal.save();
    journal.reload();
    hangUp(0x3490, 0x202);
    // The deleted record's call ends without touching another record.
    hangUp(0x349A, 0x101);
    ASSERT_EQ(journal.size(), 1);
    EXPECT_EQ(journal.recordAt(1).endReason, text(lang_id::kEndCallerHungUp));
}

TEST_F(CallHandlerTest, LostLineCompletesEveryRingingCallOnceAsUnknown) {
    ring("0301111111", "1", 0x101);
    ring("0302222222", "1", 0x202);
    hangUp(0x349A, 0x101);
    views.green = true;
    handler.endAllCalls(kReasonLineLost);
    CallJournal onDisk;
    onDisk.load(dir.file("calls.txt"));
    ASSERT_EQ(onDisk.size(), 2);
    EXPECT_EQ(onDisk.recordAt(1).endReason, text(lang_id::kEndAnsweredElsewhere));
    EXPECT_EQ(onDisk.recordAt(2).endReason, text(lang_id::kUnknown));
    EXPECT_FALSE(views.green);
    EXPECT_FALSE(views.red);
    EXPECT_EQ(handler.activeCallCount(), 0u);
    // A late end from the line finds nothing left to complete.
    hangUp(0x3490, 0x202);
    EXPECT_EQ(journal.recordAt(2).endReason, text(lang_id::kUnknown));
}

TEST_F(CallHandlerTest, EveryStepOfAJournaledCallReachesTheOutputs) {
    std::vector<CallEvent> seen;
    handler.events.subscribe([&seen](const CallEvent& event) { seen.push_back(event); });
    msnList.add("4711", "Büro", false, false);
    settings().showAllCalls = false;
    ring("0301234567", "4711");
    ring("0891234567", "999", 0x102); // filtered out: no events
    ring("0401234567", "4711", 0x103);
    hangUp(kReasonNormalClearing);
    hangUp(kReasonAnsweredElsewhere, 0x103);
    ring("0401234567", "4711", 0x104);
    hangUp(0x349F, 0x104);

    using Kind = CallEvent::Kind;
    ASSERT_EQ(seen.size(), 7U);
    const std::vector<std::pair<Kind, std::uint32_t>> order{{Kind::Ring, 0x101},
                                                            {Kind::Ring, 0x103},
                                                            {Kind::End, 0x101},
                                                            {Kind::Connect, 0x103},
                                                            {Kind::End, 0x103}};
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(seen[i].kind, order[i].first) << i;
        EXPECT_EQ(seen[i].callId, order[i].second) << i;
    }
    EXPECT_TRUE(seen[0].canReject);
    EXPECT_EQ(seen[1].name, "");
    EXPECT_TRUE(seen[2].missed);
    EXPECT_EQ(seen[2].reason, text(lang_id::kEndCallerHungUp));
    EXPECT_EQ(seen[2].reasonCode, kReasonNormalClearing);
    EXPECT_FALSE(seen[2].canReject);
    EXPECT_FALSE(seen[4].missed);
    // Only a caller who hung up makes a missed call.
    EXPECT_EQ(seen[6].kind, Kind::End);
    EXPECT_FALSE(seen[6].missed);
}

TEST_F(CallHandlerTest, AddressBooksNameOnlyCallersThePhonebookDoesNot) {
    settings().showPopupOnCall = true;
    t.context.contacts.setSource(
        0, "address book 1 (contacts.vcf)",
        {Contact{"Erika Mustermann", {"+49 30 1234567"}, {}, {}, {}, "/pics/erika.png"},
         Contact{"Max Kontakt", {"089 1234567"}, {}, {}, {}, {}}});
    handler.setContactLookup(&t.context.contacts);
    phonebook.add("0891234567", "Max", false, "", "");
    std::vector<CallEvent> rings;
    handler.events.subscribe([&rings](const CallEvent& event) { rings.push_back(event); });
    ring("0301234567", "1");
    ring("0891234567", "1", 0x102);
    ring("0401234567", "1", 0x103);
    EXPECT_EQ(journal.recordAt(1).name, "Erika Mustermann");
    EXPECT_EQ(journal.recordAt(2).name, "Max");
    EXPECT_EQ(journal.recordAt(3).name, "0401234567");
    ASSERT_EQ(rings.size(), 3u);
    EXPECT_EQ(rings[0].name, "Erika Mustermann");
    EXPECT_EQ(rings[0].picturePath, "/pics/erika.png");
    EXPECT_EQ(rings[2].name, "");
    EXPECT_EQ(views.popups[0].picturePath, "/pics/erika.png");
    EXPECT_FALSE(views.popups[0].showAddToPhonebook);
    EXPECT_EQ(phonebook.size(), 1);
}

TEST(ReverseLookup, NumberFromDisplayTextsGoesEncodedIntoTheAddress) {
    EXPECT_EQ(lookupNumber("0301234567 (Berlin)"), "0301234567");
    for (const char* noNumber : {"Max (Berlin)", "(Berlin)", "Unknown", ""}) {
        EXPECT_FALSE(lookupNumber(noNumber).has_value()) << noNumber;
    }
    EXPECT_EQ(lookupAddress("https://example.org/s?ph=%s&x=1", "0301234567"),
              "https://example.org/s?ph=0301234567&x=1");
    EXPECT_EQ(lookupAddress("https://example.org/s?ph=", "+49 30"),
              "https://example.org/s?ph=%2B49%2030");
}
