#include "calls/Controller.h"

#include "calls/AppContext.h"
#include "calls/CallerTexts.h"
#include "calls/ControllerUi.h"
#include "calls/EndReason.h"
#include "calls/Line.h"
#include "calls/MissedCalls.h"
#include "calls/ReverseLookup.h"
#include "calls/SoundPolicy.h"
#include "calls/StartupChecks.h"
#include "contacts/AddressBooks.h"
#include "net/JournalWebServer.h"
#include "outputs/CallOutputs.h"
#include "outputs/MqttCallOutput.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "support/UserPrompt.h"
#include "support/Version.h"

#include <QAbstractSocket>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSysInfo>
#include <QTimer>

#include <utility>

namespace {

const LatestCall kNoCall;

} // namespace

Controller::Controller(const CommandLine& commandLine, const std::string& executableDir,
                       UserPrompt& prompt, ControllerUi& ui, QObject* parent)
    : QObject(parent), m_commandLine(commandLine), m_prompt(prompt), m_ui(ui),
      m_context(
          std::make_unique<AppContext>(AppPaths::locate(executableDir, commandLine.configDir))),
      m_trace(commandLine.debug && commandLine.headless),
      m_instanceLock(m_context->paths.configDir()),
      m_webExport(std::make_unique<JournalWebServer>(JournalWebServerParts::of(*m_context))) {
    // Where no window shows them, the missed calls are named above the journal's table.
    m_webExport->setPageNotice(
        [this]() { return missedCallCount() > 0 ? missedCallsLine() : std::string(); });
}

Controller::~Controller() {
    m_context->storeWriter.setOnFinished({});
    m_mqtt.reset();
    // Nothing more comes from the line while the rest goes.
    m_line.reset();
}

std::string Controller::text(int number) const {
    return m_context->language.text(number);
}

const LatestCall& Controller::latestCall() const {
    return m_calls ? m_calls->latest() : kNoCall;
}

bool Controller::start() {
    if (m_commandLine.debug) {
        m_ui.showDebugWindow();
    }
    reportFileProblems();
    StartupChecks checks(StartupChecksParts::of(*m_context), m_prompt, m_ui,
                         m_commandLine.headless);
    if (!checks.prepareFolders()) {
        endStartup(1);
        return false;
    }
    // The line may be chosen in the settings.
    m_context->loadSettings();
    if (!createLine()) {
        return false;
    }
    checks.loadLanguage();
    m_line->setCallerTexts(callerTextsFrom(m_context->language));
    if (!checks.loadOrigins() || !checks.checkResources()) {
        endStartup(1);
        return false;
    }
    // On the desktop the journal is read when the window first shows it or a call comes.
    m_context->loadStores(m_commandLine.headless);
    createCallHandler();
    startWebExport();
    if (!checkPrevInstance()) {
        return false;
    }
    m_context->removeLeftoverTemporaries();
    startCallOutputs();
    restoreMissedCalls();
    m_line->start();
    if (m_ended) {
        return false;
    }
    m_ui.showMainWindowHidden();
    // The icon starts as at rest; a line that could not be reached says so.
    if (m_lineWatch->isDown()) {
        m_lineWatch->showState();
    }
    return true;
}

bool Controller::createLine() {
    // The command line wins over the settings.
    const std::string& choice =
        m_commandLine.line.empty() ? m_context->settings.line : m_commandLine.line;
    std::string error;
    m_line = makeLine(choice, m_context->settings, m_context->paths.dataDir(), error);
    if (!m_line) {
        m_prompt.message(error, "", PromptIcon::Exclamation);
        endStartup(2);
        return false;
    }
    connect(m_line.get(), &Line::notice, &m_trace, &DebugTrace::append);
    connect(m_line.get(), &Line::registrationFailed, this, &Controller::onRegistrationFailed);
    return true;
}

void Controller::watchLine() {
    AppContext& c = *m_context;
    m_lineWatch =
        std::make_unique<LineWatch>(m_trace, m_ui.trayView(), c.language, c.log, *m_calls);
    LineWatch* watch = m_lineWatch.get();
    connect(m_line.get(), &Line::lineUp, this,
            [watch](const QString& description) { watch->lineUp(description); });
    connect(m_line.get(), &Line::lineLost, this,
            [watch](const QString& reason) { watch->lineLost(reason); });
    connect(m_line.get(), &Line::lineRestored, this, [watch]() { watch->lineRestored(); });
}

void Controller::createCallHandler() {
    AppContext& c = *m_context;
    m_sound = std::make_unique<SoundPolicy>(m_ui.wavePlayer(), c.settings, c.paths);
    m_calls = std::make_unique<CallHandler>(CallHandlerParts{
        m_line->callLine(), c.settings, c.language, c.journal, c.phonebook, c.msnList, c.origins,
        m_ui.journalView(), m_ui.popupView(), m_ui.trayView(), *m_sound, m_clock});
    m_calls->latestChanged = [this]() { emit latestCallChanged(); };
    // The calls the line delivers in one go are saved with one flush to the disk, when the event
    // loop next runs: a burst of calls does not wait for a flush per call.
    m_calls->requestJournalSave = [this]() {
        QMetaObject::invokeMethod(
            this, [this]() { m_calls->saveJournal(); }, Qt::QueuedConnection);
    };
    m_missed =
        std::make_unique<MissedCalls>(c.journal, text(endReasonTextId(kReasonNormalClearing)));
    m_calls->events.subscribe([this](const CallEvent& event) { onCallEvent(event); });
    m_addressBooks = std::make_unique<AddressBooks>(
        AddressBooks::Places{qs(c.paths.configDir()), c.language, c.log, c.contacts});
    m_addressBooks->trace = [this](const QString& line) { m_trace.append(line); };
    m_addressBooks->configure(c.settings.addressBooks, c.settings.ownCountryPrefix);
    m_calls->setContactLookup(m_addressBooks.get());
    watchLine();
    m_webExport->followCalls(m_calls->events);
    m_webExport->setLineHealth([watch = m_lineWatch.get()]() { return watch->health(); });
    subscribeOutputs();
    m_line->callArrived = [this]() { takeCall(); };
    m_line->callEnded = [this]() { return m_calls->onCallDisconnect(); };
}

void Controller::subscribeOutputs() {
    m_mqtt = std::make_unique<MqttCallOutput>(m_context->log, ss(QSysInfo::machineHostName()),
                                              kAppVersion);
    connect(m_mqtt.get(), &MqttCallOutput::notice, this,
            [this](const QString& text) { m_trace.append("\r\n" + text); });
    MqttCallOutput* mqtt = m_mqtt.get();
    m_calls->events.subscribe([mqtt](const CallEvent& event) { mqtt->publishCall(event); });
    m_lineWatch->stateChanged = [mqtt](bool up) { mqtt->setLineUp(up); };
    mqtt->setLineUp(!m_lineWatch->isDown());
    // The hub's missed count is the one the user acknowledges, across restarts.
    mqtt->setMissedCount(missedCallCount());
    connect(this, &Controller::missedCallsChanged, mqtt,
            [this, mqtt]() { mqtt->setMissedCount(missedCallCount()); });
    m_mqttSettings = m_context->settings;
    mqtt->apply(m_mqttSettings);
}

void Controller::applyMqttSettings() {
    // A new connection would show the hub a moment offline: only when something changed.
    if (m_mqtt && !m_ended && !sameMqttSettings(m_mqttSettings, m_context->settings)) {
        m_mqttSettings = m_context->settings;
        m_mqtt->apply(m_mqttSettings);
    }
}

void Controller::restoreMissedCalls() {
    SettingsRecord& settings = m_context->settings;
    const auto now = std::chrono::system_clock::now();
    if (settings.missedSeen <= 0) {
        // The first run that keeps track: what the journal holds counts as seen. Written with
        // the first missed call, so that a start alone never writes config.dat.
        settings.missedSeen =
            std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
        m_missedSeenUnsaved = true;
    }
    const std::chrono::system_clock::time_point seen{std::chrono::seconds(settings.missedSeen)};
    // A journal unchanged since the user last looked holds no unseen call: it can wait for the
    // window. One written since is read now, so that its missed calls count from the start.
    const QFileInfo journalFile(qs(m_context->paths.configFile("calls.txt")));
    if (journalFile.exists() &&
        journalFile.lastModified().toSecsSinceEpoch() >= settings.missedSeen) {
        m_context->loadJournal();
    }
    m_missed->restore(seen, [this](const JournalRecord& record) {
        return m_clock.recordTime(record.date, record.time);
    });
    if (m_missed->count() > 0) {
        m_context->log.write(missedCallsLine());
        emit missedCallsChanged();
    }
}

void Controller::onCallEvent(const CallEvent& event) {
    if (event.kind != CallEvent::Kind::End || !event.missed) {
        return;
    }
    m_missed->onCallEvent(event);
    if (std::exchange(m_missedSeenUnsaved, false)) {
        m_context->saveSettings();
    }
    m_context->log.write(missedCallsLine());
    emit missedCallsChanged();
}

std::string Controller::missedCallsLine() const {
    return text(lang_id::kMissedCallsLine) + " " + std::to_string(missedCallCount());
}

int Controller::missedCallCount() const {
    return m_missed ? m_missed->count() : 0;
}

bool Controller::isMissedCall(const JournalRecord& record) const {
    return m_missed && m_missed->isMarked(record);
}

void Controller::acknowledgeMissedCalls() {
    if (!m_missed || !m_missed->acknowledge()) {
        return;
    }
    SettingsRecord& settings = m_context->settings;
    settings.missedSeen = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    m_context->saveSettings();
    emit missedCallsChanged();
}

void Controller::takeCall() {
    // The first call reads the journal before it is journaled.
    m_context->loadJournal();
    m_calls->onIncomingCall();
}

void Controller::reportFileProblems() {
    FileProblems& problems = m_context->fileProblems;
    problems.trace = [this](const std::string& line) { m_trace.append("\r\n" + qs(line)); };
    problems.tellUser = [this](const FileProblems::Message& message) {
        tellFileProblem(message.title, message.text);
    };
    // A list saved in the background reports here, on this thread, as soon as it is written.
    m_context->storeWriter.setOnFinished([this]() {
        QMetaObject::invokeMethod(
            this, [this]() { m_context->storeWriter.reportFinished(); }, Qt::QueuedConnection);
    });
}

void Controller::tellFileProblem(const std::string& title, const std::string& text) {
    if (m_ui.showTrayNotice(title, text)) {
        return;
    }
    if (m_commandLine.headless) {
        m_prompt.message(text, title, PromptIcon::Exclamation);
        return;
    }
    // A message box waits for the user: not in the middle of a call's handling.
    QTimer::singleShot(
        0, this, [this, title, text]() { m_prompt.message(text, title, PromptIcon::Exclamation); });
}

void Controller::startWebExport() {
    const SettingsRecord& settings = m_context->settings;
    if (!settings.webExportOn) {
        m_webExport->stop();
    } else if (settings.webExportPort < 0) {
        // Ports above 32767 cannot be stored; a negative one is no port at all.
        m_context->log.write("ERROR: sckWeb Error (" +
                             std::to_string(QAbstractSocket::SocketAddressNotAvailableError) +
                             "-Port " + std::to_string(settings.webExportPort) + " is not valid)");
    } else {
        m_webExport->start(static_cast<std::uint16_t>(settings.webExportPort));
    }
}

void Controller::startCallOutputs() {
    // Headless without --debug the call steps are printed for people; --debug keeps the trace.
    const bool printCalls = m_commandLine.headless && !m_commandLine.debug;
    m_outputs = std::make_unique<CallOutputs>(m_context->settings, m_context->log,
                                              m_context->language, printCalls);
    connect(m_outputs.get(), &CallOutputs::notice, &m_trace, &DebugTrace::append);
    m_outputs->start(m_calls->events);
}

bool Controller::checkPrevInstance() {
    if (m_instanceLock.tryLock()) {
        return true;
    }
    if (!m_instanceLock.failure().empty()) {
        m_prompt.message(text(lang_id::kInstanceLockFailed) + "\r\n" + m_instanceLock.path() +
                             ": " + m_instanceLock.failure(),
                         "", PromptIcon::Exclamation);
    } else {
        m_prompt.message(text(lang_id::kSecondInstance), "", PromptIcon::Information);
    }
    m_exitCode = 1;
    appExit(true);
    return false;
}

void Controller::onRegistrationFailed() {
    m_prompt.message(text(lang_id::kCapiRegisterFailed), text(lang_id::kCapiRegisterFailedTitle),
                     PromptIcon::Information);
    m_exitCode = 1;
    appExit(true);
}

void Controller::rejectCall(std::uint32_t callId) {
    if (m_line) {
        m_line->callLine().rejectCall(callId);
    }
}

void Controller::rejectCall() {
    if (m_line) {
        m_line->rejectLatestCall();
    }
}

bool Controller::canRejectCalls() const {
    return !m_line || m_line->callLine().canReject();
}

void Controller::lookUpNumber(const std::string& displayText) {
    lookUpInBrowser(displayText, m_context->settings.lookupUrl, m_ui.urlOpener(), m_context->log);
}

void Controller::endStartup(int exitCode) {
    m_ended = true;
    m_exitCode = exitCode;
    m_ui.closeAllWindows();
}

bool Controller::appExit(bool force) {
    if (m_ended) {
        return true;
    }
    if (!force && !m_context->settings.quietExit &&
        !m_prompt.question(text(lang_id::kExitQuestion), text(lang_id::kExitTitle))) {
        return false;
    }
    m_ended = true;
    // A call still ringing is heard of no more: its record ends as on a lost line.
    if (m_calls && m_instanceLock.isLocked()) {
        m_calls->endAllCalls(kReasonLineLost);
    }
    m_webExport->stop();
    // Ends the connection without a word: the broker's will says "offline".
    m_mqtt.reset();
    if (m_line) {
        m_line->stop();
    }
    if (m_lineWatch) {
        m_lineWatch->programEnds();
    }
    // The files are up to date after every change; this catches what a failed save left in
    // memory. A second instance ends here too: its copy is stale and must never be written.
    if (m_instanceLock.isLocked()) {
        m_context->saveChangedStores();
    }
    m_ui.closeAllWindows();
    emit ended(m_exitCode);
    QCoreApplication::exit(m_exitCode);
    return true;
}
