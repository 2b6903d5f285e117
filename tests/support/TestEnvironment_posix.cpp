#include "support/TestEnvironment.h"

#include <cstdlib>
#include <ctime>

void setEnvironmentVariable(const char* name, const char* value) {
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
}

bool runsOnWindows() {
    return false;
}

void setTimeZone(const char* zone) {
    setEnvironmentVariable("TZ", zone);
    ::tzset();
}
