#include "calls/CallEventTexts.h"

#include <array>
#include <ctime>

namespace {

std::tm localTime(std::chrono::system_clock::time_point time) {
    const std::time_t when = std::chrono::system_clock::to_time_t(time);
    const std::tm* local = std::localtime(&when);
    return local != nullptr ? *local : std::tm{};
}

std::string formatTime(const std::tm& time, const char* format) {
    std::array<char, 64> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), format, &time);
    return {text.data(), length};
}

/// "Name (number, origin)", "number (origin)" or just the number.
std::string callerDescription(const CallEvent& event) {
    std::string details = event.name.empty() ? std::string() : event.number;
    if (!event.origin.empty()) {
        details += (details.empty() ? "" : ", ") + event.origin;
    }
    std::string text = event.caller();
    if (!details.empty()) {
        text += " (" + details + ")";
    }
    return text;
}

} // namespace

std::string headlessLine(const CallEvent& event, const HeadlessWords& words) {
    std::string line = formatTime(localTime(event.time), "%H:%M:%S") + "  ";
    switch (event.kind) {
    case CallEvent::Kind::Ring:
        line += "RING  " + callerDescription(event);
        if (!event.msnName.empty()) {
            line += " " + words.forMsn + " " + event.msnName;
        }
        break;
    case CallEvent::Kind::Connect:
        line += "TAKEN " + event.caller();
        break;
    case CallEvent::Kind::End:
        line += "END   " + event.caller() + ": " + (event.missed ? words.missed : event.reason);
        break;
    }
    return line;
}

const char* eventName(CallEvent::Kind kind) {
    switch (kind) {
    case CallEvent::Kind::Ring:
        return "ring";
    case CallEvent::Kind::Connect:
        return "connect";
    case CallEvent::Kind::End:
        break;
    }
    return "end";
}

std::string isoTime(std::chrono::system_clock::time_point time, bool withMilliseconds) {
    std::string text = formatTime(localTime(time), "%Y-%m-%dT%H:%M:%S%z");
    if (withMilliseconds && text.size() >= 19) {
        const auto millis =
            std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()) % 1000;
        std::string fraction = std::to_string(1000 + millis.count()); // "1250" for 250 ms
        fraction[0] = '.';
        text.insert(19, fraction);
    }
    // strftime writes the offset as +hhmm; ISO 8601's extended form wants +hh:mm.
    if (text.size() >= 5) {
        text.insert(text.size() - 2, ":");
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> commandEnvironment(const CallEvent& event) {
    return {{"RUFWACHT_EVENT", eventName(event.kind)},
            {"RUFWACHT_NUMBER", event.withheld ? std::string() : event.number},
            {"RUFWACHT_NAME", event.name},
            {"RUFWACHT_ORIGIN", event.origin},
            {"RUFWACHT_MSN", event.msn},
            {"RUFWACHT_MSN_NAME", event.msnName},
            {"RUFWACHT_SERVICE", event.service},
            {"RUFWACHT_REASON", event.reason},
            {"RUFWACHT_MISSED", event.missed ? "1" : "0"},
            {"RUFWACHT_TIME", isoTime(event.time)}};
}
