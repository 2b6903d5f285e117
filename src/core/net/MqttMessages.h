#pragma once

#include "calls/CallEvent.h"

#include <string>
#include <string_view>
#include <vector>

/// What the MQTT output publishes: topics and payloads, built without a broker in sight. All
/// payloads are UTF-8; the JSON ones are objects with the fields a home-automation hub reads.
namespace mqtt {

/// The topics below one prefix (e.g. "rufwacht/kitchen").
struct Topics {
    std::string prefix;

    std::string call() const { return prefix + "/call"; }
    std::string ringing() const { return prefix + "/ringing"; }
    std::string lastCall() const { return prefix + "/last_call"; }
    std::string missed() const { return prefix + "/missed"; }
    std::string status() const { return prefix + "/status"; }
    std::string line() const { return prefix + "/line"; }
};

/// One message for the broker.
struct Message {
    std::string topic;
    std::string payload;
    bool retained = false;
};

inline constexpr const char* kOnline = "online";
inline constexpr const char* kOffline = "offline";

/// The prefix when the settings name none: "rufwacht/" and the host name, made safe as a topic
/// level.
std::string defaultPrefix(std::string_view hostName);

/// False for a prefix that cannot stand in front of a topic name: empty, with a wildcard
/// ("+", "#"), a NUL, a trailing "/" or more than a topic may hold.
bool isUsablePrefix(std::string_view prefix);

/// One call step as a JSON object: event (ring, connect, end), caller, number, withheld, name,
/// origin, msn, msn_name, service, reason, missed and time (ISO 8601, UTC).
std::string callPayload(const CallEvent& event);

/// "on" while a call rings, else "off".
std::string ringingPayload(bool ringing);

/// The count of missed calls as a JSON number.
std::string missedPayload(int count);

/// "up" or "down".
std::string linePayload(bool up);

/// The Home Assistant discovery documents (retained): the binary sensor "ringing", the sensors
/// "last caller" and "missed calls", each with the device block and the status topic as its
/// availability.
std::vector<Message> discoveryMessages(const Topics& topics, std::string_view version);

} // namespace mqtt
