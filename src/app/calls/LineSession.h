#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class CapiApplication;
class QSocketNotifier;

/// Keeps the program on the line: registers at once or after a delay, sends the listen request
/// and then fetches messages whenever the driver signals one and on every poll tick.
class LineSession : public QObject {
    Q_OBJECT
public:
    /// Largest number of messages fetched in one go before the event loop gets its turn.
    static constexpr int kMaxMessagesPerWakeUp = 64;
    static constexpr int kPollIntervalMs = 1000;

    explicit LineSession(CapiApplication& capi, QObject* parent = nullptr);
    ~LineSession() override;

    /// Registers now (delaySeconds 0) or when the countdown has run out.
    void start(int delaySeconds);
    /// Registers with CAPI, listens and starts polling; false (and registrationFailed) when
    /// the registration was refused.
    bool registerAndListen();
    /// Stops the countdown, polling and watching; the registration stays.
    void stop();

    /// Seconds left of the delayed registration.
    int delayCountdown() const { return m_countdown; }
    bool isPolling() const { return m_pollTimer.isActive(); }

signals:
    void registrationFailed();

private:
    void onCountdownTick();
    void fetchMessages();
    void watchReadiness();

    CapiApplication& m_capi;
    QTimer m_pollTimer;
    QTimer m_countdownTimer;
    QPointer<QSocketNotifier> m_readiness;
    int m_countdown = 0;
    bool m_stopped = false;
};
