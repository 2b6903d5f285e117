#pragma once

/// Calls onEnd, on a thread of the system's, when the console asks the program to end: Ctrl+C,
/// Ctrl+Break, its window closed, log-off or shut-down. Windows only (POSIX programs get
/// signals instead). False when the system refused the handler.
bool watchConsoleEnd(void (*onEnd)());
