#include "net/CallsJson.h"

#include "calls/CallEvent.h"
#include "calls/CallEventTexts.h"
#include "stores/ListFile.h"
#include "support/JsonWriter.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace {

std::string callRecord(std::string_view line, const NameLookup& nameOf,
                       std::string_view missedReason) {
    const std::vector<std::string_view> fields = splitFieldViews(line);
    const auto field = [&fields](std::size_t i) {
        return i < fields.size() ? fields[i] : std::string_view();
    };
    // As on the page: the phonebook's name now, else the display stored with the call; a
    // display that is only the number is no name.
    const std::string display(field(1));
    std::string name = display.empty() ? std::string() : nameOf(display);
    if (name.empty()) {
        name = display;
    }
    if (name == field(0)) {
        name.clear();
    }
    JsonWriter json;
    json.beginObject()
        .key("number")
        .value(field(0))
        .key("name")
        .value(name)
        .key("msn")
        .value(field(2))
        .key("date")
        .value(isoDate(field(3)))
        .key("time")
        .value(field(4))
        .key("reason")
        .value(field(5))
        .key("service")
        .value(field(6))
        .key("missed")
        .value(!missedReason.empty() && field(5) == missedReason)
        .endObject();
    return json.take();
}

} // namespace

CallsJson::CallsJson(const std::vector<std::string>& journalLines, const NameLookup& nameOf,
                     std::string_view missedReason)
    : m_open("[") {
    // The newest call is the file's last line.
    for (std::size_t i = journalLines.size(); i-- > 0;) {
        const std::string& line = journalLines[i];
        if (line.empty()) {
            continue; // clearing the journal leaves an empty line
        }
        if (!m_ends.empty()) {
            m_open += ',';
        }
        m_open += callRecord(line, nameOf, missedReason);
        m_ends.push_back(m_open.size());
    }
}

std::string_view CallsJson::openArray(std::optional<std::size_t> limit) const {
    const std::string_view all = m_open;
    if (!limit || *limit >= m_ends.size()) {
        return all;
    }
    return all.substr(0, *limit == 0 ? 1 : m_ends[*limit - 1]);
}

std::string CallsJson::text(std::optional<std::size_t> limit) const {
    return std::string(openArray(limit)) + "]";
}

std::string isoDate(std::string_view date) {
    const auto digits = [&date](std::size_t at, std::size_t count) {
        for (std::size_t i = at; i < at + count; ++i) {
            if (date[i] < '0' || date[i] > '9') {
                return false;
            }
        }
        return true;
    };
    const bool shortYear = date.size() == 8;
    if ((date.size() != 8 && date.size() != 10) || date[2] != '.' || date[5] != '.' ||
        !digits(0, 2) || !digits(3, 2) || !digits(6, date.size() - 6)) {
        return std::string(date);
    }
    return (shortYear ? "20" : "") + std::string(date.substr(6)) + "-" +
           std::string(date.substr(3, 2)) + "-" + std::string(date.substr(0, 2));
}

std::string callEventMessage(const CallEvent& event) {
    JsonWriter json;
    json.beginObject()
        .key("event")
        .value(eventName(event.kind))
        .key("id")
        .value(static_cast<std::int64_t>(event.callId))
        .key("number")
        .value(event.number)
        .key("withheld")
        .value(event.withheld)
        .key("name")
        .value(event.name)
        .key("origin")
        .value(event.origin)
        .key("msn")
        .value(event.msn)
        .key("msnName")
        .value(event.msnName)
        .key("service")
        .value(event.service)
        .key("time")
        .value(isoTime(event.time, true));
    if (event.kind == CallEvent::Kind::End) {
        json.key("reason").value(event.reason).key("missed").value(event.missed);
    }
    json.endObject();
    return std::string("event: ") + eventName(event.kind) + "\ndata: " + json.text() + "\n\n";
}

std::string lineHealthJson(const LineHealth& health) {
    JsonWriter json;
    json.beginObject().key("line").value(health.up ? "up" : "down");
    json.key("since").value(isoTime(health.since));
    if (!health.up) {
        json.key("reason").value(health.reason);
    }
    json.key("calls").value(static_cast<std::int64_t>(health.calls)).endObject();
    return json.take();
}

std::string jsonError(std::string_view message) {
    JsonWriter json;
    json.beginObject().key("error").value(message).endObject();
    return json.take();
}
