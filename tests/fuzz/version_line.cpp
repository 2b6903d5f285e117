// The update server's version.txt: its first line, and the setup file named after it.
#include "FuzzInput.h"
#include "net/UpdateCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::text(data, size);
    const VersionLine line = parseVersionLine(bytes);
    setupPackageFor(line.versionText);
    parseVersion(bytes);
    updateBase(bytes);
    return 0;
}
