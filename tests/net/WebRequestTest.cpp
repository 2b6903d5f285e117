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
        ParseCase{"OtherPath", "GET /favicon.ico HTTP/1.1\r\n\r\n", Status::Complete, std::nullopt},
        ParseCase{"OtherMethod", "POST /index.html&pwd=brindle HTTP/1.1\r\n\r\n", Status::Complete,
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

TEST(WebReply, StatusForEachKindOfRequest) {
    const auto reply = [](const std::string& bytes) {
        const WebReply r = replyFor(parseWebRequest(bytes), "brindle");
        return std::make_pair(r.status, r.withJournal);
    };
    using R = std::pair<int, bool>;
    EXPECT_EQ(reply("GET /index.html&pwd=brindle HTTP/1.1\r\n\r\n"), R(200, true));
    EXPECT_EQ(reply("GET /index.html&pwd=brindlf HTTP/1.1\r\n\r\n"), R(403, false));
    EXPECT_EQ(reply("GET /index.html HTTP/1.1\r\n\r\n"), R(403, false));
    EXPECT_EQ(reply("GET / HTTP/1.1\r\n\r\n"), R(403, false));
    EXPECT_EQ(reply("SSH-2.0-OpenSSH\r\n"), R(400, false));
    EXPECT_EQ(reply("GET /" + kLong), R(431, false));
}

TEST(WebReply, HeadNamesTheLengthAndForbidsCaching) {
    EXPECT_EQ(webReplyHead(200, 1234), "HTTP/1.1 200 OK\r\n"
                                       "Content-Type: text/html; charset=iso-8859-1\r\n"
                                       "Content-Length: 1234\r\n"
                                       "Connection: close\r\n"
                                       "Cache-Control: no-store\r\n\r\n");
    EXPECT_EQ(webReplyHead(403, 0).substr(0, 24), "HTTP/1.1 403 Forbidden\r\n");
    EXPECT_EQ(webReplyHead(400, 0).substr(0, 26), "HTTP/1.1 400 Bad Request\r\n");
}
