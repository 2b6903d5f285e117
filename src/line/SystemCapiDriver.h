#pragma once

#include "line/CapiDriver.h"

#include <memory>

/// The platform's CAPI 2.0 library, loaded at run time (defined once per platform).
std::unique_ptr<CapiDriver> makeSystemCapiDriver();
