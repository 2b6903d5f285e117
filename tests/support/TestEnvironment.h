#pragma once

/// Sets the process's environment variable, or removes it when value is null. One
/// implementation file per platform.
void setEnvironmentVariable(const char* name, const char* value);

/// Sets the process's time zone (TZ in the POSIX form, e.g. "CET-1") and has the C library
/// read it again.
void setTimeZone(const char* zone);

/// True in the Windows build: tests of Linux path rules (XDG folders, "/" as the root) skip.
bool runsOnWindows();
