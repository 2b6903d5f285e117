#include "platform/ConsoleEvents.h"
#include "support/SignalWatcher.h"

#include <QMetaObject>

namespace {

SignalWatcher* gWatcher = nullptr; // lives as long as the program

// Runs on a thread of the system's: the watcher hears of it on its own thread.
void onConsoleEnd() {
    if (gWatcher != nullptr) {
        QMetaObject::invokeMethod(gWatcher, &SignalWatcher::terminationRequested,
                                  Qt::QueuedConnection);
    }
}

} // namespace

void installTerminationHandlers(SignalWatcher* watcher) {
    gWatcher = watcher;
    watchConsoleEnd(&onConsoleEnd);
}
