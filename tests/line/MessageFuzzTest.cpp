// A long seeded random run over the decoder and CapiApplication: random and mutated messages,
// random driver results and receivers that turn calls away. Run under the sanitizers, any read
// outside a message or any undefined behaviour ends the test.

#include "line/CapiApplication.h"
#include "line/CapiMessages.h"
#include "support/FakeCapiDriver.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class MessageSource {
public:
    explicit MessageSource(std::uint32_t seed) : m_random(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    std::uint8_t byte() { return static_cast<std::uint8_t>(below(256)); }

    capi::Message randomBytes() {
        capi::Message bytes(static_cast<std::size_t>(below(140)));
        for (auto& b : bytes) {
            b = byte();
        }
        return bytes;
    }

    capi::Message validMessage() {
        capi::IncomingCallElements call;
        call.plci = static_cast<std::uint32_t>(below(4)) + 0x101;
        call.cip = static_cast<std::uint16_t>(below(30));
        call.calledDigits = digits(below(12));
        if (below(5) > 0) {
            call.callingDigits = digits(below(16));
        }
        call.octet3 = byte();
        call.octet3a = byte();
        switch (below(5)) {
        case 0:
            return capi::encodeDisconnectInd(1, 0, call.plci,
                                             static_cast<std::uint16_t>(below(0x10000)));
        case 1:
            return capi::encodeInfoInd(1, 0, call.plci);
        case 2:
            return capi::encodeConnectActiveInd(1, 0, call.plci);
        default:
            return capi::encodeConnectInd(1, 0, call);
        }
    }

    /// A valid message with bytes flipped, cut short, lengthened or its length field changed.
    capi::Message mutated() {
        auto bytes = validMessage();
        const int mutations = 1 + below(4);
        for (int i = 0; i < mutations; ++i) {
            switch (below(5)) {
            case 0:
                if (!bytes.empty()) {
                    bytes[static_cast<std::size_t>(below(static_cast<int>(bytes.size())))] = byte();
                }
                break;
            case 1:
                bytes.resize(static_cast<std::size_t>(below(static_cast<int>(bytes.size()) + 1)));
                break;
            case 2:
                bytes.resize(bytes.size() + static_cast<std::size_t>(below(300)), byte());
                break;
            case 3:
                if (bytes.size() >= 2) {
                    bytes[0] = static_cast<std::uint8_t>(below(static_cast<int>(bytes.size()) + 1));
                    bytes[1] = 0;
                }
                break;
            default:
                if (bytes.size() > 9) {
                    bytes[8 + 6] = byte(); // the called party number's length
                }
                break;
            }
        }
        return bytes;
    }

private:
    std::string digits(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text.push_back(static_cast<char>(below(4) == 0 ? byte() : '0' + below(10)));
        }
        return text;
    }

    std::mt19937 m_random;
};

} // namespace

TEST(MessageFuzz, DecoderNeverReadsOutsideTheBody) {
    MessageSource source(20240601);
    const capi::CallerTexts texts{"Anony mous", "Anonymous-", "Unavailable", "Unknown"};
    for (int i = 0; i < 100000; ++i) {
        const auto bytes = i % 2 ? source.randomBytes() : source.mutated();
        // An exact-size heap copy, so that a read past the end is caught.
        auto body = std::make_unique<std::uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), body.get());
        const auto call = capi::decodeConnectInd(body.get(), bytes.size(), texts);
        ASSERT_EQ(call.callerID.find(' '), std::string::npos);
        ASSERT_EQ(call.calledMSN.find(' '), std::string::npos);
    }
}

TEST(MessageFuzz, CapiSurvivesGarbageFromTheDriver) {
    MessageSource source(4711);
    auto owned = std::make_unique<line_test::FakeCapiDriver>();
    auto* driver = owned.get();
    CapiApplication capi(std::move(owned));
    capi.setCallerTexts(line_test::englishCallerTexts());
    ASSERT_TRUE(capi.registerApplication());
    int incoming = 0;
    int errors = 0;
    capi.events.incomingCall = [&] {
        ++incoming;
        if (source.below(3) == 0) {
            capi.rejectCall(capi.eventPlci());
        }
    };
    capi.events.errorReported = [&] { ++errors; };
    driver->onPut = [&](const capi::Message&) {
        driver->putResult =
            source.below(10) == 0 ? static_cast<std::uint32_t>(source.below(0x4000)) : 0;
        if (source.below(4) == 0) {
            driver->queueMessage(source.mutated());
        }
    };

    int fed = 0;
    while (fed < 100000) {
        const int burst = 1 + source.below(8);
        for (int i = 0; i < burst; ++i, ++fed) {
            if (source.below(20) == 0) {
                driver->queue.push_back({{}, static_cast<std::uint32_t>(source.below(0x4000))});
            } else {
                driver->queueMessage(source.below(3) == 0 ? source.randomBytes()
                                                          : source.mutated());
            }
        }
        while (!driver->queue.empty()) {
            capi.drainMessages();
        }
    }
    // The run must have reached the interesting paths, not just rejected everything.
    EXPECT_GT(incoming, 10000);
    EXPECT_GT(errors, 1000);
    EXPECT_GT(driver->puts.size(), 20000u);
}
