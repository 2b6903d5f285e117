#include "net/UpdateCheck.h"

// Linux gets its updates as a Debian package for the desktop's package installer.
SetupPackage setupPackageFor(std::string_view version) {
    return debianPackage(version);
}
