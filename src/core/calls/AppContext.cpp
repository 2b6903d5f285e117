#include "calls/AppContext.h"

AppContext::AppContext(AppPaths appPaths)
    : paths(std::move(appPaths)), log(paths.configFile("logs/rufwacht.log")) {
    language.scan(paths.programFile("lang"));
}

void AppContext::loadSettings() {
    ::loadSettings(settings, settingsFile());
}

void AppContext::saveSettings() {
    ::saveSettings(settings, settingsFile());
}

void AppContext::loadStores() {
    phonebook.load(paths.configFile("nn.dat"));
    journal.load(paths.configFile("calls.txt"));
    msnList.load(paths.configFile("msn.dat"));
}

bool AppContext::loadOrigins() {
    return origins.load(settings.ownCountryPrefix, paths.programFile("prefix/"));
}
