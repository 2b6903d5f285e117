#pragma once

#include "line/ReconnectBackoff.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>
#include <mutex>
#include <string>
#include <thread>

struct mosquitto;

/// Where and how to reach the broker.
struct MqttBroker {
    std::string host;
    std::uint16_t port = 1883;
    /// No login when empty.
    std::string user;
    std::string password;
    /// TLS, with the certificates the system trusts.
    bool tls = false;
    /// The last will: published by the broker when the connection breaks off.
    std::string willTopic;
    std::string willPayload;
};

/// One connection to an MQTT broker through libmosquitto, driven by Qt's event loop: the socket
/// is watched with notifiers, a timer keeps the connection alive, and a lost or refused
/// connection is tried again after 1, 2, 4 ... 60 s for as long as the session runs. Name
/// lookup and connecting run on a short-lived thread, so nothing here ever waits.
class MosquittoSession : public QObject {
    Q_OBJECT
public:
    explicit MosquittoSession(MqttBroker broker, QObject* parent = nullptr);
    ~MosquittoSession() override;

    /// Connects, and keeps connecting while the session lives. Ending the session ends the
    /// connection without a DISCONNECT, so the broker publishes the will.
    void start();
    bool isConnected() const { return m_connected; }
    QString address() const;

    /// Hands a message to the connection (QoS 0 or 1). False when there is no connection or
    /// the library refused it.
    bool publish(const std::string& topic, const std::string& payload, int qos, bool retained);

signals:
    /// The broker has accepted the connection.
    void connected();
    /// A connection ended, or an attempt failed; reason as the library or the broker tells it.
    void disconnected(const QString& reason);

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
