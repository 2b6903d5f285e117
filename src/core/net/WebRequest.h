#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

/// The most of a request head the journal page server reads; a longer head is refused.
inline constexpr std::size_t kMaxWebRequestBytes = std::size_t{8} * 1024;

/// What the bytes a client has sent so far make of a request to the journal page server.
struct WebRequest {
    enum class Status {
        Incomplete, // the head has not ended yet: wait for more
        NotHttp,    // the first line is no HTTP request line
        TooLarge,   // kMaxWebRequestBytes and still no end of the head
        Complete,
    };
    /// What a GET asks for: the page ("/index.html&pwd=" + password), the journal as JSON
    /// ("/calls.json&pwd=" or "?pwd=", then the password, optionally "&limit=N"), the call events
    /// ("/events&pwd=" or "?pwd="), or the line's health ("/health").
    enum class Resource { Other, Page, CallsJson, Events, Health };

    Status status = Status::Incomplete;
    Resource resource = Resource::Other;
    /// The password of a request for the page, the JSON or the events, exactly as sent;
    /// nothing for any other request.
    std::optional<std::string> password;
    /// The most calls the JSON is to hold.
    std::optional<std::size_t> limit;
    /// The client keeps the connection for further requests (HTTP/1.1 unless it says
    /// "Connection: close"; HTTP/1.0 only with "Connection: keep-alive").
    bool keepAlive = false;
    /// The bytes of the head up to and including its empty line: what follows belongs to the
    /// next request.
    std::size_t headLength = 0;
};

/// Parses a request head: the request line, then header lines up to an empty line. Only the
/// request line counts; a line that is not HTTP is refused as soon as it is complete.
WebRequest parseWebRequest(std::string_view bytes);

/// The text with every "%" and two hex digits decoded to that byte; other "%" stay as they are.
std::string percentDecoded(std::string_view text);

/// Whether a given password opens the page: it equals the setting as sent or percent-decoded
/// (browsers encode characters outside ASCII). The time taken does not depend on where the
/// first difference lies.
bool passwordMatches(std::string_view given, std::string_view expected);

/// The answer to a request: its status code and what its body is.
struct WebReply {
    enum class Body {
        WrongPasswordPage, // the page with the "Wrong Password" row
        JournalPage,
        CallsJson,
        Events,    // an endless stream of call events
        Health,    // the line's state as JSON
        JsonError, // {"error": ...} for a refused JSON or events request
    };
    int status = 403;
    Body body = Body::WrongPasswordPage;
};

/// 200 with the journal page, the JSON or the events for the right password; for a wrong or
/// missing one 403 with the wrong-password page (a JSON error for JSON and events); the
/// health without a password; 403 for any other path; 400 for what is not HTTP; 431 for an
/// overlong head. The health's own status is the server's. Never called while incomplete.
WebReply replyFor(const WebRequest& request, std::string_view expectedPassword);

inline constexpr std::string_view kHtmlContentType = "text/html; charset=iso-8859-1";
inline constexpr std::string_view kJsonContentType = "application/json; charset=utf-8";

/// The status line and header fields of a reply with a body of contentLength bytes, up to
/// and including the empty line.
std::string webReplyHead(int status, std::size_t contentLength,
                         std::string_view contentType = kHtmlContentType, bool keepAlive = false);

/// The head of an event stream's reply: no length, the connection stays open.
std::string eventStreamHead();
