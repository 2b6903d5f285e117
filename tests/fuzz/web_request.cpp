// The journal web page's request parser and the reply it chooses.
#include "FuzzInput.h"
#include "net/WebRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::text(data, size);
    const WebRequest request = parseWebRequest(bytes);
    replyFor(request, "brindle");
    percentDecoded(bytes);
    return 0;
}
