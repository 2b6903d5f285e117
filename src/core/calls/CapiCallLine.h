#pragma once

#include "calls/CallHandler.h"
#include "line/CapiApplication.h"

/// The call handlers' view of the CAPI application.
class CapiCallLine : public CallLine {
public:
    explicit CapiCallLine(CapiApplication& capi) : m_capi(capi) {}

    std::string callerId() const override { return m_capi.callerId(); }
    std::string calledMsn() const override { return m_capi.calledMsn(); }
    std::string callType() const override { return m_capi.cipName(); }
    std::uint16_t endReason() const override {
        return static_cast<std::uint16_t>(m_capi.disconnectReason());
    }
    std::uint32_t plci() const override { return m_capi.eventPlci(); }
    void rejectCall(std::uint32_t plci) override { m_capi.rejectCall(plci); }

private:
    CapiApplication& m_capi;
};
