#include "calls/AppContext.h"

#include "stores/IniFile.h"
#include "support/SafeSave.h"

AppContext::AppContext(AppPaths appPaths)
    : paths(std::move(appPaths)), log(paths.configFile("logs/rufwacht.log")),
      fileProblems(log, language) {
    language.scan(paths.dataFile("lang"));
    journal.reportTo(&fileProblems);
    phonebook.reportTo(&fileProblems);
    msnList.reportTo(&fileProblems);
    phonebook.writeThrough(&storeWriter);
    msnList.writeThrough(&storeWriter);
    m_settingsStore.reportTo(&fileProblems);
}

void AppContext::loadSettings() {
    m_settingsStore.setPath(settingsFile());
    const auto bytes = m_settingsStore.read();
    for (const auto& key : readSettings(settings, IniDocument(bytes.value_or(std::string())))) {
        fileProblems.note(settingsFile() + ": the value of " + key +
                          " cannot be read; its default is used");
    }
}

SaveResult AppContext::saveSettings() {
    m_settingsStore.setPath(settingsFile());
    SaveResult result = saveSettingsTo(m_settingsStore, settings);
    loadSettings();
    return result;
}

void AppContext::loadStores(bool withJournal) {
    phonebook.load(paths.configFile("nn.dat"));
    if (withJournal) {
        loadJournal();
    }
    msnList.load(paths.configFile("msn.dat"));
}

void AppContext::loadJournal() {
    if (!m_journalLoaded) {
        m_journalLoaded = true;
        journal.load(paths.configFile("calls.txt"));
    }
}

void AppContext::saveChangedStores() {
    // The lists hand every change to the writer at once; only the journal may hold unsaved
    // calls.
    storeWriter.finish();
    if (journal.hasUnsavedChanges()) {
        journal.save();
    }
}

void AppContext::removeLeftoverTemporaries() const {
    if (const int removed = ::removeLeftoverTemporaries(paths.configDir()); removed > 0) {
        fileProblems.note("Removed " + std::to_string(removed) +
                          " temporary files of interrupted saves");
    }
}

std::string AppContext::callerName(const std::string& number) const {
    return callerNameOf(phonebook, contacts, number);
}

std::string callerNameOf(const Phonebook& phonebook, const ContactIndex& contacts,
                         const std::string& number) {
    std::string name = phonebook.nameOf(number);
    if (name == number) {
        if (auto contact = contacts.find(number)) {
            name = std::move(contact->name);
        }
    }
    return name;
}
