#pragma once

#include "net/JournalPage.h"
#include "net/LineHealth.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CallEvent;

/// The journal as a JSON array of calls, newest first, each an object with number, name, msn,
/// date (ISO 8601), time, reason, service and missed. Held so that the newest N calls cost
/// one copy.
class CallsJson {
public:
    /// From the lines of calls.txt in file order (the newest last). A call is missed when its
    /// end reason is missedReason, the text for a caller who hung up unanswered.
    CallsJson(const std::vector<std::string>& journalLines, const NameLookup& nameOf,
              std::string_view missedReason);

    /// The array with the newest limit calls, or all of them.
    std::string text(std::optional<std::size_t> limit = std::nullopt) const;
    /// The same without its closing "]", as a view into this object.
    std::string_view openArray(std::optional<std::size_t> limit = std::nullopt) const;
    std::size_t size() const { return m_ends.size(); }

private:
    std::string m_open; // "[" and the calls, without the closing bracket
    std::vector<std::size_t> m_ends;
};

/// A journal date "DD.MM.YYYY" (or "DD.MM.YY", taken as 20YY) as "YYYY-MM-DD"; other text
/// unchanged.
std::string isoDate(std::string_view journalDate);

/// A call event as a server-sent event: "event: ring|connect|end", then "data: " and the
/// call as one JSON object, and an empty line.
std::string callEventMessage(const CallEvent& event);

/// {"line":"up","since":"…","calls":N}, or with "down" and the "reason".
std::string lineHealthJson(const LineHealth& health);

/// {"error":"…"} for a refused request.
std::string jsonError(std::string_view message);
