#include "calls/NotificationText.h"

#include "calls/CallEvent.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"

namespace {

void addLine(std::string& body, const std::string& line) {
    if (line.empty()) {
        return;
    }
    if (!body.empty()) {
        body += '\n';
    }
    body += line;
}

// The lines under the caller: the number where a name stands above it, the origin and the MSN.
std::string detailLines(const CallEvent& call) {
    std::string body;
    if (!call.name.empty() && !call.withheld) {
        addLine(body, call.number);
    }
    addLine(body, call.origin);
    addLine(body, call.msnName);
    return body;
}

} // namespace

NotificationText ringingNotification(const CallEvent& call) {
    return {call.caller(), detailLines(call)};
}

NotificationText missedNotification(const CallEvent& call, const LanguageTable& language) {
    std::string body = call.caller();
    addLine(body, detailLines(call));
    return {language.text(lang_id::kMissedCall), body};
}

std::string missedCountText(int count, const LanguageTable& language) {
    return std::to_string(count) + " " + language.text(lang_id::kMissedSuffix);
}
