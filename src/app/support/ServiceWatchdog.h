#pragma once

#include <QObject>
#include <QTimer>

/// Tells the service manager from the event loop that the program is alive, twice per watchdog
/// period, so that a hung event loop is restarted by the manager. Does nothing unless the
/// manager asked for it.
class ServiceWatchdog : public QObject {
    Q_OBJECT
public:
    explicit ServiceWatchdog(QObject* parent = nullptr);

    bool isActive() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
};
