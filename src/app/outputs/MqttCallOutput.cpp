#include "outputs/MqttCallOutput.h"

#include "stores/Settings.h"
#include "support/Log.h"

#include <utility>

namespace {

constexpr int kAtLeastOnce = 1;

MqttBroker brokerFrom(const SettingsRecord& settings, const mqtt::Topics& topics) {
    MqttBroker broker;
    broker.host = settings.mqttHost;
    broker.port = settings.mqttPort;
    broker.user = settings.mqttUser;
    broker.password = settings.mqttPassword;
    broker.tls = settings.mqttTls;
    broker.willTopic = topics.status();
    broker.willPayload = mqtt::kOffline;
    return broker;
}

mqtt::Topics topicsFrom(const SettingsRecord& settings, const std::string& hostName) {
    return {settings.mqttTopic.empty() ? mqtt::defaultPrefix(hostName) : settings.mqttTopic};
}

} // namespace

MqttCallOutput::MqttCallOutput(const Log& log, std::string hostName, std::string version,
                               QObject* parent)
    : QObject(parent), m_log(log), m_hostName(std::move(hostName)), m_version(std::move(version)) {}

MqttCallOutput::~MqttCallOutput() = default;

void MqttCallOutput::apply(const SettingsRecord& settings) {
    // What waits for the broker stays: a corrected password or address delivers it.
    m_session.reset();
    m_outageLogged = false;
    if (!settings.mqttOn) {
        return;
    }
    m_topics = topicsFrom(settings, m_hostName);
    m_discovery = settings.mqttDiscovery;
    if (!mqtt::isUsablePrefix(m_topics.prefix)) {
        m_log.write("MQTT: the topic prefix \"" + m_topics.prefix +
                    "\" cannot be used (a wildcard + or #, or ending in /); nothing is published");
        return;
    }
    // The client library and its TLS libraries are loaded with the first session.
    auto* module = m_module.load<MqttModule>();
    if (module == nullptr) {
        m_log.write("MQTT: the MQTT module cannot be loaded (" + m_module.error().toStdString() +
                    "); nothing is published");
        return;
    }
    m_session = module->makeSession(
        brokerFrom(settings, m_topics),
        {[this]() { onConnected(); }, [this](const QString& reason) { onDisconnected(reason); }});
    m_session->start();
}

bool MqttCallOutput::publish(const std::string& topic, const std::string& payload, bool retained) {
    return m_session && m_session->publish(topic, payload, kAtLeastOnce, retained);
}

void MqttCallOutput::publishCall(const CallEvent& event) {
    const std::string payload = mqtt::callPayload(event);
    if (event.kind == CallEvent::Kind::Ring) {
        m_lastCallId = event.callId;
    }
    if (event.callId == m_lastCallId) {
        m_lastCall = payload;
    }
    const bool wasRinging = !m_ringing.empty();
    updateRinging(event);
    if (event.kind == CallEvent::Kind::End && event.missed && !m_missedKeptElsewhere) {
        ++m_missed;
    }
    if (!m_session) {
        return;
    }
    if (!publish(m_topics.call(), payload, false)) {
        m_waiting.push_back(payload);
        if (m_waiting.size() > kWaitingLimit) {
            m_waiting.pop_front();
        }
        return;
    }
    if (wasRinging != !m_ringing.empty()) {
        publishRetained(m_topics.ringing(), mqtt::ringingPayload(!m_ringing.empty()));
    }
    if (event.callId == m_lastCallId) {
        publishRetained(m_topics.lastCall(), m_lastCall);
    }
    if (event.kind == CallEvent::Kind::End && event.missed) {
        publishRetained(m_topics.missed(), mqtt::missedPayload(m_missed));
    }
}

void MqttCallOutput::updateRinging(const CallEvent& event) {
    if (event.kind == CallEvent::Kind::Ring) {
        m_ringing.insert(event.callId);
    } else {
        m_ringing.erase(event.callId);
    }
}

void MqttCallOutput::setLineUp(bool up) {
    m_lineUp = up;
    publishRetained(m_topics.line(), mqtt::linePayload(up));
}

void MqttCallOutput::setMissedCount(int count) {
    m_missedKeptElsewhere = true;
    m_missed = count;
    publishRetained(m_topics.missed(), mqtt::missedPayload(m_missed));
}

void MqttCallOutput::publishRetained(const std::string& topic, const std::string& payload) {
    // Lost while away: every connect publishes the states again.
    publish(topic, payload, true);
}

void MqttCallOutput::onConnected() {
    if (m_outageLogged) {
        m_log.write("MQTT: broker " + m_session->address().toStdString() + " back after " +
                    std::to_string(m_outage.elapsed() / 1000) + " s");
    }
    m_outageLogged = false;
    emit notice("--> MQTT connected to " + m_session->address() + " as " +
                QString::fromStdString(m_topics.prefix));
    publishRetained(m_topics.status(), mqtt::kOnline);
    if (m_discovery) {
        for (const mqtt::Message& message : mqtt::discoveryMessages(m_topics, m_version)) {
            publishRetained(message.topic, message.payload);
        }
    }
    while (!m_waiting.empty() && publish(m_topics.call(), m_waiting.front(), false)) {
        m_waiting.pop_front();
    }
    publishStates();
}

void MqttCallOutput::publishStates() {
    publishRetained(m_topics.ringing(), mqtt::ringingPayload(!m_ringing.empty()));
    if (!m_lastCall.empty()) {
        publishRetained(m_topics.lastCall(), m_lastCall);
    }
    publishRetained(m_topics.missed(), mqtt::missedPayload(m_missed));
    publishRetained(m_topics.line(), mqtt::linePayload(m_lineUp));
}

void MqttCallOutput::onDisconnected(const QString& reason) {
    if (m_outageLogged) {
        return;
    }
    m_outageLogged = true;
    m_outage.start();
    const std::string text = "MQTT: broker " + m_session->address().toStdString() + ": " +
                             reason.toStdString() + "; trying again";
    m_log.write(text);
    emit notice("--> " + QString::fromStdString(text));
}
