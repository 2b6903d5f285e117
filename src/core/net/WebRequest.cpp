#include "net/WebRequest.h"

#include "support/NumericText.h"

#include <algorithm>

namespace {

constexpr std::string_view kJournalTarget = "/index.html&pwd=";

std::optional<std::size_t> headEnd(std::string_view bytes) {
    const std::size_t crlf = bytes.find("\r\n\r\n");
    const std::size_t lf = bytes.find("\n\n");
    const std::size_t end = std::min(crlf, lf);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return end;
}

bool isMethodChar(char c) {
    return c >= 'A' && c <= 'Z';
}

struct RequestLine {
    std::string_view method;
    std::string_view target;
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
    return RequestLine{method, line.substr(first + 1, last - first - 1)};
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
    if (!headEnd(head)) {
        request.status = bytes.size() >= kMaxWebRequestBytes ? WebRequest::Status::TooLarge
                                                             : WebRequest::Status::Incomplete;
        return request;
    }
    request.status = WebRequest::Status::Complete;
    const RequestLine line = *splitRequestLine(head.substr(0, lineEnd));
    if (line.method == "GET" && line.target.substr(0, kJournalTarget.size()) == kJournalTarget) {
        request.password = std::string(line.target.substr(kJournalTarget.size()));
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
        return {400, false};
    case WebRequest::Status::TooLarge:
        return {431, false};
    case WebRequest::Status::Complete:
        break;
    }
    if (request.password && passwordMatches(*request.password, expectedPassword)) {
        return {200, true};
    }
    return {403, false};
}

std::string webReplyHead(int status, std::size_t contentLength) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) +
           "\r\nContent-Type: text/html; charset=iso-8859-1\r\nContent-Length: " +
           std::to_string(contentLength) +
           "\r\nConnection: close\r\nCache-Control: no-store\r\n\r\n";
}
