#pragma once

#include "calls/ControllerUi.h"
#include "calls/NotifyMode.h"
#include "modules/ModuleWavePlayer.h"
#include "net/WebExportControl.h"
#include "support/UserPrompt.h"
#include "ui/CallPopup.h"
#include "ui/ControllerCommands.h"
#include "ui/DesktopPictures.h"
#include "ui/FilePicker.h"
#include "ui/TrayBlinker.h"

#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <optional>

struct AppContext;
class Autostart;
class DebugWindow;
class DesktopNotifications;
class JournalWindow;
class Controller;
class NotificationIcon;
class TrayMenu;
class UpdateWindow;
class SettingsDialog;
class SoundPolicy;

/// Opens addresses with the desktop's URL handler.
class DesktopUrlOpener : public UrlOpener {
public:
    bool openUrl(const std::string& address) override;
};

/// The journal window as the call handlers see it. It is made when a call wants it shown; a
/// refresh or a minimise before it exists has nothing to do.
class JournalWindowView : public JournalView {
public:
    /// existingWindow: the window, null while there is none; windowMade: the window, made
    /// when there is none.
    JournalWindowView(std::function<JournalWindow*()> existingWindow,
                      std::function<JournalWindow&()> windowMade)
        : m_existingWindow(std::move(existingWindow)), m_windowMade(std::move(windowMade)) {}
    void refresh(bool clear) override;
    void showAndActivate() override;
    void minimize() override;

private:
    std::function<JournalWindow*()> m_existingWindow;
    std::function<JournalWindow&()> m_windowMade;
};

/// The pop-up, left out while the desktop's notifications announce the calls in its place.
class PopupGate : public PopupView {
public:
    PopupGate(PopupView& popup, std::function<bool()> notificationsTakeOver)
        : m_popup(popup), m_notificationsTakeOver(std::move(notificationsTakeOver)) {}
    void showCall(const PopupContent& content) override;
    void setStatus(const std::string& status) override { m_popup.setStatus(status); }
    void close() override { m_popup.close(); }

private:
    PopupView& m_popup;
    std::function<bool()> m_notificationsTakeOver;
};

/// The controller's desktop: language chooser, debug window, the journal window, the pop-up
/// and the notification icon of the call handling, sound and browser.
class DesktopUi : public ControllerUi {
public:
    /// trayAvailable tells whether the desktop has a notification area.
    explicit DesktopUi(UserPrompt& prompt, std::function<bool()> trayAvailable =
                                               &QSystemTrayIcon::isSystemTrayAvailable);
    ~DesktopUi() override;

    /// The controller whose debug window this shows and whose context the windows show; set
    /// before start-up.
    void attach(Controller* controller);
    /// Destroys the windows and the notification icon: they read the controller's stores, so
    /// they go before the controller does.
    void destroyWindows();
    /// The context alone, for a desktop without a controller.
    void attachContext(AppContext* context);

    void chooseLanguage() override;
    /// Opens the settings dialog, or raises the open one; on its info page when asked.
    void openSettings(bool infoPage);
    /// Opens the update window, or raises the open one.
    void openUpdateWindow();
    void showDebugWindow() override;
    void showMainWindowHidden() override;
    void closeAllWindows() override;
    bool showTrayNotice(const std::string& title, const std::string& text) override;
    JournalView& journalView() override { return m_journal; }
    PopupView& popupView() override { return m_popupGate; }
    TrayView& trayView() override { return m_tray; }
    WavePlayer& wavePlayer() override { return m_player; }
    UrlOpener& urlOpener() override { return m_opener; }

    /// The journal window; null until it was first wanted (or at once without a notification
    /// area).
    JournalWindow* journalWindow() const { return m_journalWindow.get(); }
    TrayMenu* trayMenu() const { return m_trayMenu.get(); }
    CallPopup& callPopup() { return m_popup; }
    TrayBlinker& trayBlinker() { return m_tray; }
    NotificationIcon* trayIcon() const { return m_trayIcon.get(); }
    /// How calls are announced now: the setting, else what suits this desktop.
    NotifyMode notifyMode() const;
    /// The desktop's notifications; null until a call was to be announced by them.
    DesktopNotifications* notifications() const { return m_notifications.get(); }
    UpdateWindow* updateWindow() const;
    /// The open settings dialog; null when it is closed.
    SettingsDialog* settingsDialog() const;

private:
    const DesktopPictures& pictures();
    JournalWindow& journalWindowMade();
    /// The settings folder given on the command line, absolute; empty for the default one.
    std::string configDirFromCommandLine() const;
    void subscribeNotifications();
    DesktopNotifications& notificationsStarted();
    void showMissedCalls();

    UserPrompt& m_prompt;
    std::function<bool()> m_trayAvailable;
    QPointer<Controller> m_controller;
    AppContext* m_context = nullptr;
    QPointer<DebugWindow> m_debugWindow;
    QPointer<UpdateWindow> m_updateWindow;
    QPointer<SettingsDialog> m_settingsDialog;
    std::optional<DesktopPictures> m_pictures;
    ControllerCommands m_commands;
    TrayBlinker m_tray;
    CallPopup m_popup;
    PopupGate m_popupGate;
    std::unique_ptr<DesktopNotifications> m_notifications;
    JournalWindowView m_journal;
    std::unique_ptr<JournalWindow> m_journalWindow;
    std::unique_ptr<TrayMenu> m_trayMenu;
    std::unique_ptr<NotificationIcon> m_trayIcon;
    ModuleWavePlayer m_player;
    DesktopUrlOpener m_opener;
    QtFilePicker m_filePicker;
    std::unique_ptr<Autostart> m_autostart;
    std::unique_ptr<SoundPolicy> m_settingsSound;
    NoWebExport m_noWebExport; // for a desktop without a controller
};
