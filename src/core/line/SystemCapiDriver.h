#pragma once

#include "line/CapiDriver.h"

#include <memory>
#include <string>

/// The platform's CAPI 2.0 library, loaded at run time (defined once per platform); a library
/// path or name other than the platform's usual one may be given.
std::unique_ptr<CapiDriver> makeSystemCapiDriver(const std::string& library = {});
