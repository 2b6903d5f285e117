#pragma once

#include "calls/CallEvent.h"
#include "modules/ModuleLoader.h"
#include "modules/MqttModule.h"
#include "net/MqttMessages.h"

#include <QElapsedTimer>
#include <QObject>

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>

class Log;
struct SettingsRecord;

/// Publishes the call events to an MQTT broker: each step on <prefix>/call, and the retained
/// states ringing, last_call, missed, line and status, with Home Assistant's discovery
/// documents. While the broker is away the newest calls wait in order and go out when it is
/// back; the states are published again after every connect. An outage is logged once. The
/// states outlive a change of the settings.
class MqttCallOutput : public QObject {
    Q_OBJECT
public:
    /// How many call steps wait for the broker; older ones give way.
    static constexpr std::size_t kWaitingLimit = 100;

    /// hostName: for the default prefix; version: for the discovery documents' device.
    MqttCallOutput(const Log& log, std::string hostName, std::string version,
                   QObject* parent = nullptr);
    ~MqttCallOutput() override;

    /// Connects as the settings say, and keeps connecting; with the output off, or a prefix
    /// that cannot be used, ends the connection. The states stay.
    void apply(const SettingsRecord& settings);
    /// One step of a call; returns at once.
    void publishCall(const CallEvent& event);
    /// The line's state from its reconnection logic.
    void setLineUp(bool up);
    /// The count of missed calls, where something else keeps it.
    void setMissedCount(int count);

signals:
    /// A line for the debug trace.
    void notice(const QString& text);

private:
    void onConnected();
    void onDisconnected(const QString& reason);
    void publishStates();
    void publishRetained(const std::string& topic, const std::string& payload);
    void updateRinging(const CallEvent& event);

    bool publish(const std::string& topic, const std::string& payload, bool retained);

    const Log& m_log;
    std::string m_hostName;
    std::string m_version;
    mqtt::Topics m_topics;
    bool m_discovery = false;
    ModuleLoader m_module{"rufwacht-mqtt"};
    std::unique_ptr<MqttSession> m_session;
    std::deque<std::string> m_waiting;
    std::set<std::uint32_t> m_ringing;
    std::uint32_t m_lastCallId = 0;
    std::string m_lastCall;
    int m_missed = 0;
    bool m_missedKeptElsewhere = false; // setMissedCount() is the count from then on
    bool m_lineUp = true;
    bool m_outageLogged = false;
    QElapsedTimer m_outage;
};
