#pragma once

#include <chrono>

/// The service manager that started the program (systemd on Linux), as far as the program talks
/// to it. One implementation file per platform.
namespace service_manager {

/// How often the manager wants to hear that the program is alive; zero when no manager watches
/// it (not started as a service, or a unit without a watchdog).
std::chrono::microseconds watchdogTimeout();
/// Tells the manager that the program is alive.
void notifyAlive();

} // namespace service_manager
