#include "line/CallMonitorProtocol.h"

#include "support/AsciiText.h"

#include <charconv>

namespace callmonitor {
namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto end = line.find(';', start);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    // The terminating ";" leaves an empty last field.
    if (fields.size() > 1 && fields.back().empty()) {
        fields.pop_back();
    }
    return fields;
}

using ascii::isDigit;

/// "DD.MM.YY HH:MM:SS" with plausible values.
bool isTimestamp(std::string_view text) {
    static constexpr std::string_view kShape = "00.00.00 00:00:00";
    if (text.size() != kShape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        if (kShape[i] == '0' ? !isDigit(text[i]) : text[i] != kShape[i]) {
            return false;
        }
    }
    const auto two = [text](std::size_t at) {
        return (text[at] - '0') * 10 + (text[at + 1] - '0');
    };
    return two(0) >= 1 && two(0) <= 31 && two(3) >= 1 && two(3) <= 12 && two(9) <= 23 &&
           two(12) <= 59 && two(15) <= 59;
}

std::optional<std::uint32_t> parseCount(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.size() > 9 || error != std::errc() ||
        end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

/// A telephone number as the router writes it; nothing when it holds anything else.
std::optional<std::string> parseNumber(std::string_view text) {
    constexpr std::size_t kMaxDigits = 40;
    std::string number;
    if (text.starts_with('+')) {
        number = "00";
        text.remove_prefix(1);
    }
    if (text.size() > kMaxDigits) {
        return std::nullopt;
    }
    for (char c : text) {
        if (!isDigit(c) && c != '*' && c != '#') {
            return std::nullopt;
        }
    }
    number += text;
    return number;
}

/// A name such as a trunk or an extension: printable ASCII, nothing that could break a record.
std::optional<std::string> parseName(std::string_view text) {
    constexpr std::size_t kMaxName = 40;
    if (text.size() > kMaxName) {
        return std::nullopt;
    }
    for (char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return std::nullopt;
        }
    }
    return std::string(text);
}

struct Problem {
    std::string reason;
};

std::string_view field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

std::string numberField(const std::vector<std::string_view>& fields, std::size_t index,
                        const char* what) {
    auto number = parseNumber(field(fields, index));
    if (!number) {
        throw Problem{std::string("bad ") + what + " \"" + std::string(field(fields, index)) +
                      "\""};
    }
    return *number;
}

std::string nameField(const std::vector<std::string_view>& fields, std::size_t index,
                      const char* what) {
    auto name = parseName(field(fields, index));
    if (!name) {
        throw Problem{std::string("bad ") + what};
    }
    return *name;
}

std::uint32_t countField(const std::vector<std::string_view>& fields, std::size_t index,
                         const char* what) {
    const auto count = parseCount(field(fields, index));
    if (!count) {
        throw Problem{std::string("bad ") + what + " \"" + std::string(field(fields, index)) +
                      "\""};
    }
    return *count;
}

Event parseFields(const std::vector<std::string_view>& fields) {
    struct Kind {
        std::string_view name;
        EventKind kind;
        std::size_t fieldCount;
    };
    static constexpr Kind kKinds[] = {{"RING", EventKind::Ring, 6},
                                      {"CALL", EventKind::Call, 7},
                                      {"CONNECT", EventKind::Connect, 5},
                                      {"DISCONNECT", EventKind::Disconnect, 4}};
    if (fields.size() < 2) {
        throw Problem{"no event"};
    }
    if (!isTimestamp(fields[0])) {
        throw Problem{"bad date and time"};
    }
    const Kind* kind = nullptr;
    for (const Kind& candidate : kKinds) {
        if (fields[1] == candidate.name) {
            kind = &candidate;
        }
    }
    if (kind == nullptr) {
        throw Problem{"unknown event \"" + std::string(fields[1].substr(0, 20)) + "\""};
    }
    // Newer firmware may add fields at the end; fewer than the event needs are an error.
    if (fields.size() < kind->fieldCount) {
        throw Problem{std::string(kind->name) + " with " + std::to_string(fields.size()) +
                      " fields, needs " + std::to_string(kind->fieldCount)};
    }
    Event event;
    event.kind = kind->kind;
    event.timestamp = std::string(fields[0]);
    event.connectionId = countField(fields, 2, "connection id");
    switch (event.kind) {
    case EventKind::Ring:
        event.caller = numberField(fields, 3, "caller");
        event.called = numberField(fields, 4, "called number");
        event.trunk = nameField(fields, 5, "trunk");
        break;
    case EventKind::Call:
        event.extension = nameField(fields, 3, "extension");
        event.called = numberField(fields, 4, "own number");
        event.dialled = numberField(fields, 5, "dialled number");
        event.trunk = nameField(fields, 6, "trunk");
        break;
    case EventKind::Connect:
        event.extension = nameField(fields, 3, "extension");
        event.caller = numberField(fields, 4, "number");
        break;
    case EventKind::Disconnect:
        event.seconds = countField(fields, 3, "duration");
        break;
    }
    return event;
}

} // namespace

std::optional<Endpoint> parseEndpoint(std::string_view text) {
    Endpoint endpoint;
    std::string_view host = text;
    std::string_view port;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        const auto rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) {
                return std::nullopt;
            }
            port = rest.substr(1);
        }
    } else if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (host.find(':') != std::string_view::npos) {
            return std::nullopt; // an IPv6 address needs its brackets
        }
    }
    if (host.empty() || !parseName(host)) {
        return std::nullopt;
    }
    endpoint.host = std::string(host);
    if (!port.empty() || text.ends_with(':')) {
        const auto number = parseCount(port);
        if (!number || *number == 0 || *number > 65535) {
            return std::nullopt;
        }
        endpoint.port = static_cast<std::uint16_t>(*number);
    }
    return endpoint;
}

ParsedLine parseLine(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    ParsedLine parsed;
    try {
        parsed.event = parseFields(splitFields(line));
    } catch (const Problem& problem) {
        parsed.problem = problem.reason;
    }
    return parsed;
}

std::vector<std::string> LineSplitter::feed(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        const auto piece = bytes.substr(0, end);
        if (!m_discarding) {
            if (m_partial.size() + piece.size() > kMaxLineLength) {
                m_discarding = true;
                m_partial.clear();
            } else {
                m_partial.append(piece);
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        if (m_discarding) {
            ++m_dropped;
            m_discarding = false;
        } else {
            if (m_partial.ends_with('\r')) {
                m_partial.pop_back();
            }
            lines.push_back(std::move(m_partial));
        }
        m_partial.clear();
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

int LineSplitter::takeDroppedCount() {
    const int dropped = m_dropped;
    m_dropped = 0;
    return dropped;
}

void LineSplitter::clear() {
    m_partial.clear();
    m_discarding = false;
}

} // namespace callmonitor
