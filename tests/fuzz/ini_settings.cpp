// config.dat: the INI document read into the settings record, written back and read again.
#include "FuzzInput.h"
#include "stores/IniFile.h"
#include "stores/Settings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const IniDocument file(fuzz::text(data, size));
    SettingsRecord record;
    readSettings(record, file);
    IniDocument written(file.bytes());
    writeSettings(record, written);
    SettingsRecord again;
    readSettings(again, written);
    // What was written must read back as the same record.
    IniDocument rewritten(written.bytes());
    writeSettings(again, rewritten);
    if (rewritten.bytes() != written.bytes()) {
        std::abort();
    }
    return 0;
}
