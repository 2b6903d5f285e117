// The journal web page's request parser and the reply it chooses. Whatever comes, the parser
// answers only from the first 8 KiB, and more bytes never change a verdict once reached.
#include "FuzzInput.h"
#include "net/WebRequest.h"

#include <cstdlib>

namespace {

void require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(fuzz::text(data, size));
    const WebRequest request = parseWebRequest(bytes);
    replyFor(request, "brindle");
    if (request.password) {
        require(request.status == WebRequest::Status::Complete);
        require(request.password->size() <= kMaxWebRequestBytes);
        require(passwordMatches(*request.password, *request.password));
    }
    const WebRequest head = parseWebRequest(bytes.substr(0, kMaxWebRequestBytes));
    if (request.status != WebRequest::Status::TooLarge) {
        require(head.status == request.status && head.password == request.password);
    }
    if (request.status != WebRequest::Status::Incomplete) {
        const WebRequest more = parseWebRequest(bytes + "GET / HTTP/1.1\r\n\r\n");
        require(more.status == request.status && more.password == request.password);
    }
    require(percentDecoded(bytes).size() <= bytes.size());
    return 0;
}
