#include "calls/StartupChecks.h"

#include "calls/AppContext.h"
#include "calls/ControllerUi.h"
#include "stores/LanguageIds.h"
#include "support/UserPrompt.h"

bool StartupChecks::prepareFolders() {
    const std::string& configDir = m_context.paths.configDir();
    // Without its folders the settings could not be kept and every log line would be lost.
    if (ensureDir(configDir) && ensureDir(configDir + "logs")) {
        return true;
    }
    m_prompt.message("Cannot create the settings folder " + configDir, "", PromptIcon::Exclamation);
    return false;
}

void StartupChecks::loadLanguage() {
    LanguageTable& language = m_context.language;
    if (language.select(m_context.settings.language)) {
        return;
    }
    if (m_headless) {
        language.select("english");
        return;
    }
    m_ui.chooseLanguage();
}

bool StartupChecks::loadOrigins() {
    if (m_context.loadOrigins()) {
        return true;
    }
    tellResourceMissing();
    return false;
}

bool StartupChecks::checkResources() {
    for (const char* name : kResourceFiles) {
        if (!fileExists(m_context.paths.programFile(std::string("res/") + name))) {
            tellResourceMissing();
            return false;
        }
    }
    return true;
}

void StartupChecks::tellResourceMissing() {
    m_prompt.message(m_context.language.text(lang_id::kResourceMissing), "",
                     PromptIcon::Exclamation);
}
