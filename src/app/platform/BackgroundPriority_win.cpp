#include "platform/BackgroundPriority.h"

#include <windows.h>

void lowerCurrentThreadPriority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}
