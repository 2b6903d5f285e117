// nn.dat through the phonebook's own load path, then a lookup by the first entry's number.
#include "FuzzInput.h"
#include "stores/Phonebook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Phonebook phonebook;
    phonebook.load(fuzz::writeScratch("nn.dat", data, size));
    if (phonebook.size() > 0) {
        const std::string number = phonebook.entryAt(1).number + "0";
        phonebook.nameOf(number);
        phonebook.rejects(number);
    }
    return 0;
}
