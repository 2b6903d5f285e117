#pragma once

#include "net/LineHealth.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

#include <functional>

class CallHandler;
class DebugTrace;
class LanguageTable;
class Log;
class TrayView;

/// Tells the user and the log that the line has gone and come back: each change once in the
/// debug trace and in the tray tooltip (the black icon while the line is down), one log line
/// per outage with its length. Calls that rang when the line went are ended as unknown.
class LineWatch {
public:
    LineWatch(DebugTrace& trace, TrayView& tray, const LanguageTable& language, const Log& log,
              CallHandler& calls);

    void lineUp(const QString& description);
    void lineLost(const QString& reason);
    void lineRestored();
    /// The program ends: an outage still going on gets its log line.
    void programEnds();
    /// Shows the state again, e.g. after the icon was set up with its first tooltip.
    void showState();

    bool isDown() const { return m_down; }
    /// Up or down, since when, and why (calls not counted).
    LineHealth health() const;

    /// Told each change: true when the line is back, false when it is lost.
    std::function<void(bool up)> stateChanged;

private:
    QString outageText() const;

    DebugTrace& m_trace;
    TrayView& m_tray;
    const LanguageTable& m_language;
    const Log& m_log;
    CallHandler& m_calls;
    bool m_down = false;
    QString m_reason;
    QDateTime m_lostAt;
    QElapsedTimer m_outage;
    std::chrono::system_clock::time_point m_changedAt = std::chrono::system_clock::now();
};
