#include "calls/LineWatch.h"

#include "calls/CallHandler.h"
#include "calls/CallViews.h"
#include "calls/DebugTrace.h"
#include "calls/EndReason.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/Log.h"
#include "support/QtText.h"

LineWatch::LineWatch(DebugTrace& trace, TrayView& tray, const LanguageTable& language,
                     const Log& log, CallHandler& calls)
    : m_trace(trace), m_tray(tray), m_language(language), m_log(log), m_calls(calls) {}

void LineWatch::lineUp(const QString& description) {
    m_trace.append("\r\n--> LINE UP: " + description);
}

void LineWatch::lineLost(const QString& reason) {
    if (m_down) {
        return;
    }
    m_down = true;
    m_reason = QString(reason).replace("\r\n", " ");
    m_lostAt = QDateTime::currentDateTime();
    m_changedAt = std::chrono::system_clock::now();
    m_outage.start();
    m_trace.append("\r\n--> LINE LOST: " + m_reason + "; reconnecting");
    // Nothing will tell how these calls end: complete their records now.
    m_calls.endAllCalls(kReasonLineLost);
    showState();
    if (stateChanged) {
        stateChanged(false);
    }
}

void LineWatch::lineRestored() {
    if (!m_down) {
        return;
    }
    m_down = false;
    m_changedAt = std::chrono::system_clock::now();
    const qint64 seconds = m_outage.elapsed() / 1000;
    m_trace.append(QString("\r\n--> LINE BACK after %1 s").arg(seconds));
    m_log.write(ss(outageText() + QString("; back after %1 s").arg(seconds)));
    showState();
    if (stateChanged) {
        stateChanged(true);
    }
}

LineHealth LineWatch::health() const {
    LineHealth health;
    health.up = !m_down;
    health.since = m_changedAt;
    health.reason = ss(m_reason);
    return health;
}

void LineWatch::programEnds() {
    if (m_down) {
        m_log.write(ss(outageText() + QString("; still down after %1 s when the program ended")
                                          .arg(m_outage.elapsed() / 1000)));
    }
}

void LineWatch::showState() {
    if (m_down) {
        m_tray.setGreenBlink(false);
        m_tray.setIcon(TrayIcon::Black);
        m_tray.setTooltip(m_language.text(lang_id::kTooltipLineDown));
    } else {
        m_tray.setTooltip(m_language.text(lang_id::kTooltipIdle));
    }
}

QString LineWatch::outageText() const {
    return "Line lost at " + m_lostAt.toString("yyyy.MM.dd HH:mm:ss") + " (" + m_reason + ")";
}
