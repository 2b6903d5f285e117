#include "ui/DesktopUi.h"

#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "calls/DebugWindow.h"
#include "calls/NotificationText.h"
#include "calls/SoundPolicy.h"
#include "net/UpdateWindow.h"
#include "outputs/DesktopNotifications.h"
#include "platform/Autostart.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "ui/JournalWindow.h"
#include "ui/LanguageChooser.h"
#include "ui/NotificationIcon.h"
#include "ui/PhonebookAdd.h"
#include "ui/TrayMenu.h"
#include "ui/settings/SettingsDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QUrl>

bool DesktopUrlOpener::openUrl(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(qs(address)));
}

void JournalWindowView::refresh(bool clear) {
    if (JournalWindow* window = m_existingWindow()) {
        window->refresh(clear);
    }
}

void JournalWindowView::showAndActivate() {
    m_windowMade().showAndActivate();
}

void JournalWindowView::minimize() {
    if (JournalWindow* window = m_existingWindow()) {
        window->minimize();
    }
}

void PopupGate::showCall(const PopupContent& content) {
    if (!m_notificationsTakeOver()) {
        m_popup.showCall(content);
    }
}

namespace {

// A window the desktop has at most once: made on the first request, brought to the front on
// every later one, and gone when the user closes it.
template <typename Window, typename Make> Window* showSingle(QPointer<Window>& window, Make make) {
    if (!window) {
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace

DesktopUi::DesktopUi(UserPrompt& prompt, std::function<bool()> trayAvailable)
    : m_prompt(prompt), m_trayAvailable(std::move(trayAvailable)),
      m_popup([this]() -> const DesktopPictures& { return pictures(); }, m_commands, prompt),
      m_popupGate(m_popup,
                  [this]() {
                      // Without a notification server the pop-up stands in, as before.
                      return notifyMode() == NotifyMode::Desktop && m_notifications &&
                             m_notifications->isAvailable();
                  }),
      m_journal([this]() { return m_journalWindow.get(); },
                [this]() -> JournalWindow& { return journalWindowMade(); }),
      m_player([this](const QString& reason) {
          if (m_context != nullptr) {
              m_context->log.write("Sound: the sound module could not be loaded: " + ss(reason));
          }
      }) {
    m_commands.setWindowOpeners([this](bool infoPage) { openSettings(infoPage); },
                                [this]() { openUpdateWindow(); });
}

DesktopUi::~DesktopUi() {
    destroyWindows();
}

void DesktopUi::destroyWindows() {
    m_notifications.reset();
    delete m_settingsDialog;
    m_trayIcon.reset();
    m_trayMenu.reset();
    m_journalWindow.reset();
    delete m_debugWindow;
    delete m_updateWindow;
}

void DesktopUi::attach(Controller* controller) {
    m_controller = controller;
    m_commands.attach(controller);
    attachContext(controller != nullptr ? &controller->context() : nullptr);
}

void DesktopUi::attachContext(AppContext* context) {
    m_context = context;
    m_popup.setContext(context);
}

const DesktopPictures& DesktopUi::pictures() {
    if (!m_pictures) {
        m_pictures = DesktopPictures::load(m_context->paths.dataFile("res/"));
    }
    return *m_pictures;
}

void DesktopUi::chooseLanguage() {
    if (m_context == nullptr) {
        return;
    }
    LanguageChooser chooser(LanguageChooserParts::of(*m_context));
    chooser.exec();
}

void DesktopUi::openSettings(bool infoPage) {
    if (m_context == nullptr) {
        return;
    }
    if (!m_autostart) {
        m_autostart = makeSystemAutostart();
    }
    if (!m_settingsSound) {
        m_settingsSound =
            std::make_unique<SoundPolicy>(m_player, m_context->settings, m_context->paths);
    }
    WebExportControl& webExport =
        m_controller ? m_controller->webExport() : static_cast<WebExportControl&>(m_noWebExport);
    SettingsDialog* dialog = showSingle(m_settingsDialog, [&]() {
        return new SettingsDialog({*m_context, m_prompt, *m_settingsSound, m_opener, webExport,
                                   *m_autostart, m_filePicker, pictures(),
                                   ss(QCoreApplication::applicationFilePath()),
                                   m_controller ? m_controller->commandLine().line : std::string(),
                                   configDirFromCommandLine(),
                                   [this]() {
                                       if (m_controller) {
                                           m_controller->applyMqttSettings();
                                       }
                                   },
                                   m_controller ? m_controller->addressBooks() : nullptr});
    });
    if (infoPage) {
        dialog->switchView("info");
    }
}

std::string DesktopUi::configDirFromCommandLine() const {
    if (!m_controller || m_controller->commandLine().configDir.empty()) {
        return {};
    }
    return ss(QDir(qs(m_context->paths.configDir())).absolutePath());
}

SettingsDialog* DesktopUi::settingsDialog() const {
    return m_settingsDialog;
}

void DesktopUi::openUpdateWindow() {
    if (m_context != nullptr) {
        showSingle(m_updateWindow, [this]() {
            return new UpdateWindow(UpdateWindowParts::of(*m_context), m_prompt, m_commands,
                                    m_opener, pictures().telBlack);
        });
    }
}

UpdateWindow* DesktopUi::updateWindow() const {
    return m_updateWindow;
}

void DesktopUi::showDebugWindow() {
    if (m_controller != nullptr) {
        showSingle(m_debugWindow, [this]() { return new DebugWindow(*m_controller); });
    }
}

void DesktopUi::showMainWindowHidden() {
    if (m_trayIcon || m_context == nullptr) {
        return;
    }
    AppContext& context = *m_context;
    m_tray.setIcon(TrayIcon::Black);
    m_tray.setTooltip(context.language.text(lang_id::kTooltipIdle));
    m_trayMenu = std::make_unique<TrayMenu>(m_commands, context.language);
    m_trayIcon = std::make_unique<NotificationIcon>(m_tray, pictures(), m_trayMenu.get());
    m_trayIcon->add();
    m_commands.playSound("load");
    // The journal window is made when it is first wanted: until then the program has no fonts,
    // table or journal records to hold.
    QObject::connect(m_trayMenu.get(), &TrayMenu::journalRequested, m_trayMenu.get(),
                     [this]() { journalWindowMade().showFromMenu(); });
    QObject::connect(m_trayIcon.get(), &NotificationIcon::openRequested, m_trayIcon.get(),
                     [this]() { journalWindowMade().openFromTray(); });
    QObject::connect(&m_tray, &TrayBlinker::acknowledged, m_trayIcon.get(),
                     [this]() { m_commands.acknowledgeMissedCalls(); });
    // Without a notification area a hidden window could not be found again.
    if (!m_trayAvailable()) {
        context.loadJournal();
        journalWindowMade().showMinimized();
    }
    if (m_controller) {
        QObject::connect(m_controller.data(), &Controller::missedCallsChanged, m_trayIcon.get(),
                         [this]() { showMissedCalls(); });
        showMissedCalls();
        subscribeNotifications();
    }
}

JournalWindow& DesktopUi::journalWindowMade() {
    if (!m_journalWindow) {
        m_journalWindow = std::make_unique<JournalWindow>(
            JournalWindowParts::of(*m_context), pictures(), m_commands, m_prompt, m_trayAvailable);
        QObject::connect(m_journalWindow.get(), &JournalWindow::refreshed, m_journalWindow.get(),
                         [this]() { showMissedCalls(); });
    }
    return *m_journalWindow;
}

NotifyMode DesktopUi::notifyMode() const {
    const bool wayland = QGuiApplication::platformName().startsWith("wayland");
    return chooseNotifyMode(m_context != nullptr ? m_context->settings.notify : std::string(),
                            m_trayAvailable(), wayland);
}

void DesktopUi::subscribeNotifications() {
    CallEventStream* events = m_controller->callEvents();
    if (events == nullptr) {
        return;
    }
    if (usesDesktopNotifications(notifyMode())) {
        notificationsStarted();
    }
    events->subscribe([this](const CallEvent& event) {
        // A mode chosen in the settings meanwhile applies from the next call on.
        if (event.kind == CallEvent::Kind::Ring && !usesDesktopNotifications(notifyMode())) {
            return;
        }
        if (event.kind == CallEvent::Kind::Ring || m_notifications) {
            notificationsStarted().onCallEvent(event);
        }
    });
}

DesktopNotifications& DesktopUi::notificationsStarted() {
    if (!m_notifications) {
        NotificationCommands commands;
        commands.showJournal = [this]() {
            journalWindowMade().openFromTray();
            m_commands.acknowledgeMissedCalls();
        };
        commands.lookUp = [this](const std::string& number) { m_commands.identify(number); };
        commands.addToPhonebook = [this](const std::string& number) {
            if (m_context != nullptr) {
                askAndAddToPhonebook(number, m_prompt, m_context->language, m_context->phonebook);
            }
        };
        commands.turnAway = [this](std::uint32_t callId) {
            if (m_controller) {
                m_controller->rejectCall(callId);
            }
        };
        m_notifications = std::make_unique<DesktopNotifications>(
            m_context->language, qs(m_context->paths.dataFile("res/phoneblack.ico")),
            std::move(commands),
            [this](const std::string& path) { return m_context->paths.resolve(path); });
        m_notifications->probe();
    }
    return *m_notifications;
}

void DesktopUi::showMissedCalls() {
    const int count = m_commands.missedCallCount();
    if (m_trayIcon) {
        m_trayIcon->setMissedText(count > 0 ? qs(missedCountText(count, m_context->language))
                                            : QString());
    }
    if (m_journalWindow) {
        m_journalWindow->showMissedCalls();
    }
}

bool DesktopUi::showTrayNotice(const std::string& title, const std::string& text) {
    if (!m_trayIcon || !m_trayIcon->isShown() || !QSystemTrayIcon::supportsMessages()) {
        return false;
    }
    m_trayIcon->showNotice(qs(title), qs(text).replace("\r\n", "\n"));
    return true;
}

void DesktopUi::closeAllWindows() {
    m_notifications.reset();
    m_tray.setGreenBlink(false);
    m_tray.setRedBlink(false);
    if (m_trayIcon) {
        m_trayIcon->remove();
    }
    m_popup.close();
    delete m_settingsDialog;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    delete m_debugWindow;
}
