// A CardDAV server's multistatus answer: any bytes cost at most the cards they damage.
#include "FuzzInput.h"
#include "contacts/CardDavAnswer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readCardDavAnswer(fuzz::text(data, size));
    return 0;
}
