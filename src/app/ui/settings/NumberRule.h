#pragma once

#include "support/NumericText.h"

#include <string>

/// A number the settings dialog takes for a list entry or the country prefix: numeric, or
/// with a "*" anywhere (the stores give the "*" its meaning).
inline bool isAcceptableNumber(const std::string& text) {
    return isNumericText(text) || text.find('*') != std::string::npos;
}
