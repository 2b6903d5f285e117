#pragma once

#include "calls/CallerTexts.h"
#include "line/CapiApplication.h"
#include "line/CapiDriver.h"
#include "line/CapiMessages.h"
#include "stores/LanguageTable.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace line_test {

/// Bytes from text such as "1a 00 01".
inline capi::Message hexBytes(const std::string& text) {
    std::istringstream in(text);
    capi::Message bytes;
    std::string word;
    while (in >> word) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}

/// A call as the line offers it.
inline capi::IncomingCallElements callOn(std::uint32_t plci, const char* called = "12345",
                                         const char* calling = "89123456") {
    capi::IncomingCallElements call;
    call.plci = plci;
    call.calledDigits = called;
    call.callingDigits = calling;
    return call;
}

/// The caller texts of the English language table.
inline capi::CallerTexts englishCallerTexts() {
    return callerTextsFrom(LanguageTable());
}

/// "-> CAPI_ALERT - CAPI_REQ" for each transcript line: direction and names without time and
/// bytes.
inline std::vector<std::string> transcriptNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    for (const auto& line : lines) {
        std::istringstream in(line);
        std::string time, direction, command, dash, subcommand;
        in >> time >> direction >> command >> dash >> subcommand;
        names.push_back(direction + " " + command + " - " + subcommand);
    }
    return names;
}

/// A CapiApplication over a real driver (a library loaded by path), with every error text,
/// caller and disconnect recorded.
struct RecordedCapi {
    std::unique_ptr<CapiApplication> open(std::unique_ptr<CapiDriver> driver) {
        auto capi = std::make_unique<CapiApplication>(std::move(driver));
        capi->setCallerTexts(englishCallerTexts());
        auto* raw = capi.get();
        capi->events.errorReported = [this, raw] { errors.push_back(raw->errorText()); };
        capi->events.incomingCall = [this, raw] { calls.push_back(raw->callerId()); };
        capi->events.callDisconnected = [this] { ++disconnects; };
        return capi;
    }

    std::vector<std::string> errors;
    std::vector<std::string> calls;
    int disconnects = 0;
};

/// A scripted driver: hands out queued byte strings (each in a heap block of exactly its size,
/// so that the sanitizer sees any read beyond it), records every put and answers with set
/// results.
class FakeCapiDriver : public CapiDriver {
public:
    struct Queued {
        capi::Message bytes;
        std::uint32_t result = 0;
    };

    std::deque<Queued> queue;
    std::vector<capi::Message> puts;
    std::uint32_t registerResult = 0;
    std::uint32_t releaseResult = 0;
    std::uint32_t putResult = 0;
    std::uint32_t queryResult = 0;
    std::optional<std::string> failure;
    std::uint8_t profile[64] = {};
    int registerCalls = 0;

    void queueMessage(capi::Message bytes) { queue.push_back({std::move(bytes), 0}); }

    std::optional<std::string> loadFailure() const override { return failure; }
    std::string faultDescription() const override { return "fake fault"; }

    std::uint32_t registerApplication(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                      std::uint32_t& applId) override {
        ++registerCalls;
        if (registerResult == 0) {
            applId = 1;
        }
        return registerResult;
    }
    std::uint32_t releaseApplication(std::uint32_t) override { return releaseResult; }
    std::uint32_t putMessage(std::uint32_t, const std::uint8_t* message) override {
        const auto length = capi::readLE(message, 2, 0, 2);
        puts.emplace_back(message, message + length);
        return putResult;
    }
    std::uint32_t getMessage(std::uint32_t, CapiMessageView& message) override {
        if (queue.empty()) {
            return capi::kQueueEmpty;
        }
        auto next = std::move(queue.front());
        queue.pop_front();
        if (next.result != 0) {
            return next.result;
        }
        m_held = std::make_unique<std::uint8_t[]>(next.bytes.size());
        std::copy(next.bytes.begin(), next.bytes.end(), m_held.get());
        message.data = m_held.get();
        message.size = next.bytes.size();
        return 0;
    }
    std::uint32_t getManufacturer(char* buffer64) override {
        std::fill_n(buffer64, 64, 'M');
        return queryResult;
    }
    std::uint32_t getVersion(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c,
                             std::uint32_t& d) override {
        a = 2;
        b = 0;
        c = 3;
        d = 11;
        return queryResult;
    }
    std::uint32_t getSerialNumber(char* buffer8) override {
        std::copy_n("12345678", 8, buffer8);
        return queryResult;
    }
    std::uint32_t getProfile(std::uint8_t* buffer64, std::uint32_t) override {
        std::copy(profile, profile + 64, buffer64);
        return queryResult;
    }
    std::uint32_t isInstalled() override { return queryResult; }

private:
    std::unique_ptr<std::uint8_t[]> m_held;
};

} // namespace line_test
