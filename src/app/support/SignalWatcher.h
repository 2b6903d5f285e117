#pragma once

#include <QObject>

/// Turns the operating system's requests to end (SIGTERM, SIGINT; console close on Windows)
/// into a signal on the user-interface thread, so the program can end in order.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

signals:
    void terminationRequested();
};

/// Platform part: installs the handlers and calls back on the user-interface thread.
void installTerminationHandlers(SignalWatcher* watcher);
