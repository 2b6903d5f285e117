#include "calls/frmMain.h"

#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "stores/cLanguage.h"
#include "support/AppPaths.h"
#include "support/QtText.h"

#include <QCoreApplication>

#include <iostream>

frmMain::frmMain(const CommandLine& commandLine, UserPrompt& prompt, ControllerUi& ui,
                 QObject* parent)
    : QObject(parent), m_commandLine(commandLine), m_prompt(prompt), m_ui(ui),
      m_debugText("---DEBUG---\r\n") {}

frmMain::~frmMain() = default;

std::string frmMain::text(int number) const {
    return Language().getStr(number);
}

void frmMain::appendDebug(const QString& line) {
    m_debugText += line + "\r\n";
    if (m_commandLine.debug && m_commandLine.headless) {
        std::cerr << ss(line) << std::endl;
    }
    emit debugAppended(line);
}

bool frmMain::start(const std::string& executableDir) {
    if (m_commandLine.debug) {
        m_ui.showDebugWindow();
    }
    if (!preparePaths(executableDir)) {
        return false;
    }
    loadSettings();
    loadLanguage();
    if (!checkResourceFiles()) {
        return false;
    }
    if (!checkPrevInstance()) {
        return false;
    }
    return true;
}

bool frmMain::preparePaths(const std::string& executableDir) {
    initAppPath(executableDir, m_commandLine.configDir);
    // Without its folders the settings could not be kept and every log line would be lost.
    if (!ensureDir(ConfigDir) || !ensureDir(ConfigDir + "logs")) {
        m_prompt.message("Cannot create the settings folder " + ConfigDir, "",
                         PromptIcon::Exclamation);
        endStartup(1);
        return false;
    }
    return true;
}

void frmMain::loadLanguage() {
    cLanguage& language = Language();
    language.Init();
    if (language.SetLanguage(settings().language)) {
        return;
    }
    if (m_commandLine.headless) {
        language.SetLanguage("english");
        return;
    }
    m_ui.chooseLanguage();
}

bool frmMain::checkResourceFiles() {
    for (const char* name : kResourceFiles) {
        if (!fileExists(AppPath + "res/" + name)) {
            m_prompt.message(text(lang_id::kResourceMissing), "", PromptIcon::Exclamation);
            endStartup(1);
            return false;
        }
    }
    return true;
}

bool frmMain::checkPrevInstance() {
    if (m_instanceLock.tryLock()) {
        return true;
    }
    m_prompt.message(text(lang_id::kSecondInstance), "", PromptIcon::Information);
    appExit(true);
    m_exitCode = 1;
    return false;
}

void frmMain::endStartup(int exitCode) {
    m_ended = true;
    m_exitCode = exitCode;
    m_ui.closeAllWindows();
}

bool frmMain::appExit(bool force) {
    if (m_ended) {
        return true;
    }
    if (!force && !settings().quietexit &&
        !m_prompt.question(text(lang_id::kExitQuestion), text(lang_id::kExitTitle))) {
        return false;
    }
    m_ended = true;
    m_ui.closeAllWindows();
    emit ended(m_exitCode);
    QCoreApplication::exit(m_exitCode);
    return true;
}
