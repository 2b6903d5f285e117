#include "calls/CallEventTexts.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

std::tm localTime(std::chrono::system_clock::time_point time) {
    const std::time_t when = std::chrono::system_clock::to_time_t(time);
    const std::tm* local = std::localtime(&when);
    return local != nullptr ? *local : std::tm{};
}

// Minutes that local time is ahead of UTC at that moment.
int utcOffsetMinutes(std::chrono::system_clock::time_point time) {
    const std::time_t when = std::chrono::system_clock::to_time_t(time);
    const std::tm local = localTime(time);
    const std::tm* utcTime = std::gmtime(&when);
    const std::tm utc = utcTime != nullptr ? *utcTime : local;
    int days = local.tm_yday - utc.tm_yday;
    if (local.tm_year != utc.tm_year) {
        days = local.tm_year > utc.tm_year ? 1 : -1; // the two sides of New Year's night
    }
    return days * 24 * 60 + (local.tm_hour - utc.tm_hour) * 60 + (local.tm_min - utc.tm_min);
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
    const std::tm local = localTime(time);
    std::string text = formatTime(local, "%Y-%m-%dT%H:%M:%S");
    if (withMilliseconds) {
        const auto millis =
            std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()) % 1000;
        std::string fraction = std::to_string(1000 + millis.count()); // "1250" for 250 ms
        fraction[0] = '.';
        text += fraction;
    }
    // The offset is worked out here: strftime's %z gives the zone's name on Windows.
    const int offset = utcOffsetMinutes(time);
    std::array<char, 24> zone{};
    std::snprintf(zone.data(), zone.size(), "%c%02d:%02d", offset < 0 ? '-' : '+',
                  std::abs(offset) / 60, std::abs(offset) % 60);
    return text + zone.data();
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
