#pragma once

#include <iosfwd>
#include <string>

/// Answers "rufwacht --origin NUMBER": prints the origin of the number (one UTF-8 line) from
/// the origin tables in prefixDir, with the user's own country prefix. Returns 0 when an
/// origin was found, 1 when not, 2 when the tables cannot be loaded.
int runOriginQuery(const std::string& number, const std::string& countryPrefix,
                   const std::string& prefixDir, std::ostream& out);
