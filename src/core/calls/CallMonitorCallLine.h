#pragma once

#include "calls/CallHandler.h"
#include "line/CallMonitorCalls.h"
#include "line/CapiCodeTables.h"

/// The call handlers' view of the router's call monitor. Its calls are voice calls; it cannot
/// turn them away.
class CallMonitorCallLine : public CallLine {
public:
    explicit CallMonitorCallLine(CallMonitorCalls& calls) : m_calls(calls) {}

    std::string callerId() const override { return m_calls.callerId(); }
    std::string calledMsn() const override { return m_calls.calledMsn(); }
    std::string callType() const override { return std::string(CipName(kCipTelephony)); }
    std::uint16_t endReason() const override { return m_calls.endReason(); }
    std::uint32_t plci() const override { return m_calls.eventId(); }
    void rejectCall(std::uint32_t plci) override { m_calls.rejectCall(plci); }
    bool canReject() const override { return false; }

private:
    static constexpr int kCipTelephony = 16;

    CallMonitorCalls& m_calls;
};
