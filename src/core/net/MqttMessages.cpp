#include "net/MqttMessages.h"

#include "calls/CallEventTexts.h"
#include "support/JsonWriter.h"

#include <array>
#include <cstdio>

namespace mqtt {

namespace {

// MQTT topics hold at most 65535 bytes; the longest suffix is "/last_call".
constexpr std::size_t kMaxPrefix = 65535 - 16;

// Builds one JSON object field by field.
class JsonObject {
public:
    JsonObject& text(std::string_view key, std::string_view value) {
        return raw(key, jsonString(value));
    }
    JsonObject& flag(std::string_view key, bool value) {
        return raw(key, value ? "true" : "false");
    }
    JsonObject& raw(std::string_view key, std::string_view json) {
        m_text += m_text.size() == 1 ? "" : ",";
        m_text += jsonString(key);
        m_text += ':';
        m_text += json;
        return *this;
    }
    std::string done() { return m_text + '}'; }

private:
    std::string m_text = "{";
};

// Home Assistant's object ids allow letters, digits, "_" and "-".
std::string objectId(std::string_view prefix) {
    std::string id;
    for (const char c : prefix) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        id += plain ? c : '_';
    }
    return id;
}

std::string deviceBlock(std::string_view nodeId, std::string_view prefix,
                        std::string_view version) {
    return JsonObject()
        .raw("identifiers", "[" + jsonString(nodeId) + "]")
        .text("name", "Rufwacht " + std::string(prefix))
        .text("manufacturer", "Rufwacht")
        .text("model", "Rufwacht")
        .text("sw_version", version)
        .done();
}

std::string availabilityBlock(const Topics& topics) {
    return "[" +
           JsonObject()
               .text("topic", topics.status())
               .text("payload_available", kOnline)
               .text("payload_not_available", kOffline)
               .done() +
           "]";
}

} // namespace

std::string defaultPrefix(std::string_view hostName) {
    std::string level;
    for (const char c : hostName) {
        level += (c == '/' || c == '+' || c == '#' || c == '\0') ? '_' : c;
    }
    return "rufwacht/" + (level.empty() ? std::string("localhost") : level);
}

bool isUsablePrefix(std::string_view prefix) {
    return !prefix.empty() && prefix.size() <= kMaxPrefix && !prefix.ends_with('/') &&
           prefix.find_first_of(std::string_view("+#\0", 3)) == std::string_view::npos;
}

std::string callPayload(const CallEvent& event) {
    return JsonObject()
        .text("event", eventName(event.kind))
        .text("caller", event.caller())
        .text("number", event.number)
        .flag("withheld", event.withheld)
        .text("name", event.name)
        .text("origin", event.origin)
        .text("msn", event.msn)
        .text("msn_name", event.msnName)
        .text("service", event.service)
        .text("reason", event.reason)
        .flag("missed", event.missed)
        .text("time", isoTime(event.time))
        .done();
}

std::string ringingPayload(bool ringing) {
    return ringing ? "on" : "off";
}

std::string missedPayload(int count) {
    return std::to_string(count);
}

std::string linePayload(bool up) {
    return up ? "up" : "down";
}

std::vector<Message> discoveryMessages(const Topics& topics, std::string_view version) {
    const std::string nodeId = objectId(topics.prefix);
    const std::string device = deviceBlock(nodeId, topics.prefix, version);
    const std::string availability = availabilityBlock(topics);
    const auto config = [&](std::string_view component, std::string_view object) {
        return "homeassistant/" + std::string(component) + "/" + nodeId + "/" +
               std::string(object) + "/config";
    };
    const auto common = [&](std::string_view name, std::string_view object) {
        JsonObject document;
        document.text("name", name)
            .text("unique_id", nodeId + "_" + std::string(object))
            .text("object_id", nodeId + "_" + std::string(object))
            .raw("device", device)
            .raw("availability", availability);
        return document;
    };
    return {
        {config("binary_sensor", "ringing"),
         common("ringing", "ringing")
             .text("state_topic", topics.ringing())
             .text("payload_on", ringingPayload(true))
             .text("payload_off", ringingPayload(false))
             .text("icon", "mdi:phone-ring")
             .done(),
         true},
        {config("sensor", "last_caller"),
         common("last caller", "last_caller")
             .text("state_topic", topics.lastCall())
             .text("value_template", "{{ value_json.caller }}")
             .text("json_attributes_topic", topics.lastCall())
             .text("icon", "mdi:phone-incoming")
             .done(),
         true},
        {config("sensor", "missed_calls"),
         common("missed calls", "missed_calls")
             .text("state_topic", topics.missed())
             .text("state_class", "measurement")
             .text("icon", "mdi:phone-missed")
             .done(),
         true},
    };
}

} // namespace mqtt
