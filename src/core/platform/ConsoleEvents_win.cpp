#include "platform/ConsoleEvents.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<void (*)()> g_onEnd{nullptr};

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        if (const auto onEnd = g_onEnd.load()) {
            onEnd();
        }
        // Handled: the program ends in order instead of being ended at once.
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool watchConsoleEnd(void (*onEnd)()) {
    g_onEnd = onEnd;
    return ::SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
}
