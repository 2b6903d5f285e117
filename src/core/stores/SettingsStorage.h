#pragma once

#include "support/SafeSave.h"

/// Loads and saves the settings record the program runs with (config.dat). A window that
/// changes settings takes this and the record, not the whole context.
class SettingsStorage {
public:
    virtual ~SettingsStorage() = default;

    /// Loads the settings; the trace names every value that could not be read.
    virtual void loadSettings() = 0;
    /// Writes the settings (once, every key) and loads them again.
    virtual SaveResult saveSettings() = 0;
};
