// CAPI messages from the driver: the input is a run of messages, each a length byte and that
// many bytes, handed to the CAPI application as a driver would; every body also goes through
// the CONNECT_IND decoder on an exact-size heap copy, whose numbers never hold a blank (not
// even from a caller text that has one).
#include "FuzzInput.h"
#include "line/CapiApplication.h"
#include "line/CapiMessages.h"
#include "support/FakeCapiDriver.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const capi::CallerTexts texts{"Anony mous", "Anonymous-", "Unavailable", "Unknown"};
    auto owned = std::make_unique<line_test::FakeCapiDriver>();
    auto* driver = owned.get();
    CapiApplication capi(std::move(owned));
    capi.setCallerTexts(texts);
    if (!capi.registerApplication()) {
        return 0;
    }
    bool reject = false;
    capi.events.incomingCall = [&] {
        if (std::exchange(reject, !reject)) {
            capi.rejectCall(capi.eventPlci());
        }
    };
    std::size_t at = 0;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        capi::Message message(data + at + 1, data + at + 1 + length);
        at += 1 + length;
        auto body = std::make_unique<std::uint8_t[]>(message.size());
        std::copy(message.begin(), message.end(), body.get());
        const auto call = capi::decodeConnectInd(body.get(), message.size(), texts);
        if (call.callerID.find(' ') != std::string::npos ||
            call.calledMSN.find(' ') != std::string::npos) {
            std::abort();
        }
        driver->queueMessage(std::move(message));
    }
    while (!driver->queue.empty()) {
        capi.drainMessages();
    }
    return 0;
}
