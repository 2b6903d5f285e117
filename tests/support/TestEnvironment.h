#pragma once

/// Sets the process's environment variable, or removes it when value is null. One
/// implementation file per platform.
void setEnvironmentVariable(const char* name, const char* value);

/// True in the Windows build: tests of Linux path rules (XDG folders, "/" as the root) skip.
bool runsOnWindows();
