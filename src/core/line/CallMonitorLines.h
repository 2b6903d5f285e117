#pragma once

#include "calls/CallEvent.h"

#include <string>

/// The lines a router's call monitor would write for the program's own call events, so that
/// another program reading the call monitor gets the calls this one handles.
namespace callmonitor {

/// The trunk named in RING lines; the events do not say which line a call came on.
inline constexpr const char* kServedTrunk = "ISDN";

/// One line with its CR LF: RING for a ring, CONNECT for an answer, DISCONNECT for an end. The
/// connection id is the call's id folded into the nine digits a reader takes; a withheld caller
/// or a number with other characters than digits, "*", "#" and a leading "+" is written as an empty
/// field.
std::string formatLine(const CallEvent& event);

} // namespace callmonitor
