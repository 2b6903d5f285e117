#include "calls/StartupChecks.h"

#include "calls/AppContext.h"
#include "calls/ControllerUi.h"
#include "stores/LanguageIds.h"
#include "support/AppPaths.h"
#include "support/TextFile.h"
#include "support/UserPrompt.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

// Why a folder cannot be had ("17 - File exists"); empty when it is there or has been made.
std::string folderProblem(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(toFsPath(path), error);
    if (!error && !dirExists(path)) {
        error = std::make_error_code(std::errc::file_exists);
    }
    return error ? std::to_string(error.value()) + " - " + error.message() : std::string();
}

} // namespace

StartupChecksParts StartupChecksParts::of(AppContext& context) {
    return {context.paths, context.settings, context.language, context.origins};
}

bool StartupChecks::prepareFolders() {
    const std::string& configDir = m_parts.paths.configDir();
    // Without its settings folder nothing could be kept; without a log folder the program runs
    // on and says once that it writes no log.
    if (!ensureDir(configDir)) {
        m_prompt.message("Cannot create the settings folder " + configDir, "",
                         PromptIcon::Exclamation);
        return false;
    }
    const std::string logs = configDir + "logs";
    if (const std::string problem = folderProblem(logs); !problem.empty()) {
        m_prompt.message(m_parts.language.text(lang_id::kLogFolderUnusable) + "\r\n" + logs + ": " +
                             problem,
                         "", PromptIcon::Exclamation);
    }
    return true;
}

void StartupChecks::loadLanguage() {
    LanguageTable& language = m_parts.language;
    if (!language.select(m_parts.settings.language)) {
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
    if (m_parts.origins.load(m_parts.settings.ownCountryPrefix,
                             m_parts.paths.dataFile("prefix/"))) {
        return true;
    }
    tellResourceMissing();
    return false;
}

bool StartupChecks::checkResources() {
    const bool complete = std::ranges::all_of(kResourceFiles, [this](const char* name) {
        return fileExists(m_parts.paths.dataFile(std::string("res/") + name));
    });
    if (!complete) {
        tellResourceMissing();
    }
    return complete;
}

void StartupChecks::tellResourceMissing() {
    m_prompt.message(m_parts.language.text(lang_id::kResourceMissing), "", PromptIcon::Exclamation);
}
