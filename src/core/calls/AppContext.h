#pragma once

#include "stores/CallJournal.h"
#include "stores/LanguageTable.h"
#include "stores/MsnList.h"
#include "stores/OriginLookup.h"
#include "stores/Phonebook.h"
#include "stores/Settings.h"
#include "support/AppPaths.h"
#include "support/Log.h"

#include <string>

/// What the program knows for its whole run: where its files are, the log, the settings, the
/// stores and the texts. The controller owns one and hands it to whoever needs it; tests build
/// their own.
struct AppContext {
    explicit AppContext(AppPaths appPaths);
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    AppPaths paths;
    Log log;
    SettingsRecord settings;
    CallJournal journal;
    Phonebook phonebook;
    MsnList msnList;
    OriginLookup origins;
    LanguageTable language;

    /// The settings folder's config.dat.
    std::string settingsFile() const { return paths.configFile("config.dat"); }
    void loadSettings();
    void saveSettings();

    /// Loads phonebook, journal and MSN list from the settings folder.
    void loadStores();
    /// Loads the origin tables for the own country; false when they are unusable.
    bool loadOrigins();
};
