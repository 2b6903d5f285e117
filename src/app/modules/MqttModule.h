#pragma once

#include <QString>
#include <QtPlugin>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

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

/// What a session reports, on the thread that made it.
struct MqttSessionEvents {
    /// The broker has accepted the connection.
    std::function<void()> connected;
    /// A connection ended, or an attempt failed; reason as the library or the broker tells it.
    std::function<void(const QString& reason)> disconnected;
};

/// One connection to an MQTT broker, kept up for as long as the session lives.
class MqttSession {
public:
    virtual ~MqttSession() = default;
    /// Connects, and keeps connecting while the session lives.
    virtual void start() = 0;
    virtual QString address() const = 0;
    /// Hands a message to the connection (QoS 0 or 1). False when there is no connection or
    /// the library refused it.
    virtual bool publish(const std::string& topic, const std::string& payload, int qos,
                         bool retained) = 0;
};

/// The MQTT module's entry point: it makes the sessions.
class MqttModule {
public:
    virtual ~MqttModule() = default;
    virtual std::unique_ptr<MqttSession> makeSession(MqttBroker broker,
                                                     MqttSessionEvents events) = 0;
};

#define RUFWACHT_MQTT_MODULE_IID "org.example.rufwacht.MqttModule/1"
Q_DECLARE_INTERFACE(MqttModule, RUFWACHT_MQTT_MODULE_IID)
