#include "calls/StartupChecks.h"

#include "calls/AppContext.h"
#include "calls/ControllerUi.h"
#include "stores/LanguageIds.h"
#include "support/UserPrompt.h"

#include <algorithm>

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
    if (!language.select(m_context.settings.language)) {
        if (m_headless) {
            language.select("english");
        } else {
            m_ui.chooseLanguage();
        }
    }
    // The built-in English texts stand in, but a broken language file should not go unnoticed.
    if (const auto missing = language.missingTexts(); !missing.empty()) {
        std::string message = language.text(lang_id::kLanguageIncomplete);
        if (const auto at = message.find("%1"); at != std::string::npos) {
            message.replace(at, 2, std::to_string(missing.size()));
        }
        m_prompt.message(message, "", PromptIcon::Exclamation);
    }
}

bool StartupChecks::loadOrigins() {
    if (m_context.loadOrigins()) {
        return true;
    }
    tellResourceMissing();
    return false;
}

bool StartupChecks::checkResources() {
    const bool complete = std::ranges::all_of(kResourceFiles, [this](const char* name) {
        return fileExists(m_context.paths.dataFile(std::string("res/") + name));
    });
    if (!complete) {
        tellResourceMissing();
    }
    return complete;
}

void StartupChecks::tellResourceMissing() {
    m_prompt.message(m_context.language.text(lang_id::kResourceMissing), "",
                     PromptIcon::Exclamation);
}
