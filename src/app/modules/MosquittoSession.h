#pragma once

#include "line/ReconnectBackoff.h"
#include "modules/MqttModule.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>
#include <mutex>
#include <string>
#include <thread>

struct mosquitto;

/// One connection to an MQTT broker through libmosquitto, driven by Qt's event loop: the socket
/// is watched with notifiers, a timer keeps the connection alive, and a lost or refused
/// connection is tried again after 1, 2, 4 ... 60 s for as long as the session runs. Name
/// lookup and connecting run on a short-lived thread, so nothing here ever waits.
class MosquittoSession : public QObject, public MqttSession {
    Q_OBJECT
public:
    /// events: what the session reports, from the event loop.
    MosquittoSession(MqttBroker broker, MqttSessionEvents events, QObject* parent = nullptr);
    ~MosquittoSession() override;

    /// Ending the session ends the connection without a DISCONNECT, so the broker publishes
    /// the will.
    void start() override;
    QString address() const override;
    bool publish(const std::string& topic, const std::string& payload, int qos,
                 bool retained) override;

private:
    void attempt();
    void onAttemptStarted(int result);
    void watchSocket();
    void unwatchSocket();
    void onReadable();
    void onWritable();
    void onHousekeeping();
    void afterLoop(int result);
    void connectionEnded(const QString& reason);
    void joinAttempt();
    QString failureText(int result) const;

    static void onConnect(mosquitto* handle, void* self, int result);
    static void onDisconnect(mosquitto* handle, void* self, int result);
    static void onLog(mosquitto* handle, void* self, int level, const char* text);

    MqttBroker m_broker;
    MqttSessionEvents m_events;
    mosquitto* m_handle = nullptr;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QTimer m_housekeeping;
    QTimer m_retry;
    ReconnectBackoff m_backoff;
    std::thread m_attempt;
    bool m_running = false;
    bool m_attempting = false;
    bool m_connected = false;
    QString m_refusal;
    // The library's last error message; written by the connecting thread too.
    mutable std::mutex m_logMutex;
    std::string m_lastError;
};
