#include "support/SignalWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only write to a descriptor; the notifier reads it on the event loop.
int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(gSignalPipe[0], &byte, 1);
}

} // namespace

void installTerminationHandlers(SignalWatcher* watcher) {
    if (gSignalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, watcher);
    QObject::connect(notifier, &QSocketNotifier::activated, watcher, [watcher]() {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(gSignalPipe[1], &byte, 1);
        emit watcher->terminationRequested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    // A reader of stdout that went away (rufwacht --headless | head) is a failed write, not the
    // end of the program.
    ::signal(SIGPIPE, SIG_IGN);
}
