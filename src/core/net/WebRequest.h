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
    Status status = Status::Incomplete;
    /// The password of a request for the journal page ("GET /index.html&pwd=" + password +
    /// " HTTP/..."), exactly as sent; nothing for any other request.
    std::optional<std::string> password;
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

/// The answer to a request: its status code and whether it carries the journal.
struct WebReply {
    int status = 403;
    bool withJournal = false;
};

/// 200 with the journal for the right password; 403 for a wrong or missing one and any other
/// path; 400 for what is not HTTP; 431 for an overlong head. Never called while incomplete.
WebReply replyFor(const WebRequest& request, std::string_view expectedPassword);

/// The status line and header fields of a reply with a page of contentLength bytes, up to
/// and including the empty line.
std::string webReplyHead(int status, std::size_t contentLength);
