#pragma once

#include "calls/ControllerUi.h"
#include "support/QtWavePlayer.h"
#include "support/UserPrompt.h"

#include <QPointer>

class DebugWindow;
class frmMain;

/// Opens addresses with the desktop's URL handler.
class DesktopUrlOpener : public UrlOpener {
public:
    bool openUrl(const std::string& address) override;
};

/// The controller's desktop: language chooser, debug window, the windows and icon of the call
/// handling, sound and browser.
class DesktopUi : public ControllerUi {
public:
    explicit DesktopUi(UserPrompt& prompt);
    ~DesktopUi() override;

    /// The controller whose debug window this shows; set before start-up.
    void attach(frmMain* controller) { m_controller = controller; }

    void chooseLanguage() override;
    void showDebugWindow() override;
    void showMainWindowHidden() override;
    void closeAllWindows() override;
    JournalView& journalView() override { return m_journal; }
    PopupView& popupView() override { return m_popup; }
    TrayView& trayView() override { return m_tray; }
    WavePlayer& wavePlayer() override { return m_player; }
    UrlOpener& urlOpener() override { return m_opener; }

private:
    UserPrompt& m_prompt;
    frmMain* m_controller = nullptr;
    QPointer<DebugWindow> m_debugWindow;
    NullJournalView m_journal;
    NullPopupView m_popup;
    NullTrayView m_tray;
    QtWavePlayer m_player;
    DesktopUrlOpener m_opener;
};
