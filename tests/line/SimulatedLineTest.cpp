#include "line/SimulatedLine.h"
#include "line/CapiApplication.h"
#include "line/CapiDriverFactory.h"
#include "line/Scenario.h"
#include "support/FakeCapiDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <regex>

using Kind = ScenarioStep::Kind;

TEST(ScenarioParser, CommandsKeysAndDefaults) {
    const auto scenario = parseScenario("\xEF\xBB\xBF# demo\r\n"
                                        "\n"
                                        "wait 1.5\r\n"
                                        "call calling=301234 called=5551 plci=0x101  # comment\n"
                                        "call plci=258 called=1 calling=none cip=16 controller=2\n"
                                        "call plci=3 called=1 calling= octet3=0x01 octet3a=0xA0\n"
                                        "hangup plci=0x101\n"
                                        "hangup reason=0x349a plci=0x101\n"
                                        "info plci=7\n"
                                        "raw 0c 00 0x01 0 ff\n"
                                        "transcript out/line transcript.txt\n"
                                        "drop\n"
                                        "restore\n");
    EXPECT_TRUE(scenario.problems.empty());
    ASSERT_EQ(scenario.steps.size(), 11u);
    EXPECT_EQ(scenario.steps[0].kind, Kind::Wait);
    EXPECT_DOUBLE_EQ(scenario.steps[0].seconds, 1.5);
    EXPECT_EQ(scenario.steps[0].line, 3);

    const auto& first = scenario.steps[1].call;
    EXPECT_EQ(first.plci, 0x101u);
    EXPECT_EQ(first.calledDigits, "5551");
    EXPECT_EQ(first.callingDigits, "301234");
    EXPECT_EQ(first.octet3, 0x21);
    EXPECT_EQ(first.octet3a, 0x80);
    EXPECT_EQ(first.cip, 1);

    const auto& second = scenario.steps[2].call;
    EXPECT_EQ(second.plci, 0x102u); // controller 2 in the low byte
    EXPECT_FALSE(second.callingDigits.has_value());
    EXPECT_EQ(second.cip, 16);

    const auto& withheld = scenario.steps[3].call;
    EXPECT_EQ(withheld.callingDigits, "");
    EXPECT_EQ(withheld.octet3a, 0xA0);

    EXPECT_EQ(scenario.steps[4].reason, 0x3490);
    EXPECT_EQ(scenario.steps[5].reason, 0x349A);
    EXPECT_EQ(scenario.steps[6].kind, Kind::Info);
    EXPECT_EQ(scenario.steps[7].raw, line_test::hexBytes("0c 00 01 00 ff"));
    EXPECT_EQ(scenario.steps[8].path, "out/line transcript.txt");
    EXPECT_EQ(scenario.steps[9].kind, Kind::Drop);
    EXPECT_EQ(scenario.steps[10].kind, Kind::Restore);
}

TEST(ScenarioParser, MalformedLinesAreReportedAndSkipped) {
    const auto scenario = parseScenario("dial 123\n"                                  // 1
                                        "wait\n"                                      // 2
                                        "wait -1\n"                                   // 3
                                        "wait soon\n"                                 // 4
                                        "call plci=1 called=12\n"                     // 5
                                        "call plci=1 called=1a calling=2\n"           // 6
                                        "call plci=x called=1 calling=2\n"            // 7
                                        "call plci=1 plci=2 called=1 calling=2\n"     // 8
                                        "call plci=1 called=1 calling=2 color=red\n"  // 9
                                        "hangup plci=1 reason=0x10000\n"              // 10
                                        "hangup\n"                                    // 11
                                        "raw\n"                                       // 12
                                        "raw 100\n"                                   // 13
                                        "transcript\n"                                // 14
                                        "call plci=1 called=1 calling=2 octet3=256\n" // 15
                                        "info 5\n"                                    // 16
                                        "drop now\n"                                  // 17
                                        "wait 2\n");                                  // 18: fine
    ASSERT_EQ(scenario.steps.size(), 1u);
    EXPECT_EQ(scenario.steps[0].line, 18);
    ASSERT_EQ(scenario.problems.size(), 17u);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(scenario.problems[i].line, i + 1);
        EXPECT_FALSE(scenario.problems[i].reason.empty());
    }
    EXPECT_EQ(scenario.problems[0].reason, "unknown command \"dial\"");
    EXPECT_EQ(scenario.problems[4].reason, "missing calling=");
    EXPECT_EQ(scenario.problems[7].reason, "key \"plci\" given twice");
}

TEST(ScenarioParser, DemoScenarioIsClean) {
    const auto scenario =
        readScenarioFile(std::string(RUFWACHT_SOURCE_DIR) + "/data/demo/calls.scenario");
    ASSERT_TRUE(scenario.has_value());
    EXPECT_TRUE(scenario->problems.empty());
    EXPECT_GE(std::count_if(scenario->steps.begin(), scenario->steps.end(),
                            [](const auto& step) { return step.kind == Kind::Call; }),
              6);
}

namespace {

/// Waits on the readiness handle and drains, as the controller does, until the line has played
/// its scenario and nothing is queued.
void runUntilIdle(CapiApplication& capi, SimulatedLine& line) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{capi.readinessHandle(), POLLIN, 0};
        ::poll(&ready, 1, 20);
        capi.drainMessages();
        if (line.waitForScenarioEnd(std::chrono::milliseconds(0)) && line.queuedMessages() == 0) {
            return;
        }
    }
    FAIL() << "the scenario did not end";
}

} // namespace

TEST(SimulatedLineEndToEnd, ScenarioCallAndHangUpRaiseTheEventsAndWriteTheTranscript) {
    TempDir dir;
    const auto scenarioPath =
        dir.write("test.scenario", "transcript line.txt\n"
                                   "wait 0.05\n"
                                   "call plci=0x101 called=5551 calling=8912345\n"
                                   "call plci=0x201 called=5551 calling=1 cip=2\n"
                                   "wait 0.05\n"
                                   "hangup plci=0x101\n");
    std::string error;
    auto driver = makeCapiDriver("sim:" + scenarioPath, "", error);
    ASSERT_TRUE(driver) << error;
    auto* line = dynamic_cast<SimulatedLine*>(driver.get());
    ASSERT_NE(line, nullptr);
    CapiApplication capi(std::move(driver));
    capi.setCallerTexts(line_test::englishCallerTexts());

    std::vector<std::string> events;
    capi.events.incomingCall = [&] {
        events.push_back("call " + capi.callerId() + " to " + capi.calledMsn() + " plci " +
                         std::to_string(capi.eventPlci()));
    };
    capi.events.callDisconnected = [&] {
        events.push_back("end " + std::to_string(capi.disconnectReason()) + " plci " +
                         std::to_string(capi.eventPlci()));
    };
    ASSERT_TRUE(capi.registerApplication());
    ASSERT_TRUE(capi.listen());
    runUntilIdle(capi, *line);

    // The data call (CIP 2) is not what the program listens for: the line never offers it.
    EXPECT_EQ(events,
              (std::vector<std::string>{"call 08912345 to 5551 plci 257", "end 13456 plci 257"}));
    const auto file = dir.read("line.txt");
    const std::regex lineFormat(
        R"(^\d+\.\d{3} (<-|->) CAPI_[A-Z_]+ - CAPI_[A-Z]+( [0-9a-f]{2})+$)");
    std::vector<std::string> lines;
    std::istringstream in(file);
    for (std::string text; std::getline(in, text);) {
        EXPECT_TRUE(std::regex_match(text, lineFormat)) << text;
        lines.push_back(text);
    }
    ASSERT_EQ(
        line_test::transcriptNames(lines),
        (std::vector<std::string>{"<- CAPI_CONNECT - CAPI_IND", "-> CAPI_ALERT - CAPI_REQ",
                                  "<- CAPI_ALERT - CAPI_CONF", "<- CAPI_DISCONNECT - CAPI_IND",
                                  "-> CAPI_DISCONNECT - CAPI_RESP"}));
    // The first call came about 50 ms after the listen request.
    EXPECT_GE(std::stod(lines[0]), 45.0);
}

TEST(SimulatedLineEndToEnd, InjectedCallWakesTheReadinessHandle) {
    SimulatedLine line;
    std::uint32_t applId = 0;
    ASSERT_EQ(line.registerApplication(3072, 2, 7, 2048, applId), 0u);
    const auto listen = capi::encodeListenReq(static_cast<std::uint16_t>(applId));
    ASSERT_EQ(line.putMessage(applId, listen.data()), 0u);
    pollfd ready{line.readinessHandle(), POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 1); // the LISTEN_CONF waits
    CapiMessageView message;
    ASSERT_EQ(line.getMessage(applId, message), 0u);
    EXPECT_EQ(::poll(&ready, 1, 0), 0);
    EXPECT_EQ(line.getMessage(applId, message), capi::kQueueEmpty);

    capi::IncomingCallElements call;
    call.plci = 0x101;
    line.injectCall(call);
    EXPECT_EQ(::poll(&ready, 1, 0), 1);
    EXPECT_EQ(line.getMessage(applId + 1, message), capi::kIllegalApplication);
    ASSERT_EQ(line.getMessage(applId, message), 0u);
    EXPECT_EQ(capi::decodeHeader(message.data, message.size).command, capi::kConnect);

    // Unknown PLCI: the request is confirmed with 0x2002.
    const auto disconnect = capi::encodeDisconnectReq(static_cast<std::uint16_t>(applId), 0x999);
    ASSERT_EQ(line.putMessage(applId, disconnect.data()), 0u);
    ASSERT_EQ(line.getMessage(applId, message), 0u);
    EXPECT_EQ(capi::readLE(message.data, message.size, 12, 2), 0x2002u);
    EXPECT_EQ(line.releaseApplication(applId), 0u);
    EXPECT_EQ(line.releaseApplication(applId), capi::kIllegalApplication);
}

TEST(SimulatedLineEndToEnd, ShutsDownInTheMiddleOfALongWait) {
    const auto started = std::chrono::steady_clock::now();
    {
        auto scenario = parseScenario("wait 3600\ncall plci=1 called=1 calling=2\n");
        SimulatedLine line(std::move(scenario));
        std::uint32_t applId = 0;
        line.registerApplication(3072, 2, 7, 2048, applId);
        const auto listen = capi::encodeListenReq(static_cast<std::uint16_t>(applId));
        line.putMessage(applId, listen.data());
        EXPECT_FALSE(line.waitForScenarioEnd(std::chrono::milliseconds(20)));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST(CapiDriverFactory, Specs) {
    std::string error;
    EXPECT_TRUE(makeCapiDriver("", "", error));
    EXPECT_TRUE(makeCapiDriver("capi", "", error));
    EXPECT_FALSE(makeCapiDriver("isdn", "", error));
    EXPECT_EQ(error,
              "Unknown line \"isdn\": use capi, capi:LIBRARY, sim:FILE or callmonitor:HOST[:PORT]");
    // Another library by path: a missing one still gives a driver, whose registration fails.
    const auto other = makeCapiDriver("capi:/nonexistent/libcapi.so", "", error);
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->loadFailure().has_value());
    EXPECT_FALSE(makeCapiDriver("sim:", "", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(makeCapiDriver("sim:/nonexistent/x.scenario", "", error));
    EXPECT_EQ(error, "Scenario file not found: /nonexistent/x.scenario");
}
