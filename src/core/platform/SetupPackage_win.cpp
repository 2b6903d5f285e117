#include "net/UpdateCheck.h"

// Windows gets its updates as a setup program.
SetupPackage setupPackageFor(std::string_view version) {
    return windowsSetup(version);
}
