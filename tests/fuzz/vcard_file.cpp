// A vCard file, 2.1 to 4.0: any bytes cost at most the cards they damage.
#include "FuzzInput.h"
#include "contacts/VCardReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readVCards(fuzz::text(data, size));
    return 0;
}
