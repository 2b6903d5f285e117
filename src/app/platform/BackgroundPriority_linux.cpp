#include "platform/BackgroundPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void lowerCurrentThreadPriority() {
    // On Linux the nice value belongs to the thread named by its id.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, thread, 10);
}
