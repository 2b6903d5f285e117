// A seeded random run over the request parser: random bytes and mutated requests. Whatever
// comes, the parser answers, only from the first 8 KiB, and more bytes never change a verdict.

#include "net/WebRequest.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class RequestSource {
public:
    explicit RequestSource(std::uint32_t seed) : m_random(seed) {}

    std::size_t below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random);
    }
    char byte() { return static_cast<char>(below(256)); }

    std::string randomBytes() {
        std::string bytes(below(300), '\0');
        for (auto& b : bytes) {
            b = byte();
        }
        return bytes;
    }

    std::string mutated() {
        static const char* const kSeeds[] = {
            "GET /index.html&pwd=brindle HTTP/1.1\r\nHost: a\r\n\r\n",
            "GET /index.html&pwd=a%20b HTTP/1.0\n\n",
            "GET / HTTP/1.1\r\nUser-Agent: x\r\nAccept: */*\r\n\r\n",
        };
        std::string bytes = kSeeds[below(3)];
        for (std::size_t i = 1 + below(4); i > 0; --i) {
            switch (below(4)) {
            case 0:
                bytes[below(bytes.size())] = byte();
                break;
            case 1:
                bytes.resize(below(bytes.size() + 1));
                break;
            case 2:
                bytes.insert(below(bytes.size() + 1), below(3) == 0 ? " H" : "\r\n");
                break;
            default:
                bytes.insert(below(bytes.size() + 1), std::string(below(9000), byte()));
                break;
            }
            if (bytes.empty()) {
                bytes = "G";
            }
        }
        return bytes;
    }

private:
    std::mt19937 m_random;
};

} // namespace

TEST(RequestFuzz, ParserHoldsItsPromisesOnAnyInput) {
    RequestSource source(20240611);
    for (int round = 0; round < 20000; ++round) {
        const std::string bytes = round % 2 == 0 ? source.randomBytes() : source.mutated();
        const WebRequest request = parseWebRequest(bytes);
        if (request.password) {
            ASSERT_EQ(request.status, WebRequest::Status::Complete);
            ASSERT_EQ(bytes.rfind("GET /index.html&pwd=", 0), 0u) << bytes;
            ASSERT_LE(request.password->size(), kMaxWebRequestBytes);
            ASSERT_TRUE(passwordMatches(*request.password, *request.password));
        }
        // Only the first 8 KiB count.
        const WebRequest head = parseWebRequest(bytes.substr(0, kMaxWebRequestBytes));
        if (request.status != WebRequest::Status::TooLarge) {
            ASSERT_EQ(head.status, request.status);
            ASSERT_EQ(head.password, request.password);
        }
        // A verdict, once reached, stays when more bytes arrive.
        if (request.status != WebRequest::Status::Incomplete) {
            const WebRequest more = parseWebRequest(bytes + source.randomBytes());
            ASSERT_EQ(more.status, request.status) << bytes;
            ASSERT_EQ(more.password, request.password);
        }
        ASSERT_LE(percentDecoded(bytes).size(), bytes.size());
    }
}
