#include "support/ServiceWatchdog.h"

#include "platform/ServiceManager.h"

#include <algorithm>
#include <chrono>

ServiceWatchdog::ServiceWatchdog(QObject* parent) : QObject(parent) {
    const auto timeout = service_manager::watchdogTimeout();
    if (timeout.count() <= 0) {
        return;
    }
    const auto half = std::chrono::duration_cast<std::chrono::milliseconds>(timeout / 2);
    m_timer.setInterval(std::max<std::chrono::milliseconds>(half, std::chrono::milliseconds(1)));
    connect(&m_timer, &QTimer::timeout, this, &service_manager::notifyAlive);
    service_manager::notifyAlive();
    m_timer.start();
}
