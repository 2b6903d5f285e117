#pragma once

#include <iosfwd>
#include <string>

/// Answers "rufwacht --origin NUMBER": prints the origin of the number (one UTF-8 line) with
/// the origin tables below AppPath and the settings' Prefix, which must be loaded. Returns 0
/// when an origin was found, 1 when not or when the tables cannot be loaded.
int runOriginQuery(const std::string& number, std::ostream& out);
