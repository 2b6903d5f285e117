// A router's phonebook export: any bytes cost at most the cards they damage.
#include "FuzzInput.h"
#include "contacts/RouterPhonebookReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readRouterPhonebook(fuzz::text(data, size));
    return 0;
}
