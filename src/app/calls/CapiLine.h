#pragma once

#include "calls/CapiCallLine.h"
#include "calls/Line.h"
#include "calls/LineSession.h"
#include "line/CapiApplication.h"
#include "stores/Settings.h"

#include <QStringList>

#include <cstdint>
#include <memory>

/// The line through a CAPI driver: the CapiApplication, kept registered by a LineSession. The
/// trace of an attempt to register again is held back until it is known to have succeeded.
class CapiLine : public Line {
    Q_OBJECT
public:
    /// Registers when started, at once or after the delay the settings then ask for.
    CapiLine(std::unique_ptr<CapiDriver> driver, const SettingsRecord& settings,
             QObject* parent = nullptr);
    ~CapiLine() override;

    void start() override;
    void stop() override;
    CallLine& callLine() override { return m_callLine; }
    void setCallerTexts(const capi::CallerTexts& texts) override;
    void rejectLatestCall() override;
    void placeTestCall() override;
    void endTestCall() override;

    /// For the debug window's diagnostics and the simulated line's test control.
    CapiApplication& capi() { return m_capi; }
    const LineSession& session() const { return m_session; }

private:
    /// A line of the driver's trace; held back while an attempt to reconnect may still fail.
    void trace(const QString& text);

    CapiApplication m_capi;
    CapiCallLine m_callLine;
    LineSession m_session;
    QStringList m_heldTrace;
    const SettingsRecord& m_settings;
    std::uint32_t m_nextTestPlci = 0x0F01; // PLCIs of the debug window's test calls
};
