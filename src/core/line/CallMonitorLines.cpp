#include "line/CallMonitorLines.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace callmonitor {
namespace {

// Connection ids longer than nine digits are refused by readers.
constexpr std::uint32_t kIdModulus = 1'000'000'000;

std::string timestamp(std::chrono::system_clock::time_point time) {
    const std::time_t when = std::chrono::system_clock::to_time_t(time);
    const std::tm* local = std::localtime(&when);
    if (local == nullptr) {
        return "01.01.70 00:00:00";
    }
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%02d.%02d.%02d %02d:%02d:%02d", local->tm_mday,
                  local->tm_mon + 1, local->tm_year % 100, local->tm_hour, local->tm_min,
                  local->tm_sec);
    return text.data();
}

/// The number as a dialable field: digits, "*" and "#" after an optional "+", or empty.
std::string numberField(const std::string& number) {
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if ((c < '0' || c > '9') && c != '*' && c != '#' && !(c == '+' && i == 0)) {
            return {};
        }
    }
    return number;
}

} // namespace

std::string formatLine(const CallEvent& event) {
    std::string line = timestamp(event.time);
    const std::string id = std::to_string(event.callId % kIdModulus);
    const std::string caller = event.withheld ? std::string() : numberField(event.number);
    switch (event.kind) {
    case CallEvent::Kind::Ring:
        line += ";RING;" + id + ";" + caller + ";" + numberField(event.msn) + ";" + kServedTrunk;
        break;
    case CallEvent::Kind::Connect:
        // The extension that took the call is not known here.
        line += ";CONNECT;" + id + ";0;" + caller;
        break;
    case CallEvent::Kind::End:
        // The call was never connected on this line: no talk time.
        line += ";DISCONNECT;" + id + ";0";
        break;
    }
    line += ";\r\n";
    return line;
}

} // namespace callmonitor
