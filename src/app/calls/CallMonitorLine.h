#pragma once

#include "calls/CallMonitorCallLine.h"
#include "calls/CallMonitorSession.h"
#include "calls/Line.h"
#include "line/CallMonitorCalls.h"

/// The line through a router's call monitor: the CallMonitorCalls, fed by a CallMonitorSession.
/// It only watches calls; it cannot turn them away.
class CallMonitorLine : public Line {
    Q_OBJECT
public:
    explicit CallMonitorLine(const callmonitor::Endpoint& endpoint, QObject* parent = nullptr);
    ~CallMonitorLine() override;

    void start() override;
    void stop() override;
    CallLine& callLine() override { return m_callLine; }
    void setCallerTexts(const capi::CallerTexts& texts) override;
    void rejectLatestCall() override;
    void placeTestCall() override;
    void endTestCall() override;

private:
    CallMonitorCalls m_calls;
    CallMonitorCallLine m_callLine;
    CallMonitorSession m_session;
};
