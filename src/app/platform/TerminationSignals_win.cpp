#include "platform/ConsoleEvents.h"
#include "support/SignalWatcher.h"

#include <QMetaObject>
#include <QPointer>

namespace {

QPointer<SignalWatcher> gWatcher;

// Runs on a thread of the system's: the watcher hears of it on its own thread.
void onConsoleEnd() {
    if (SignalWatcher* watcher = gWatcher.data()) {
        QMetaObject::invokeMethod(watcher, &SignalWatcher::terminationRequested,
                                  Qt::QueuedConnection);
    }
}

} // namespace

void installTerminationHandlers(SignalWatcher* watcher) {
    gWatcher = watcher;
    watchConsoleEnd(&onConsoleEnd);
}
