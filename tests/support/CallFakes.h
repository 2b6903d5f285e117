#pragma once

#include "calls/CallHandler.h"

#include <cstdint>
#include <string>
#include <vector>

/// The line as the call handlers see it, with the current call set by the test.
class FakeLine : public CallLine {
public:
    std::string callerId() const override { return caller; }
    std::string calledMsn() const override { return msn; }
    std::string callType() const override { return "Telephony"; }
    std::uint16_t endReason() const override { return reason; }
    std::uint32_t plci() const override { return currentPlci; }
    void rejectCall(std::uint32_t plci) override { rejected.push_back(plci); }

    std::string caller;
    std::string msn;
    std::uint16_t reason = 0x3490;
    std::uint32_t currentPlci = 0x101;
    std::vector<std::uint32_t> rejected;
};

/// A clock that always tells the same date and time.
class FixedClock : public CallClock {
public:
    std::string dateText() const override { return "06.12.2026"; }
    std::string timeText() const override { return "09:15:00"; }
};
