#pragma once

#include "contacts/ContactIndex.h"
#include "stores/CallJournal.h"
#include "stores/FileProblems.h"
#include "stores/LanguageTable.h"
#include "stores/MsnList.h"
#include "stores/OriginLookup.h"
#include "stores/Phonebook.h"
#include "stores/Settings.h"
#include "stores/SettingsStorage.h"
#include "stores/StoreFile.h"
#include "stores/StoreWriter.h"
#include "support/AppPaths.h"
#include "support/Log.h"

#include <string>

/// What the program knows for its whole run: where its files are, the log, the settings, the
/// stores and the texts. The controller owns one and hands it to whoever needs it; tests build
/// their own.
struct AppContext final : SettingsStorage {
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
    /// The numbers of the address books, for callers the phonebook does not name.
    ContactIndex contacts;
    /// Trouble with the data files; the program shows it on the desktop and in the trace.
    FileProblems fileProblems;
    /// Saves the phonebook and the MSN list off the caller's thread; their changes are on disk
    /// once finish() returns.
    StoreWriter storeWriter;

    /// The name the windows show for a number: the phonebook's, else an address book's, else
    /// the number itself.
    std::string callerName(const std::string& number) const;

    /// The settings folder's config.dat.
    std::string settingsFile() const { return paths.configFile("config.dat"); }
    void loadSettings() override;
    SaveResult saveSettings() override;

    /// Loads phonebook, journal and MSN list from the settings folder; without withJournal
    /// the journal waits for loadJournal (a desktop reads it when it first shows it).
    void loadStores(bool withJournal = true);
    /// Reads the journal unless it has been read: before the first call is journaled.
    void loadJournal();
    bool isJournalLoaded() const { return m_journalLoaded; }
    /// Writes what the stores hold in memory and not yet in their files (the program's end),
    /// the saves under way included.
    void saveChangedStores();
    /// Removes the temporary files of saves that a killed instance left in the settings
    /// folder. Only the one running instance may do so: another's save could be under way.
    void removeLeftoverTemporaries() const;

private:
    StoreFile m_settingsStore;
    bool m_journalLoaded = false;
};

/// The caller's name: the phonebook's, else an address book's; the number itself when neither
/// knows it (as the phonebook answers).
std::string callerNameOf(const Phonebook& phonebook, const ContactIndex& contacts,
                         const std::string& number);
