#include "support/TestEnvironment.h"

#include <cstdlib>
#include <ctime>

void setEnvironmentVariable(const char* name, const char* value) {
    // An empty value removes the variable on Windows.
    ::_putenv_s(name, value != nullptr ? value : "");
}

bool runsOnWindows() {
    return true;
}

void setTimeZone(const char* zone) {
    setEnvironmentVariable("TZ", zone);
    ::_tzset();
}
