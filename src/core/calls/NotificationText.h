#pragma once

#include <string>
#include <string_view>

struct CallEvent;
class LanguageTable;

/// What a desktop notification of a call says: a one-line summary and a body of lines.
struct NotificationText {
    std::string summary;
    std::string body;

    bool operator==(const NotificationText&) const = default;
};

/// A call that rings: the caller as the pop-up names it (name, else number, else the withheld
/// text) and below it the number, the origin and the name of the dialled MSN.
NotificationText ringingNotification(const CallEvent& call);

/// A call nobody answered: "Missed call" and below it the caller and what the ringing one said.
NotificationText missedNotification(const CallEvent& call, const LanguageTable& language);

/// "3 missed" in the active language.
std::string missedCountText(int count, const LanguageTable& language);
