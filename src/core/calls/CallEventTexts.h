#pragma once

#include "calls/CallEvent.h"

#include <string>
#include <utility>
#include <vector>

/// The words of the headless print-out that come from the language tables.
struct HeadlessWords {
    std::string forMsn; // before the MSN's name: "for"
    std::string missed; // the outcome of a call nobody answered
};

/// One line of the headless print-out, without line end, e.g.
/// "10:41:07  RING  Erika Mustermann (030 12345678, Berlin) for Privat" or
/// "10:41:19  END   Erika Mustermann: missed". The time is local.
std::string headlessLine(const CallEvent& event, const HeadlessWords& words);

/// The event's name in RUFWACHT_EVENT: ring, connect or end.
const char* eventName(CallEvent::Kind kind);

/// The event's time in ISO 8601 with the local offset, e.g. "2026-12-07T10:41:07+01:00", or
/// with milliseconds ("…T10:41:07.250+01:00") where a listener tells how fresh an event is.
std::string isoTime(std::chrono::system_clock::time_point time, bool withMilliseconds = false);

/// The environment variables that describe the event to a command run for it.
std::vector<std::pair<std::string, std::string>> commandEnvironment(const CallEvent& event);
