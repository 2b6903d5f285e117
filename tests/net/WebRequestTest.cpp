#include "net/WebRequest.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace {

using Status = WebRequest::Status;

struct ParseCase {
    const char* name;
    std::string bytes;
    Status status;
    std::optional<std::string> password;
};

class ParseRequest : public ::testing::TestWithParam<ParseCase> {};

const std::string kLong(kMaxWebRequestBytes, 'x');

} // namespace

TEST_P(ParseRequest, StatusAndPassword) {
    const ParseCase& c = GetParam();
    const WebRequest request = parseWebRequest(c.bytes);
    EXPECT_EQ(request.status, c.status);
    EXPECT_EQ(request.password, c.password);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ParseRequest,
    ::testing::Values(
        ParseCase{"JournalRequest", "GET /index.html&pwd=brindle HTTP/1.1\r\nHost: a\r\n\r\n",
                  Status::Complete, "brindle"},
        ParseCase{"HeadNotEnded", "GET /index.html&pwd=brindle HTTP/1.1\r\nHost: a\r\n",
                  Status::Incomplete, std::nullopt},
        ParseCase{"LineNotEnded", "GET /index.html&pw", Status::Incomplete, std::nullopt},
        ParseCase{"BareLineFeeds", "GET /index.html&pwd=a b HTTP/1.0\n\n", Status::Complete, "a b"},
        ParseCase{"EncodedAsSent", "GET /index.html&pwd=a%20b HTTP/1.1\r\n\r\n", Status::Complete,
                  "a%20b"},
        ParseCase{"EmptyPassword", "GET /index.html&pwd= HTTP/1.1\r\n\r\n", Status::Complete, ""},
        ParseCase{"NoPasswordPart", "GET /index.html HTTP/1.1\r\n\r\n", Status::Complete,
                  std::nullopt},
        ParseCase{"BodyAfterHead", "GET /index.html&pwd=x HTTP/1.1\r\n\r\nrest", Status::Complete,
                  "x"},
        ParseCase{"NotHttpAtAll", "hello there\r\n", Status::NotHttp, std::nullopt},
        ParseCase{"NoVersion", "GET /index.html&pwd=x\r\n\r\n", Status::NotHttp, std::nullopt},
        ParseCase{"LowerCaseMethod", "get /index.html&pwd=x HTTP/1.1\r\n\r\n", Status::NotHttp,
                  std::nullopt},
        ParseCase{"EmptyLine", "\r\n\r\n", Status::NotHttp, std::nullopt},
        ParseCase{"TlsHello", std::string("\x16\x03\x01\x02\x00\x01\n", 7), Status::NotHttp,
                  std::nullopt},
        ParseCase{"JustBelowLimit", "GET /" + kLong.substr(6), Status::Incomplete, std::nullopt},
        ParseCase{"AtLimit", "GET /" + kLong.substr(5), Status::TooLarge, std::nullopt},
        ParseCase{"HeadEndsPastLimit", "GET / HTTP/1.1\r\nX: " + kLong + "\r\n\r\n",
                  Status::TooLarge, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebPassword, DecodingAndComparison) {
    // Sent, set, opens the page. Browsers encode blanks and characters outside ASCII; both
    // forms open it.
    const std::tuple<const char*, const char*, bool> cases[] = {{"brindle", "brindle", true},
                                                                {"brindlf", "brindle", false},
                                                                {"Brindle", "brindle", false},
                                                                {"brindl", "brindle", false},
                                                                {"brindlee", "brindle", false},
                                                                {"", "brindle", false},
                                                                {"a%20b", "a b", true},
                                                                {"a b", "a b", true},
                                                                {"K%C3%A4se", "K\xC3\xA4se", true},
                                                                {"100%", "100%", true},
                                                                {"a%2", "a%2", true},
                                                                {"a%2g", "a*g", false}};
    for (const auto& [sent, set, opens] : cases) {
        EXPECT_EQ(passwordMatches(sent, set), opens) << sent << " / " << set;
    }
    EXPECT_EQ(percentDecoded("%41%62c%zz%4"), "Abc%zz%4");
    EXPECT_EQ(percentDecoded("%00"), std::string(1, '\0'));
    EXPECT_EQ(percentDecoded("a%41"), "aA");
}

namespace {

using Resource = WebRequest::Resource;
using Body = WebReply::Body;

struct TargetCase {
    const char* name;
    std::string requestLine;
    Resource resource;
    std::optional<std::string> password;
    std::optional<std::size_t> limit;
    int status; // with the password "brindle"
    Body body;
};

class RequestTarget : public ::testing::TestWithParam<TargetCase> {};

} // namespace

TEST_P(RequestTarget, ResourcePasswordLimitAndReply) {
    const TargetCase& c = GetParam();
    const WebRequest request = parseWebRequest(c.requestLine + "\r\nHost: a\r\n\r\n");
    ASSERT_EQ(request.status, Status::Complete);
    EXPECT_EQ(request.resource, c.resource);
    EXPECT_EQ(request.password, c.password);
    EXPECT_EQ(request.limit, c.limit);
    const WebReply reply = replyFor(request, "brindle");
    EXPECT_EQ(reply.status, c.status);
    EXPECT_EQ(reply.body, c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RequestTarget,
    ::testing::Values(
        TargetCase{"Page", "GET /index.html&pwd=brindle HTTP/1.1", Resource::Page, "brindle",
                   std::nullopt, 200, Body::JournalPage},
        TargetCase{"PageWrong", "GET /index.html&pwd=brindlf HTTP/1.1", Resource::Page, "brindlf",
                   std::nullopt, 403, Body::WrongPasswordPage},
        TargetCase{"PageQuestionMarkIsNoPage", "GET /index.html?pwd=brindle HTTP/1.1",
                   Resource::Other, std::nullopt, std::nullopt, 403, Body::WrongPasswordPage},
        TargetCase{"PageKeepsAmpersands", "GET /index.html&pwd=a&limit=3 HTTP/1.1", Resource::Page,
                   "a&limit=3", std::nullopt, 403, Body::WrongPasswordPage},
        TargetCase{"Json", "GET /calls.json&pwd=brindle HTTP/1.1", Resource::CallsJson, "brindle",
                   std::nullopt, 200, Body::CallsJson},
        TargetCase{"JsonQuery", "GET /calls.json?pwd=brindle HTTP/1.1", Resource::CallsJson,
                   "brindle", std::nullopt, 200, Body::CallsJson},
        TargetCase{"JsonLimit", "GET /calls.json?pwd=brindle&limit=25 HTTP/1.1",
                   Resource::CallsJson, "brindle", 25, 200, Body::CallsJson},
        TargetCase{"JsonBadLimitIsPassword", "GET /calls.json&pwd=brindle&limit=x HTTP/1.1",
                   Resource::CallsJson, "brindle&limit=x", std::nullopt, 403, Body::JsonError},
        TargetCase{"JsonWrong", "GET /calls.json&pwd=guess HTTP/1.1", Resource::CallsJson, "guess",
                   std::nullopt, 403, Body::JsonError},
        TargetCase{"JsonWithoutPassword", "GET /calls.json HTTP/1.1", Resource::Other, std::nullopt,
                   std::nullopt, 403, Body::WrongPasswordPage},
        TargetCase{"Events", "GET /events&pwd=brindle HTTP/1.1", Resource::Events, "brindle",
                   std::nullopt, 200, Body::Events},
        TargetCase{"EventsWrong", "GET /events?pwd=x HTTP/1.1", Resource::Events, "x", std::nullopt,
                   403, Body::JsonError},
        TargetCase{"Health", "GET /health HTTP/1.1", Resource::Health, std::nullopt, std::nullopt,
                   200, Body::Health},
        TargetCase{"HealthLookalike", "GET /healthy HTTP/1.1", Resource::Other, std::nullopt,
                   std::nullopt, 403, Body::WrongPasswordPage},
        TargetCase{"PostIsNothing", "POST /calls.json&pwd=brindle HTTP/1.1", Resource::Other,
                   std::nullopt, std::nullopt, 403, Body::WrongPasswordPage},
        TargetCase{"Root", "GET / HTTP/1.1", Resource::Other, std::nullopt, std::nullopt, 403,
                   Body::WrongPasswordPage}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebRequestHead, KeepAliveAndWhereTheNextRequestStarts) {
    const std::tuple<std::string, bool> cases[] = {
        {"GET / HTTP/1.1\r\n\r\n", true},
        {"GET / HTTP/1.1\r\nConnection: close\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nconnection:Close\r\n\r\n", false},
        {"GET / HTTP/1.0\r\n\r\n", false},
        {"GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", true},
        {"GET / HTTP/1.1\r\nContent-Length: 3\r\n\r\n", false}, // a body is not read
        {"GET / HTTP/1.1\nX-Connection: close\n\n", true}};
    for (const auto& [head, keepAlive] : cases) {
        const WebRequest request = parseWebRequest(head + "GET /next");
        EXPECT_EQ(request.keepAlive, keepAlive) << head;
        EXPECT_EQ(request.headLength, head.size()) << head;
    }
}

TEST(WebReply, HeadNamesTheLengthAndForbidsCaching) {
    EXPECT_EQ(webReplyHead(200, 1234), "HTTP/1.1 200 OK\r\n"
                                       "Content-Type: text/html; charset=iso-8859-1\r\n"
                                       "Content-Length: 1234\r\n"
                                       "Connection: close\r\n"
                                       "Cache-Control: no-store\r\n\r\n");
    EXPECT_EQ(webReplyHead(503, 2, kJsonContentType, true),
              "HTTP/1.1 503 Service Unavailable\r\n"
              "Content-Type: application/json; charset=utf-8\r\n"
              "Content-Length: 2\r\n"
              "Connection: keep-alive\r\n"
              "Cache-Control: no-store\r\n\r\n");
}
