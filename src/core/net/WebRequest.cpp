#include "net/WebRequest.h"

#include "support/NumericText.h"

#include <algorithm>

namespace {

constexpr std::string_view kJournalTarget = "/index.html&pwd=";
constexpr std::string_view kLimitParameter = "&limit=";

// The length of the head with its empty line.
std::optional<std::size_t> headLength(std::string_view bytes) {
    const std::size_t crlf = bytes.find("\r\n\r\n");
    const std::size_t lf = bytes.find("\n\n");
    if (crlf == std::string_view::npos && lf == std::string_view::npos) {
        return std::nullopt;
    }
    return crlf < lf ? crlf + 4 : lf + 2;
}

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return lowered(a) == lowered(b); });
}

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        if (startsWithIgnoringCase(text.substr(i), word)) {
            return true;
        }
    }
    return false;
}

// The value of a header field in the head's lines after the request line; empty when absent.
std::string_view headerValue(std::string_view head, std::string_view name) {
    std::size_t start = head.find('\n');
    while (start != std::string_view::npos && start + 1 < head.size()) {
        const std::size_t end = head.find('\n', start + 1);
        std::string_view line = head.substr(start + 1, end - start - 1);
        if (startsWithIgnoringCase(line, name) && line.size() > name.size() &&
            line[name.size()] == ':') {
            return line.substr(name.size() + 1);
        }
        start = end;
    }
    return {};
}

bool keepsConnection(std::string_view head, std::string_view version) {
    const std::string_view connection = headerValue(head, "Connection");
    if (!headerValue(head, "Content-Length").empty() ||
        !headerValue(head, "Transfer-Encoding").empty()) {
        return false; // a body is not read: the next request could not be found
    }
    if (version == "HTTP/1.1") {
        return !containsIgnoringCase(connection, "close");
    }
    return containsIgnoringCase(connection, "keep-alive");
}

// "&limit=N" at the end of the target, split off.
std::optional<std::size_t> takeLimit(std::string_view& rest) {
    const std::size_t at = rest.rfind(kLimitParameter);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view digits = rest.substr(at + kLimitParameter.size());
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    rest = rest.substr(0, at);
    return static_cast<std::size_t>(std::stoul(std::string(digits)));
}

// The rest of the target after path and "&pwd=" or "?pwd=".
std::optional<std::string_view> afterPassword(std::string_view target, std::string_view path) {
    if (target.substr(0, path.size()) != path) {
        return std::nullopt;
    }
    const std::string_view rest = target.substr(path.size());
    if (rest.substr(0, 5) != "&pwd=" && rest.substr(0, 5) != "?pwd=") {
        return std::nullopt;
    }
    return rest.substr(5);
}

void readTarget(std::string_view target, WebRequest& request) {
    using Resource = WebRequest::Resource;
    if (target.substr(0, kJournalTarget.size()) == kJournalTarget) {
        request.resource = Resource::Page;
        request.password = std::string(target.substr(kJournalTarget.size()));
    } else if (auto json = afterPassword(target, "/calls.json")) {
        request.resource = Resource::CallsJson;
        request.limit = takeLimit(*json);
        request.password = std::string(*json);
    } else if (auto events = afterPassword(target, "/events")) {
        request.resource = Resource::Events;
        request.password = std::string(*events);
    } else if (target == "/health" || target.substr(0, 8) == "/health?") {
        request.resource = Resource::Health;
    }
}

bool isMethodChar(char c) {
    return c >= 'A' && c <= 'Z';
}

struct RequestLine {
    std::string_view method;
    std::string_view target;
    std::string_view version;
};

// "METHOD target HTTP/x"; the target runs from the first blank to the last, so a raw blank in
// a password stays part of it.
std::optional<RequestLine> splitRequestLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == 0 || last <= first + 1) {
        return std::nullopt;
    }
    const std::string_view method = line.substr(0, first);
    const std::string_view version = line.substr(last + 1);
    if (!std::all_of(method.begin(), method.end(), isMethodChar) ||
        version.substr(0, 5) != "HTTP/") {
        return std::nullopt;
    }
    return RequestLine{method, line.substr(first + 1, last - first - 1), version};
}

// Runs over the whole of expected whatever the given text holds.
bool equalInConstantTime(std::string_view given, std::string_view expected) {
    std::size_t difference = given.size() ^ expected.size();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const unsigned char g = i < given.size() ? static_cast<unsigned char>(given[i]) : 0;
        difference |= static_cast<std::size_t>(g ^ static_cast<unsigned char>(expected[i]));
    }
    return difference == 0;
}

const char* reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 503:
        return "Service Unavailable";
    case 431:
        return "Request Header Fields Too Large";
    default:
        return "Error";
    }
}

} // namespace

WebRequest parseWebRequest(std::string_view bytes) {
    WebRequest request;
    const std::string_view head = bytes.substr(0, kMaxWebRequestBytes);
    const std::size_t lineEnd = head.find('\n');
    if (lineEnd != std::string_view::npos && !splitRequestLine(head.substr(0, lineEnd))) {
        request.status = WebRequest::Status::NotHttp;
        return request;
    }
    const std::optional<std::size_t> length = headLength(head);
    if (!length) {
        request.status = bytes.size() >= kMaxWebRequestBytes ? WebRequest::Status::TooLarge
                                                             : WebRequest::Status::Incomplete;
        return request;
    }
    request.status = WebRequest::Status::Complete;
    request.headLength = *length;
    const RequestLine line = *splitRequestLine(head.substr(0, lineEnd));
    request.keepAlive = keepsConnection(head.substr(0, *length), line.version);
    if (line.method == "GET") {
        readTarget(line.target, request);
    }
    return request;
}

std::string percentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            decoded +=
                static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

bool passwordMatches(std::string_view given, std::string_view expected) {
    const bool asSent = equalInConstantTime(given, expected);
    const bool decoded = equalInConstantTime(percentDecoded(given), expected);
    return asSent || decoded;
}

WebReply replyFor(const WebRequest& request, std::string_view expectedPassword) {
    switch (request.status) {
    case WebRequest::Status::NotHttp:
    case WebRequest::Status::Incomplete:
        return {400, WebReply::Body::WrongPasswordPage};
    case WebRequest::Status::TooLarge:
        return {431, WebReply::Body::WrongPasswordPage};
    case WebRequest::Status::Complete:
        break;
    }
    using Resource = WebRequest::Resource;
    using Body = WebReply::Body;
    if (request.resource == Resource::Health) {
        return {200, Body::Health};
    }
    const bool opens = request.password && passwordMatches(*request.password, expectedPassword);
    switch (request.resource) {
    case Resource::Page:
        return opens ? WebReply{200, Body::JournalPage} : WebReply{403, Body::WrongPasswordPage};
    case Resource::CallsJson:
        return {opens ? 200 : 403, opens ? Body::CallsJson : Body::JsonError};
    case Resource::Events:
        return {opens ? 200 : 403, opens ? Body::Events : Body::JsonError};
    default:
        return {403, Body::WrongPasswordPage};
    }
}

std::string webReplyHead(int status, std::size_t contentLength, std::string_view contentType,
                         bool keepAlive) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) +
           "\r\nContent-Type: " + std::string(contentType) +
           "\r\nContent-Length: " + std::to_string(contentLength) +
           (keepAlive ? "\r\nConnection: keep-alive" : "\r\nConnection: close") +
           "\r\nCache-Control: no-store\r\n\r\n";
}

std::string eventStreamHead() {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream; charset=utf-8\r\n"
           "Cache-Control: no-store\r\nConnection: keep-alive\r\n\r\n";
}
