// msn.dat through the MSN list's own load path, then a lookup by the first entry's MSN.
#include "FuzzInput.h"
#include "stores/MsnList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MsnList msns;
    msns.load(fuzz::writeScratch("msn.dat", data, size));
    if (msns.size() > 0) {
        msns.nameOf(msns.entryAt(1).msn);
        msns.rejectsWithheld(msns.entryAt(1).msn);
    }
    return 0;
}
