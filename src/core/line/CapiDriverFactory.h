#pragma once

#include "line/CapiDriver.h"

#include <memory>
#include <string>

/// The driver a --line value names: "" or "capi" the system's CAPI library, "capi:LIBRARY" a
/// CAPI library given by path or name, "sim:FILE" the simulated line playing FILE (relative to
/// the working folder, else to dataDir). Nothing, with the reason in error, for a value
/// that names no usable driver.
std::unique_ptr<CapiDriver> makeCapiDriver(const std::string& lineChoice,
                                           const std::string& dataDir, std::string& error);
