#include "platform/ServiceManager.h"

#include <systemd/sd-daemon.h>

#include <cstdint>

namespace service_manager {

std::chrono::microseconds watchdogTimeout() {
    // Reads WATCHDOG_USEC, and WATCHDOG_PID when set, so that a child of the service does not
    // take the watchdog for its own.
    std::uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) <= 0) {
        return std::chrono::microseconds(0);
    }
    return std::chrono::microseconds(usec);
}

void notifyAlive() {
    sd_notify(0, "WATCHDOG=1");
}

} // namespace service_manager
