#include "calls/EndReason.h"
#include "line/CallMonitorCalls.h"
#include "line/CallMonitorProtocol.h"
#include "line/ReconnectBackoff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace callmonitor;
using namespace std::chrono_literals;

// Every field of an event, kind first: "RING 0 | caller | called | dialled | extension | trunk
// | seconds".
std::string fieldsOf(const Event& e) {
    const char* kinds[] = {"RING", "CALL", "CONNECT", "DISCONNECT"};
    return std::string(kinds[static_cast<int>(e.kind)]) + " " + std::to_string(e.connectionId) +
           " | " + e.caller + " | " + e.called + " | " + e.dialled + " | " + e.extension + " | " +
           e.trunk + " | " + std::to_string(e.seconds);
}

TEST(CallMonitorProtocol, EventsAndTheirFields) {
    const std::pair<const char*, const char*> lines[] = {
        {"24.12.23 18:30:05;RING;0;0301234567;4711;SIP0;\r",
         "RING 0 | 0301234567 | 4711 |  |  | SIP0 | 0"},
        {"24.12.23 18:30:05;RING;3;;4711;POTS;", "RING 3 |  | 4711 |  |  | POTS | 0"},
        {"24.12.23 18:31:00;CALL;1;10;4711;+493012345;SIP1;",
         "CALL 1 |  | 4711 | 00493012345 | 10 | SIP1 | 0"},
        {"24.12.23 18:30:09;CONNECT;0;12;0301234567;", "CONNECT 0 | 0301234567 |  |  | 12 |  | 0"},
        // Without the closing ";", and with fields that newer firmware adds, lines still count.
        {"24.12.23 18:32:00;DISCONNECT;0;115;extra", "DISCONNECT 0 |  |  |  |  |  | 115"}};
    for (const auto& [line, fields] : lines) {
        const auto parsed = parseLine(line);
        ASSERT_TRUE(parsed.event) << line << ": " << parsed.problem;
        EXPECT_EQ(fieldsOf(*parsed.event), fields);
        EXPECT_EQ(parsed.event->timestamp, std::string(line, 17));
    }
}

TEST(CallMonitorProtocol, MalformedLinesSayWhy) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "no event"},
        {"hello", "no event"},
        {"24.12.23;RING;0;030;4711;SIP0;", "bad date and time"},
        {"32.12.23 18:30:05;RING;0;030;4711;SIP0;", "bad date and time"},
        {"24.12.23 25:30:05;RING;0;030;4711;SIP0;", "bad date and time"},
        {"24.13.23 18:30:05;RING;0;030;4711;SIP0;", "bad date and time"},
        {"24.12.23 18:30:05;HOLD;0;", "unknown event \"HOLD\""},
        {"24.12.23 18:30:05;RING;0;030;4711;", "RING with 5 fields, needs 6"},
        {"24.12.23 18:30:05;RING;x;030;4711;SIP0;", "bad connection id \"x\""},
        {"24.12.23 18:30:05;RING;-1;030;4711;SIP0;", "bad connection id \"-1\""},
        {"24.12.23 18:30:05;RING;0;030\t1;4711;SIP0;", "bad caller \"030\t1\""},
        {"24.12.23 18:30:05;RING;0;Mr X;4711;SIP0;", "bad caller \"Mr X\""},
        {"24.12.23 18:30:05;RING;0;" + std::string(41, '1') + ";4711;SIP0;",
         "bad caller \"" + std::string(41, '1') + "\""},
        {"24.12.23 18:30:05;RING;0;030;4711;SIP\x01;", "bad trunk"},
        {"24.12.23 18:30:05;DISCONNECT;0;9999999999;", "bad duration \"9999999999\""},
        // Numbers with anything after their digits are no numbers.
        {"24.12.23 18:30:05;DISCONNECT;0;115s;", "bad duration \"115s\""},
        {"24.12.23 18:30:05;RING;7 ;030;4711;SIP0;", "bad connection id \"7 \""},
        {"24.12.23 18:30:05;CONNECT;0;12;", "CONNECT with 4 fields, needs 5"},
    };
    for (const auto& [line, problem] : cases) {
        const auto parsed = parseLine(line);
        EXPECT_FALSE(parsed.event) << line;
        EXPECT_EQ(parsed.problem, problem) << line;
    }
}

TEST(CallMonitorProtocol, SplitterCutsLinesAndDropsOverlongOnesWhole) {
    LineSplitter splitter;
    EXPECT_TRUE(splitter.feed("24.12.23 18:30:05;RI").empty());
    EXPECT_EQ(splitter.feed("NG;0;;1;SIP0;\r\nsecond\nthi"),
              (std::vector<std::string>{"24.12.23 18:30:05;RING;0;;1;SIP0;", "second"}));
    // An overlong line is dropped, however many pieces it comes in; the next one counts.
    EXPECT_TRUE(splitter.feed(std::string(kMaxLineLength, 'x')).empty());
    EXPECT_TRUE(splitter.feed(std::string(5000, 'y')).empty());
    EXPECT_EQ(splitter.feed("z\nnext\n"), (std::vector<std::string>{"next"}));
    EXPECT_EQ(splitter.takeDroppedCount(), 1);
    EXPECT_EQ(splitter.takeDroppedCount(), 0);
    EXPECT_EQ(splitter.feed(std::string(kMaxLineLength, 'a') + "\n").size(), 1u);
    splitter.feed("partial");
    splitter.clear();
    EXPECT_EQ(splitter.feed("fresh\n"), (std::vector<std::string>{"fresh"}));
}

TEST(CallMonitorProtocol, Endpoints) {
    const std::vector<std::tuple<std::string, std::string, int>> good = {
        {"fritz.box", "fritz.box", 1012},        {"192.168.178.1:1012", "192.168.178.1", 1012},
        {"127.0.0.1:21012", "127.0.0.1", 21012}, {"[::1]:4000", "::1", 4000},
        {"[fe80::1]", "fe80::1", 1012},
    };
    for (const auto& [text, host, port] : good) {
        const auto endpoint = parseEndpoint(text);
        ASSERT_TRUE(endpoint) << text;
        EXPECT_EQ(endpoint->host, host);
        EXPECT_EQ(endpoint->port, port);
    }
    for (const char* bad : {"", ":1012", "box:", "box:0", "box:65536", "box:x", "::1:1012", "[::1",
                            "[::1]x", "bo\tx"}) {
        EXPECT_FALSE(parseEndpoint(bad)) << bad;
    }
}

namespace {

class CallMonitorCallsTest : public ::testing::Test {
protected:
    CallMonitorCallsTest() {
        calls.setWithheldText("Anonymous");
        calls.events.incomingCall = [this] {
            seen.push_back("ring " + std::to_string(calls.eventId()) + " " + calls.callerId() +
                           " -> " + calls.calledMsn());
        };
        calls.events.callEnded = [this] {
            seen.push_back("end " + std::to_string(calls.eventId()) + " " +
                           std::to_string(calls.endReason()));
        };
        calls.events.notice = [this](const std::string& text) { notices.push_back(text); };
    }

    CallMonitorCalls calls;
    std::vector<std::string> seen;
    std::vector<std::string> notices;
};

} // namespace

TEST_F(CallMonitorCallsTest, RingingCallsEndAnsweredOrGivenUpAndOutgoingCallsAreLeftOut) {
    for (const char* line :
         {"01.02.24 10:00:00;RING;0;0301234567;4711;SIP0;", "01.02.24 10:00:01;RING;1;;4712;SIP0;",
          "01.02.24 10:00:02;CALL;2;10;4711;0891;SIP0;", "01.02.24 10:00:03;CONNECT;2;10;0891;",
          "01.02.24 10:00:04;CONNECT;0;11;0301234567;", "01.02.24 10:00:05;DISCONNECT;2;2;",
          "01.02.24 10:00:06;DISCONNECT;0;2;", "01.02.24 10:00:07;DISCONNECT;1;0;",
          "01.02.24 10:00:08;DISCONNECT;1;0;"}) {
        calls.handleLine(line);
    }
    EXPECT_EQ(seen,
              (std::vector<std::string>{"ring 0 0301234567 -> 4711", "ring 1 Anonymous -> 4712",
                                        "end 0 " + std::to_string(kReasonAnsweredElsewhere),
                                        "end 1 " + std::to_string(kReasonNormalClearing)}));
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(calls.ringingCount(), 0u);
}

TEST_F(CallMonitorCallsTest, BadLinesAreReportedAndSkippedRejectingOnlySaysItCannot) {
    calls.handleLine("01.02.24 10:00:00;RING;0;not a number;4711;SIP0;");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "--> Call monitor line skipped (bad caller \"not a number\")");
    calls.handleLine("01.02.24 10:00:00;RING;5;0301;4711;SIP0;");
    calls.rejectCall(5);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1], "--> Rejecting is not possible on the call monitor: call 5 rings on");
    // A RING for an id that still rings ends the old call first: its end was lost.
    calls.handleLine("01.02.24 10:01:00;RING;5;0302;4711;SIP0;");
    EXPECT_EQ(seen, (std::vector<std::string>{"ring 5 0301 -> 4711",
                                              "end 5 " + std::to_string(kReasonLineLost),
                                              "ring 5 0302 -> 4711"}));
    calls.forgetCalls();
    calls.handleLine("01.02.24 10:01:05;DISCONNECT;5;0;");
    EXPECT_EQ(seen.size(), 3u);
}

TEST(ReconnectBackoff, DoublesUpToTheCapAndStartsOverWhenReset) {
    ReconnectBackoff backoff(10ms, 25ms);
    for (const auto delay : {10ms, 20ms, 25ms, 25ms}) {
        EXPECT_EQ(backoff.nextDelay(), delay);
    }
    backoff.reset();
    EXPECT_EQ(backoff.nextDelay(), 10ms);
}
