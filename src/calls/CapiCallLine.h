#pragma once

#include "calls/CallHandler.h"
#include "line/cCAPI.h"

/// The call handlers' view of the CAPI application.
class CapiCallLine : public CallLine {
public:
    explicit CapiCallLine(cCAPI& capi) : m_capi(capi) {}

    std::string callerId() const override { return m_capi.getCallerID(); }
    std::string calledMsn() const override { return m_capi.getCalledMSN(); }
    std::string callType() const override { return m_capi.getCallerCIP2(); }
    std::uint16_t endReason() const override {
        return static_cast<std::uint16_t>(m_capi.getCallerHandling());
    }
    std::uint32_t plci() const override { return m_capi.PLCI(); }
    void rejectCall() override { m_capi.RejectCall(); }

private:
    cCAPI& m_capi;
};
