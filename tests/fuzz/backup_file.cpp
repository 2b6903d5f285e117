// A backup file (.ibk): its lines split into the sections of the three files.
#include "FuzzInput.h"
#include "stores/SettingsBackup.h"
#include "support/TextFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = splitLines(cp1252ToUtf8(fuzz::text(data, size)));
    const BackupContent content = parseBackup(lines);
    BackupFileLines files;
    for (std::size_t i = 0; i < files.size(); ++i) {
        files[i] = content.restoredLines(i);
    }
    // What is restored must make the same backup again.
    if (content.hasAnySection() && parseBackup(backupLines(files)).hasAnySection() == false) {
        std::abort();
    }
    return 0;
}
