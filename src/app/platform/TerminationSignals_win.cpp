#include "support/SignalWatcher.h"

#include <QMetaObject>

#include <windows.h>

namespace {

SignalWatcher* gWatcher = nullptr;

BOOL WINAPI onConsoleEvent(DWORD) {
    if (gWatcher != nullptr) {
        QMetaObject::invokeMethod(gWatcher, &SignalWatcher::terminationRequested,
                                  Qt::QueuedConnection);
    }
    return TRUE;
}

} // namespace

void installTerminationHandlers(SignalWatcher* watcher) {
    gWatcher = watcher;
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
