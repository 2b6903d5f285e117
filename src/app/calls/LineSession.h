#pragma once

#include "line/ReconnectBackoff.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class CapiApplication;
class QSocketNotifier;

/// Keeps the program on the line: registers at once or after a delay, sends the listen request
/// and then fetches messages whenever the driver signals one and on every poll tick. When the
/// line is lost (or registration is refused) it releases what it holds and registers again
/// after the backoff's delays, for ever, without blocking the event loop.
class LineSession : public QObject {
    Q_OBJECT
public:
    /// Largest number of messages fetched in one go before the event loop gets its turn.
    static constexpr int kMaxMessagesPerWakeUp = 64;
    static constexpr int kPollIntervalMs = 1000;

    explicit LineSession(CapiApplication& capi, ReconnectBackoff backoff = ReconnectBackoff(),
                         QObject* parent = nullptr);
    ~LineSession() override;

    /// Registers now (delaySeconds 0) or when the countdown has run out.
    void start(int delaySeconds);
    /// Registers with CAPI, listens and starts polling. False when the registration was
    /// refused: then the line counts as lost and is tried again, unless the driver cannot be
    /// loaded at all (registrationFailed).
    bool registerAndListen();
    /// Stops the countdown, polling, watching and reconnecting; the registration stays.
    void stop();

    /// Seconds left of the delayed registration.
    int delayCountdown() const { return m_countdown; }
    bool isPolling() const { return m_pollTimer.isActive(); }
    /// The line is lost and the next attempt is waiting.
    bool isDown() const { return m_down; }
    /// An attempt to register again is under way (its trace is of passing interest).
    bool isReconnecting() const { return m_reconnecting; }
    /// Milliseconds until the next attempt; -1 while none is waiting.
    int retryDelayMs() const { return m_retryTimer.isActive() ? m_retryTimer.interval() : -1; }

signals:
    /// The driver cannot be loaded: no attempt can ever succeed.
    void registrationFailed();
    /// The line has gone (once per outage); reason is the driver's last error.
    void lineLost(const QString& reason);
    /// An attempt to register again has failed; the next one waits.
    void reconnectFailed();
    /// Registered and listening again after an outage.
    void lineRestored();

private:
    void onCountdownTick();
    void fetchMessages();
    void watchReadiness();
    void startListening();
    void loseLine();
    void reconnect();

    CapiApplication& m_capi;
    ReconnectBackoff m_backoff;
    QTimer m_pollTimer;
    QTimer m_countdownTimer;
    QTimer m_retryTimer;
    QPointer<QSocketNotifier> m_readiness;
    int m_countdown = 0;
    bool m_stopped = false;
    bool m_down = false;
    bool m_reconnecting = false;
};
