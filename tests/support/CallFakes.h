#pragma once

#include "calls/CallHandler.h"

#include <cstdint>
#include <string>

/// The line as the call handlers see it, with the current call set by the test.
class FakeLine : public CallLine {
public:
    std::string callerId() const override { return caller; }
    std::string calledMsn() const override { return msn; }
    std::string callType() const override { return "Telephony"; }
    std::uint16_t endReason() const override { return reason; }
    std::uint32_t plci() const override { return currentPlci; }
    void rejectCall() override { ++rejects; }

    std::string caller;
    std::string msn;
    std::uint16_t reason = 0x3490;
    std::uint32_t currentPlci = 0x101;
    int rejects = 0;
};

/// A clock that always tells the same date and time.
class FixedClock : public CallClock {
public:
    std::string dateText() const override { return "06.12.2026"; }
    std::string timeText() const override { return "09:15:00"; }
};
