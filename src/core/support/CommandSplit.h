#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Splits a command line into the program and its arguments as a POSIX shell would, without
/// running one: blanks separate words; '...' keeps everything literally; "..." keeps blanks and
/// takes a backslash before ", \, $ and ` as escape; outside quotes a backslash escapes a blank,
/// a quote or a backslash and is kept before anything else (so that C:\tools\x.exe stays a
/// path). Nothing for an unclosed quote or a trailing backslash; an empty list for a line of
/// blanks.
std::optional<std::vector<std::string>> splitCommandLine(std::string_view line);
