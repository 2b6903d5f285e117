#include "calls/frmMain.h"

#include "calls/CapiCallLine.h"
#include "calls/ReverseLookup.h"
#include "line/CapiDriverFactory.h"
#include "line/SimulatedLine.h"
#include "line/cCAPI.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "stores/cJournal.h"
#include "stores/cLanguage.h"
#include "stores/cMSN.h"
#include "stores/cPhonebook.h"
#include "stores/cVorwahlen.h"
#include "support/AppPaths.h"
#include "support/QtText.h"
#include "support/modLogging.h"
#include "support/modSound.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <iostream>

namespace {

const LatestCall kNoCall;

// The call the debug window's "Incoming" button makes on the simulated line: a national number,
// so the caller reads 08154711 as in the test call without a line.
constexpr const char* kTestCallerDigits = "8154711";
constexpr const char* kTestMsn = "12345";

} // namespace

frmMain::frmMain(const CommandLine& commandLine, UserPrompt& prompt, ControllerUi& ui,
                 QObject* parent)
    : QObject(parent), m_commandLine(commandLine), m_prompt(prompt), m_ui(ui),
      m_debugText("---DEBUG---\r\n") {
    m_tmrGetCAPIMsg.setInterval(1000);
    connect(&m_tmrGetCAPIMsg, &QTimer::timeout, this, &frmMain::fetchMessages);
    connect(&m_tmrCAPIDelay, &QTimer::timeout, this, &frmMain::onCapiDelayTick);
}

frmMain::~frmMain() {
    if (m_capi) {
        m_capi->events = {};
        m_capi->Release();
    }
}

std::string frmMain::text(int number) const {
    return Language().getStr(number);
}

const LatestCall& frmMain::latestCall() const {
    return m_calls ? m_calls->latest() : kNoCall;
}

void frmMain::appendDebug(const QString& text) {
    m_debugText += text;
    if (m_commandLine.debug && m_commandLine.headless) {
        const QString line = text.trimmed().replace("\r\n", " ");
        if (!line.isEmpty()) {
            std::cerr << ss(line) << std::endl;
        }
    }
    emit debugAppended(text);
}

bool frmMain::start(const std::string& executableDir) {
    if (m_commandLine.debug) {
        m_ui.showDebugWindow();
    }
    if (!preparePaths(executableDir) || !createLine()) {
        return false;
    }
    loadSettings();
    loadLanguage();
    if (!loadOriginTables() || !checkResourceFiles()) {
        return false;
    }
    Phonebook().Init();
    Journal().Init();
    MSNList().Init();
    m_sound = std::make_unique<modSound>(m_ui.wavePlayer());
    m_calls = std::make_unique<CallHandler>(
        CallHandlerParts{*m_callLine, Journal(), Phonebook(), MSNList(), Vorwahlen(),
                         m_ui.journalView(), m_ui.popupView(), m_ui.trayView(), *m_sound, m_clock});
    m_calls->latestChanged = [this]() { emit latestCallChanged(); };
    m_capi->events.IncomingCall = [this]() { m_calls->CAPI_IncomingCall(); };
    m_capi->events.CallDisconnect = [this]() { m_calls->CAPI_CallDisconnect(); };
    if (!checkPrevInstance()) {
        return false;
    }
    startRegistration();
    if (m_ended) {
        return false;
    }
    m_ui.showMainWindowHidden();
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

bool frmMain::createLine() {
    std::string error;
    auto driver = makeCapiDriver(m_commandLine.line, error);
    if (!driver) {
        m_prompt.message(error, "", PromptIcon::Exclamation);
        endStartup(2);
        return false;
    }
    m_capi = std::make_unique<cCAPI>(std::move(driver));
    m_capi->events.Status = [this]() { CAPI_Status(); };
    m_capi->events.Error = [this]() { CAPI_Error(); };
    m_callLine = std::make_unique<CapiCallLine>(*m_capi);
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

bool frmMain::loadOriginTables() {
    if (Vorwahlen().Init(settings().Prefix)) {
        return true;
    }
    m_prompt.message(text(lang_id::kResourceMissing), "", PromptIcon::Exclamation);
    endStartup(1);
    return false;
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
    m_exitCode = 1;
    appExit(true);
    return false;
}

void frmMain::startRegistration() {
    if (!settings().capidelay) {
        CAPIRegisterAndListen();
        return;
    }
    m_capiDelayCountdown = (settings().capidelaytime + 1) * 30;
    m_tmrCAPIDelay.start(1000);
}

void frmMain::onCapiDelayTick() {
    --m_capiDelayCountdown;
    if (m_capiDelayCountdown < 1) {
        m_tmrCAPIDelay.stop();
        CAPIRegisterAndListen();
    }
}

bool frmMain::CAPIRegisterAndListen() {
    if (!m_capi->Register()) {
        m_prompt.message(text(lang_id::kCapiRegisterFailed),
                         text(lang_id::kCapiRegisterFailedTitle), PromptIcon::Information);
        m_exitCode = 1;
        appExit(true);
        return false;
    }
    // A refused listen request shows only in the trace; polling starts regardless.
    m_capi->Listen();
    m_tmrGetCAPIMsg.start();
    watchReadiness();
    return true;
}

void frmMain::watchReadiness() {
    const int handle = m_capi ? m_capi->readinessHandle() : -1;
    if (m_readiness && m_readiness->socket() == handle) {
        return;
    }
    delete m_readiness;
    if (handle < 0) {
        return;
    }
    m_readiness = new QSocketNotifier(handle, QSocketNotifier::Read, this);
    connect(m_readiness, &QSocketNotifier::activated, this, &frmMain::fetchMessages);
}

void frmMain::fetchMessages() {
    if (!m_capi || m_ended) {
        return;
    }
    const int fetched = m_capi->DrainMessages(kMaxMessagesPerWakeUp);
    if (m_ended) {
        return;
    }
    // The driver may have lost its handle (a remote CAPI that went away).
    watchReadiness();
    if (fetched >= kMaxMessagesPerWakeUp) {
        QTimer::singleShot(0, this, &frmMain::fetchMessages);
    }
}

void frmMain::CAPI_Status() {
    appendDebug("\r\n" + qs(m_capi->Status()));
}

void frmMain::CAPI_Error() {
    appendDebug("\r\n" + qs(m_capi->Error()) + "\r\n");
}

void frmMain::Identify(const std::string& displayText) {
    const auto number = lookupNumber(displayText);
    if (!number) {
        return;
    }
    if (!m_ui.urlOpener().openUrl(lookupAddress(settings().lookupurl, *number))) {
        // The desktop only tells success or failure: taken as "no association".
        writeLog(shellExecuteLogLine(31));
    }
}

void frmMain::testIncomingCall() {
    if (!m_capi) {
        return;
    }
    // On the simulated line the test call travels the whole road through the line.
    if (auto* line = dynamic_cast<SimulatedLine*>(&m_capi->driver()); line && line->isListening()) {
        capi::IncomingCallElements call;
        call.calledDigits = kTestMsn;
        call.callingDigits = kTestCallerDigits;
        call.cip = 1; // speech: the listen request asks for voice calls only
        call.plci = m_nextTestPlci++;
        line->injectCall(call);
        return;
    }
    m_capi->TestIncommingCall();
}

void frmMain::testDisconnect() {
    if (!m_capi) {
        return;
    }
    if (auto* line = dynamic_cast<SimulatedLine*>(&m_capi->driver()); line) {
        const auto calls = line->callsInProgress();
        if (!calls.empty()) {
            line->injectHangup(calls.back());
            return;
        }
    }
    m_capi->TestDisconnect();
}

void frmMain::appendManufacturer() {
    if (m_capi) {
        appendDebug("\r\n" + qs(m_capi->GET_MANUFACTURER()));
    }
}

void frmMain::appendVersion() {
    if (m_capi) {
        appendDebug("\r\n" + qs(m_capi->GET_VERSION()));
    }
}

void frmMain::appendProfile() {
    if (m_capi) {
        appendDebug("\r\n" + qs(m_capi->GET_PROFILE()));
    }
}

void frmMain::appendSerialNumber() {
    if (m_capi) {
        appendDebug("\r\n" + qs(m_capi->GET_SERIAL_NUMBER()));
    }
}

void frmMain::appendInstalled() {
    if (m_capi) {
        appendDebug(m_capi->INSTALLED() ? "\r\nTRUE" : "\r\nFALSE");
    }
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
    m_tmrGetCAPIMsg.stop();
    m_tmrCAPIDelay.stop();
    delete m_readiness;
    if (m_capi) {
        m_capi->Release();
    }
    // The journal is on disk after every change; this catches a record still in memory.
    if (m_calls) {
        Journal().saveJournal();
    }
    m_ui.closeAllWindows();
    emit ended(m_exitCode);
    QCoreApplication::exit(m_exitCode);
    return true;
}
