#include "line/CapiApplication.h"
#include "line/SimulatedLine.h"
#include "support/FakeCapiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using line_test::FakeCapiDriver;
using line_test::hexBytes;

using line_test::callOn;

namespace {

/// CapiApplication over a driver, with every event counted and every Status text kept.
template <class Driver> class CapiOver : public ::testing::Test {
protected:
    CapiOver() {
        auto owned = std::make_unique<Driver>();
        driver = owned.get();
        capi = std::make_unique<CapiApplication>(std::move(owned));
        capi->setCallerTexts(line_test::englishCallerTexts());
        capi->events.incomingCall = [this] { ++incoming; };
        capi->events.callDisconnected = [this] { ++disconnects; };
        capi->events.statusChanged = [this] { statuses.push_back(capi->statusText()); };
        capi->events.errorReported = [this] { errors.push_back(capi->errorText()); };
    }

    Driver* driver = nullptr;
    std::unique_ptr<CapiApplication> capi;
    int incoming = 0;
    int disconnects = 0;
    std::vector<std::string> statuses;
    std::vector<std::string> errors;
};

class CapiWithFakeDriver : public CapiOver<FakeCapiDriver> {
protected:
    void registered() {
        ASSERT_TRUE(capi->registerApplication());
        statuses.clear();
    }
};

capi::Message connectInd(std::uint32_t plci) {
    return capi::encodeConnectInd(1, 1, callOn(plci, "12345", "3012345678"));
}

} // namespace

TEST_F(CapiWithFakeDriver, RegisterAndRelease) {
    EXPECT_FALSE(capi->release());
    EXPECT_EQ(capi->errorText(), "--> ERR: You are not registered, so you cannot release!");
    EXPECT_TRUE(capi->registerApplication());
    EXPECT_EQ(capi->statusText(), "--> CAPI_REGISTER");
    EXPECT_FALSE(capi->registerApplication());
    EXPECT_EQ(capi->errorText(), "--> ERR: You are already registered!");
    EXPECT_EQ(driver->registerCalls, 1);

    driver->releaseResult = 0x1101; // refused: still registered, yet Release answers true
    EXPECT_TRUE(capi->release());
    EXPECT_TRUE(capi->isRegistered());
    EXPECT_EQ(capi->errorText(), "--> ERR: 0x1101 Illegal application number");
    driver->releaseResult = 0;
    EXPECT_TRUE(capi->release());
    EXPECT_FALSE(capi->isRegistered());
    EXPECT_EQ(capi->statusText(), "--> CAPI_RELEASE");
}

TEST_F(CapiWithFakeDriver, RegisterRefusedOrLibraryMissing) {
    driver->registerResult = 0x1001;
    EXPECT_FALSE(capi->registerApplication());
    EXPECT_FALSE(capi->isRegistered());
    EXPECT_EQ(capi->errorText(), "--> ERR: 0x1001 Too many applications");
    EXPECT_EQ(statuses, std::vector<std::string>{"--> CAPI_REGISTER"});

    driver->failure = "libcapi20.so.3: cannot open shared object file";
    EXPECT_FALSE(capi->registerApplication());
    EXPECT_EQ(capi->errorText(), "--> ERR: 53 - libcapi20.so.3: cannot open shared object file");
    EXPECT_EQ(driver->registerCalls, 1);
}

TEST_F(CapiWithFakeDriver, ListenPutsTheRequestFetchesOnceAndAnEmptyQueueIsSilent) {
    registered();
    driver->queueMessage(capi::encodeConfirmation(1, capi::kListen, 1, 1, 0x2005));
    EXPECT_TRUE(capi->listen());
    capi->fetchMessage(); // an empty queue says nothing
    ASSERT_EQ(driver->puts.size(), 1u);
    EXPECT_EQ(driver->puts[0], capi::encodeListenReq(1));
    // The confirmation is named but its info value not examined.
    EXPECT_EQ(statuses, (std::vector<std::string>{"--> CAPI_LISTEN - CAPI_REQ",
                                                  "--> CAPI_LISTEN - CAPI_CONF"}));
    EXPECT_TRUE(errors.empty());

    driver->putResult = 0x1103;
    EXPECT_FALSE(capi->listen());
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(CapiWithFakeDriver, IncomingCallIsDecodedThenAlerted) {
    registered();
    capi->events.incomingCall = [this] {
        ++incoming;
        EXPECT_EQ(capi->callerId(), "03012345678");
        EXPECT_EQ(capi->calledMsn(), "12345");
        EXPECT_EQ(capi->cip(), 1);
        EXPECT_EQ(capi->eventPlci(), 0x101u);
        EXPECT_TRUE(driver->puts.empty()); // the alert comes after the receiver
    };
    driver->queueMessage(connectInd(0x101));
    EXPECT_EQ(capi->drainMessages(), 1);
    EXPECT_EQ(incoming, 1);
    ASSERT_EQ(driver->puts.size(), 1u);
    EXPECT_EQ(driver->puts[0], capi::encodeAlertReq(1, 0x101));
}

TEST_F(CapiWithFakeDriver, OnlyIndicationsAreHandled) {
    registered();
    auto conf = connectInd(0x101);
    conf[5] = capi::kConf;
    driver->queueMessage(conf);
    driver->queueMessage(capi::encodeConfirmation(1, capi::kDisconnect, 0, 0x101, 0));
    EXPECT_EQ(capi->drainMessages(), 2);
    EXPECT_EQ(incoming, 0);
    EXPECT_EQ(disconnects, 0);
    EXPECT_TRUE(driver->puts.empty());
}

TEST_F(CapiWithFakeDriver, DisconnectAndInfoAreAnswered) {
    registered();
    driver->queueMessage(capi::encodeDisconnectInd(1, 2, 0x201, 0x349A));
    driver->queueMessage(capi::encodeInfoInd(1, 3, 0x301));
    capi->events.callDisconnected = [this] {
        EXPECT_EQ(capi->disconnectReason(), 0x349A);
        EXPECT_EQ(capi->eventPlci(), 0x201u);
        ++disconnects;
    };
    // The put after the disconnect fetches the INFO_IND at once (nested handling).
    capi->fetchMessage();
    EXPECT_EQ(disconnects, 1);
    ASSERT_EQ(driver->puts.size(), 2u);
    EXPECT_EQ(driver->puts[0], capi::encodeDisconnectResp(1, 0x201));
    EXPECT_EQ(driver->puts[1], capi::encodeInfoResp(1, 0x301));
}

TEST_F(CapiWithFakeDriver, RejectCallStopsWhenTheAcceptanceIsRefused) {
    registered();
    driver->queueMessage(connectInd(0x101));
    capi->fetchMessage();
    driver->puts.clear();
    driver->putResult = 0x2001;
    capi->rejectCall(0x101);
    ASSERT_EQ(driver->puts.size(), 1u);
    EXPECT_EQ(driver->puts[0], capi::encodeConnectResp(1, 0x101));
    EXPECT_EQ(capi->errorText(), "--> ERR: 0x2001 Message not supported in current state");
}

TEST_F(CapiWithFakeDriver, MalformedMessagesAreNamedReportedAndSkipped) {
    registered();
    driver->queueMessage(hexBytes("05 00 01 00 02 82 00 00 01 01")); // length below 8
    driver->queueMessage(hexBytes("40 00 01 00 02 82 00 00 01 01")); // claims 64 bytes, holds 10
    driver->queueMessage(hexBytes("02 00"));                         // header cut short
    driver->queueMessage({});                                        // nothing at all
    driver->queueMessage(hexBytes("08 00 01 00 02 82 00 00")); // a CONNECT_IND offering no call
    EXPECT_EQ(capi->drainMessages(), 5);
    EXPECT_EQ(incoming, 0);
    EXPECT_TRUE(driver->puts.empty());
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(statuses[0], "--> CAPI_CONNECT - CAPI_IND");
    EXPECT_EQ(errors[1], "--> ERR: Malformed message skipped: length field 64, 10 bytes received");
}

TEST_F(CapiWithFakeDriver, FetchErrorsStopTheDrainAndALostLineStopsFetchingUntilRegisteredAgain) {
    struct Case {
        std::uint32_t result;
        bool lost;
    };
    for (const Case& c : {Case{0x1107, false}, Case{0x1105, true}, Case{0x1101, true},
                          Case{0x1108, true}, Case{CapiDriver::kDriverFault, true}}) {
        SCOPED_TRACE(c.result);
        registered();
        errors.clear();
        driver->queue.push_back({{}, c.result});
        driver->queueMessage(connectInd(0x101));
        EXPECT_EQ(capi->drainMessages(), 0);
        ASSERT_EQ(errors.size(), 1u);
        if (c.result == CapiDriver::kDriverFault) {
            EXPECT_EQ(errors[0], "--> ERR: fake fault");
        }
        EXPECT_EQ(capi->isLineLost(), c.lost);
        if (c.lost) {
            // Nothing more is fetched from a line that is gone, until it is registered anew.
            EXPECT_EQ(capi->drainMessages(), 0);
            capi->releaseLostLine();
            EXPECT_FALSE(capi->isRegistered());
            EXPECT_FALSE(capi->isLineLost());
            registered();
        }
        EXPECT_EQ(capi->drainMessages(), 1);
        capi->releaseLostLine();
    }
}

TEST_F(CapiWithFakeDriver, DrainStopsAtItsLimit) {
    registered();
    for (int i = 0; i < 100; ++i) {
        driver->queueMessage(capi::encodeConfirmation(1, capi::kAlert, 0, 0x101, 0));
    }
    EXPECT_EQ(capi->drainMessages(), 64);
    EXPECT_EQ(capi->drainMessages(10), 10);
    EXPECT_EQ(capi->drainMessages(), 26);
}

TEST_F(CapiWithFakeDriver, BurstOfCallsDoesNotNestWithoutBound) {
    registered();
    for (std::uint32_t i = 0; i < 5000; ++i) {
        driver->queueMessage(connectInd(0x100 + i));
    }
    while (capi->drainMessages() > 0) {
    }
    EXPECT_EQ(incoming, 5000);
    EXPECT_EQ(driver->puts.size(), 5000u);
}

// A driver that answers no query leaves every diagnostic empty and reports each failure.
TEST_F(CapiWithFakeDriver, FailedDiagnosticsAreEmptyAndReported) {
    driver->queryResult = 0x1009;
    EXPECT_EQ(capi->manufacturer(), "");
    EXPECT_EQ(capi->version(), "");
    EXPECT_EQ(capi->profile(), "");
    EXPECT_EQ(capi->serialNumber(), "");
    EXPECT_FALSE(capi->isInstalled());
    EXPECT_EQ(errors.size(), 5u);
}

TEST_F(CapiWithFakeDriver, TestCallsTouchNoDriverAndKeepThePlci) {
    registered();
    driver->queueMessage(connectInd(0x101));
    capi->fetchMessage();
    driver->puts.clear();
    capi->simulateIncomingCall();
    capi->simulateDisconnect();
    EXPECT_EQ(incoming, 2);
    EXPECT_EQ(disconnects, 1);
    EXPECT_EQ(capi->disconnectReason(), 0x3490);
    EXPECT_EQ(capi->eventPlci(), 0x101u);
    EXPECT_TRUE(driver->puts.empty());
}

// --- over the simulated line ---------------------------------------------------------------------

namespace {

class CapiOnSimulatedLine : public CapiOver<SimulatedLine> {
protected:
    void SetUp() override {
        ASSERT_TRUE(capi->registerApplication());
        ASSERT_TRUE(capi->listen());
    }
    SimulatedLine* line = driver;
};

} // namespace

TEST_F(CapiOnSimulatedLine, RejectedCallIsAcceptedClearedAndEveryIndicationAnswered) {
    capi->events.incomingCall = [this] { capi->rejectCall(capi->eventPlci()); };
    line->injectCall(callOn(0x101));
    while (capi->drainMessages() > 0) {
    }
    EXPECT_EQ(disconnects, 1);
    EXPECT_EQ(capi->disconnectReason(), 0);
    EXPECT_TRUE(line->callsInProgress().empty());
    EXPECT_EQ(line_test::transcriptNames(line->transcript()),
              (std::vector<std::string>{
                  "-> CAPI_LISTEN - CAPI_REQ", "<- CAPI_LISTEN - CAPI_CONF",
                  "<- CAPI_CONNECT - CAPI_IND", "-> CAPI_CONNECT - CAPI_RESP",
                  "<- CAPI_CONNECT_ACTIVE - CAPI_IND", "-> CAPI_CONNECT_ACTIVE - CAPI_RESP",
                  "-> CAPI_DISCONNECT - CAPI_REQ", "<- CAPI_DISCONNECT - CAPI_CONF",
                  "<- CAPI_DISCONNECT - CAPI_IND", "-> CAPI_ALERT - CAPI_REQ",
                  "<- CAPI_ALERT - CAPI_CONF", "-> CAPI_DISCONNECT - CAPI_RESP"}));
}

TEST_F(CapiOnSimulatedLine, RejectingAnswersOnlyItsOwnCallOnceWhileTheNextIsQueued) {
    const auto count = [this](const std::string& name) {
        return std::ranges::count(line_test::transcriptNames(line->transcript()), name);
    };
    capi->events.incomingCall = [this] {
        if (capi->eventPlci() == 0x101) {
            capi->rejectCall(0x101);
            capi->rejectCall(0x101); // a second rule, or the user's button
        }
    };
    line->injectCall(callOn(0x101));
    line->injectCall(callOn(0x201));
    while (capi->drainMessages() > 0) {
    }
    // One answer in all: the other call is still in progress.
    EXPECT_EQ(count("-> CAPI_CONNECT - CAPI_RESP"), 1);
    EXPECT_EQ(count("-> CAPI_DISCONNECT - CAPI_REQ"), 1);
    EXPECT_EQ(line->callsInProgress(), std::vector<std::uint32_t>{0x201});
    // Once cleared, the call is not answered again.
    capi->rejectCall(0x101);
    EXPECT_EQ(count("-> CAPI_CONNECT - CAPI_RESP"), 1);
}

TEST_F(CapiOnSimulatedLine, AlertForAGoneCallIsConfirmedWithIllegalPlci) {
    // The receiver hangs up on the line before the alert: the line no longer knows the PLCI
    // once the DISCONNECT_RESP has been taken.
    capi->events.incomingCall = [&] {
        line->injectHangup(0x101);
        capi->fetchMessage(); // DISCONNECT_IND, answered at once
    };
    line->injectCall(callOn(0x101));
    while (capi->drainMessages() > 0) {
    }
    // Confirmations are only named; the refusal shows in the line's answer.
    EXPECT_TRUE(errors.empty());
    const auto transcript = line->transcript();
    ASSERT_FALSE(transcript.empty());
    EXPECT_NE(transcript.back().find("<- CAPI_ALERT - CAPI_CONF"), std::string::npos);
    EXPECT_TRUE(transcript.back().ends_with(" 01 01 00 00 02 20")) << transcript.back();
}

TEST_F(CapiOnSimulatedLine, DroppedLineIsReportedOnceRefusesRegistrationAndComesBack) {
    line->injectCall(callOn(0x101));
    capi->drainMessages();
    line->dropLine();
    EXPECT_TRUE(line->callsInProgress().empty());
    EXPECT_EQ(capi->drainMessages(), 0);
    EXPECT_TRUE(capi->isLineLost());
    EXPECT_EQ(capi->errorText(),
              "--> ERR: Connection to the CAPI lost: the simulated line was dropped");
    // A call placed while nobody listens never arrives.
    line->injectCall(callOn(0x102));
    capi->releaseLostLine();
    EXPECT_FALSE(capi->registerApplication());
    EXPECT_EQ(capi->lastError(), "0x1009 Not COMMON - ISDN - API");

    line->restoreLine();
    ASSERT_TRUE(capi->registerApplication());
    ASSERT_TRUE(capi->listen());
    line->injectCall(callOn(0x103));
    capi->drainMessages();
    EXPECT_EQ(incoming, 2);
    EXPECT_EQ(capi->eventPlci(), 0x103u);
    const auto transcript = line->transcript();
    EXPECT_EQ(std::count_if(transcript.begin(), transcript.end(),
                            [](const std::string& entry) {
                                return entry.ends_with("-- line dropped") ||
                                       entry.ends_with("-- line restored");
                            }),
              2);
}
