#include "support/TestEnvironment.h"

#include <cstdlib>

void setEnvironmentVariable(const char* name, const char* value) {
    // An empty value removes the variable on Windows.
    ::_putenv_s(name, value != nullptr ? value : "");
}

bool runsOnWindows() {
    return true;
}
