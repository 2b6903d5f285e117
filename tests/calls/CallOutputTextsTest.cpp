#include "calls/CallEventTexts.h"
#include "calls/EndReason.h"
#include "line/CallMonitorCalls.h"
#include "line/CallMonitorLines.h"
#include "line/CallMonitorProtocol.h"
#include "support/CommandSplit.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace {

std::chrono::system_clock::time_point christmasEvening() {
    std::tm local{};
    local.tm_year = 123;
    local.tm_mon = 11;
    local.tm_mday = 24;
    local.tm_hour = 18;
    local.tm_min = 30;
    local.tm_sec = 5;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

CallEvent ring(std::uint32_t id, const std::string& number, const std::string& msn) {
    CallEvent event;
    event.callId = id;
    event.number = number;
    event.msn = msn;
    event.msnName = "Privat";
    event.name = "Erika Mustermann";
    event.origin = "Berlin";
    event.time = christmasEvening();
    return event;
}

CallEvent step(CallEvent event, CallEvent::Kind kind, std::uint16_t reason) {
    event.kind = kind;
    event.reasonCode = reason;
    event.missed = kind == CallEvent::Kind::End && reason == kReasonNormalClearing;
    event.reason = event.missed ? "Caller hung up" : "Answered elsewhere";
    return event;
}

// What a reading program's call monitor line makes of the lines, one text per call step:
// "ring ID CALLER MSN" or "end ID CALLER REASON".
std::vector<std::string> readBack(const std::vector<CallEvent>& events) {
    CallMonitorCalls reader;
    reader.setWithheldText("Unknown");
    std::vector<std::string> steps;
    reader.events.incomingCall = [&]() {
        steps.push_back("ring " + std::to_string(reader.eventId()) + " " + reader.callerId() + " " +
                        reader.calledMsn());
    };
    reader.events.callEnded = [&]() {
        steps.push_back("end " + std::to_string(reader.eventId()) + " " + reader.callerId() + " " +
                        std::to_string(reader.endReason()));
    };
    reader.events.notice = [&](const std::string& text) { steps.push_back(text); };
    callmonitor::LineSplitter splitter;
    for (const CallEvent& event : events) {
        for (const std::string& line : splitter.feed(callmonitor::formatLine(event))) {
            reader.handleLine(line);
        }
    }
    return steps;
}

} // namespace

TEST(CallMonitorLines, ReadBackAsTheSameCalls) {
    const CallEvent missed = ring(0x101, "0301234567", "4711");
    CallEvent withheld = ring(0x102, "Unknown", "4712");
    withheld.withheld = true;
    const CallEvent answered = ring(4'000'000'123U, "+49301234567", "4711");
    const std::vector<CallEvent> events = {
        missed,
        withheld,
        answered,
        step(withheld, CallEvent::Kind::End, kReasonNormalClearing),
        step(answered, CallEvent::Kind::Connect, kReasonAnsweredElsewhere),
        step(answered, CallEvent::Kind::End, kReasonAnsweredElsewhere),
        step(missed, CallEvent::Kind::End, kReasonNormalClearing)};
    const std::string hungUp = std::to_string(kReasonNormalClearing);
    const std::vector<std::string> expected = {
        "ring 257 0301234567 4711", "ring 258 Unknown 4712",
        // Ids beyond nine digits are folded; a "+" reads as "00".
        "ring 123 0049301234567 4711", "end 258 Unknown " + hungUp,
        "end 123 0049301234567 " + std::to_string(kReasonAnsweredElsewhere),
        "end 257 0301234567 " + hungUp};
    EXPECT_EQ(readBack(events), expected);

    const auto parsed = callmonitor::parseLine(callmonitor::formatLine(missed));
    ASSERT_TRUE(parsed.event) << parsed.problem;
    EXPECT_EQ(parsed.event->timestamp, "24.12.23 18:30:05");
    EXPECT_EQ(parsed.event->trunk, callmonitor::kServedTrunk);
}

TEST(CallMonitorLines, NumbersWithOtherCharactersAreWrittenEmpty) {
    const auto parsed = callmonitor::parseLine(callmonitor::formatLine(ring(1, "030;1", "47 11")));
    ASSERT_TRUE(parsed.event) << parsed.problem;
    EXPECT_EQ(parsed.event->caller, "");
    EXPECT_EQ(parsed.event->called, "");
}

namespace {

struct SplitCase {
    const char* line;
    std::optional<std::vector<std::string>> words;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << "[" << c.line << "]";
}

class CommandSplit : public ::testing::TestWithParam<SplitCase> {};

} // namespace

TEST_P(CommandSplit, WordsAsAShellWouldSplitThem) {
    EXPECT_EQ(splitCommandLine(GetParam().line), GetParam().words);
}

using Words = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Lines, CommandSplit,
    ::testing::Values(
        SplitCase{"", Words{}}, SplitCase{" \t ", Words{}},
        SplitCase{"/usr/bin/notify-send  -u critical",
                  Words{"/usr/bin/notify-send", "-u", "critical"}},
        SplitCase{"say 'new call; $HOME' \"it's \\\"me\\\"\"",
                  Words{"say", "new call; $HOME", "it's \"me\""}},
        SplitCase{"a\\ b c\\\\d C:\\tools\\x.exe", Words{"a b", "c\\d", "C:\\tools\\x.exe"}},
        SplitCase{"\"C:\\Program Files\\x.exe\" ''", Words{"C:\\Program Files\\x.exe", ""}},
        SplitCase{"one\"two three\"'4'", Words{"onetwo three4"}},
        SplitCase{"x 'open", std::nullopt}, SplitCase{"x \"open", std::nullopt},
        SplitCase{"x \\", std::nullopt}));

TEST(HeadlessLine, OneLinePerCallStep) {
    const HeadlessWords words{"for", "missed"};
    CallEvent event = ring(1, "03012345678", "4711");
    EXPECT_EQ(headlessLine(event, words),
              "18:30:05  RING  Erika Mustermann (03012345678, Berlin) for Privat");
    EXPECT_EQ(headlessLine(step(event, CallEvent::Kind::End, kReasonNormalClearing), words),
              "18:30:05  END   Erika Mustermann: missed");
    event.name.clear();
    EXPECT_EQ(headlessLine(event, words), "18:30:05  RING  03012345678 (Berlin) for Privat");
    event.origin.clear();
    event.msnName.clear();
    EXPECT_EQ(headlessLine(event, words), "18:30:05  RING  03012345678");
}

TEST(CommandEnvironment, IsoTimeWithTheLocalOffset) {
    const std::pair<const char*, const char*> zones[] = {{"UTC0", "2023-12-24T18:30:05+00:00"},
                                                         {"CET-1", "2023-12-24T18:30:05+01:00"},
                                                         {"NST3:30", "2023-12-24T18:30:05-03:30"}};
    for (const auto& [zone, expected] : zones) {
        setTimeZone(zone);
        EXPECT_EQ(isoTime(christmasEvening()), expected) << zone;
    }
    EXPECT_EQ(isoTime(christmasEvening() + std::chrono::milliseconds(250), true),
              "2023-12-24T18:30:05.250-03:30");
    setTimeZone(nullptr);
}
