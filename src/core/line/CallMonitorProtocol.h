#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The plain-text call monitor that many DSL and cable routers offer on TCP port 1012: one
/// line per event, fields separated by ";", each line beginning with "DD.MM.YY HH:MM:SS".
namespace callmonitor {

inline constexpr std::uint16_t kDefaultPort = 1012;
/// Longer lines are no call monitor's: they are dropped unread.
inline constexpr std::size_t kMaxLineLength = 1024;

enum class EventKind {
    Ring,       // incoming call: caller, called (own number), trunk
    Call,       // outgoing call: extension, called (own number), caller (dialled), trunk
    Connect,    // answered: extension, caller (the other side's number)
    Disconnect, // ended: seconds connected
};

struct Event {
    EventKind kind = EventKind::Ring;
    std::string timestamp; // "DD.MM.YY HH:MM:SS" as the router sent it
    std::uint32_t connectionId = 0;
    std::string caller;        // Ring: the caller ("" when withheld); Connect: the other side
    std::string called;        // Ring: the own number dialled; Call: the own number used
    std::string dialled;       // Call: the number dialled
    std::string extension;     // Call, Connect: the router's extension
    std::string trunk;         // Ring, Call: the line the call uses, e.g. SIP0 or POTS
    std::uint32_t seconds = 0; // Disconnect
};

/// Where the call monitor listens.
struct Endpoint {
    std::string host;
    std::uint16_t port = kDefaultPort;
};

/// The --line value that names a call monitor: this prefix, then HOST[:PORT].
inline constexpr std::string_view kLinePrefix = "callmonitor:";

/// "HOST", "HOST:PORT" or "[IPv6]:PORT"; nothing for an empty host or a bad port.
std::optional<Endpoint> parseEndpoint(std::string_view text);

/// One parsed line: the event, or why the line was not understood.
struct ParsedLine {
    std::optional<Event> event;
    std::string problem;
};

/// Parses one line without its line end (a trailing CR is ignored). Numbers may hold digits and
/// "*#"; a leading "+" becomes "00", so that the number is dialable as a CAPI one is.
ParsedLine parseLine(std::string_view line);

/// Cuts the byte stream into lines. Lines end with LF (CR LF works too); a line longer than
/// kMaxLineLength is dropped whole, however long it grows.
class LineSplitter {
public:
    /// The complete lines in bytes (together with what came before), without their ends.
    std::vector<std::string> feed(std::string_view bytes);
    /// How many overlong lines were dropped since the last call; resets the count.
    int takeDroppedCount();
    /// Forgets a partial line, e.g. when the connection is gone.
    void clear();

private:
    std::string m_partial;
    bool m_discarding = false; // inside an overlong line until its end
    int m_dropped = 0;
};

} // namespace callmonitor
