// calls.txt through the journal's own load path: decoding, line ends, fields, old layouts.
#include "FuzzInput.h"
#include "stores/CallJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CallJournal journal;
    journal.load(fuzz::writeScratch("calls.txt", data, size));
    for (int i = 1; i <= journal.size(); ++i) {
        journalLine(journal.recordAt(i));
    }
    return 0;
}
