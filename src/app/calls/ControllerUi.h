#pragma once

#include "calls/NullViews.h"

/// What the controller asks of the desktop: the first-run chooser, the debug window, the
/// windows and icon that the call handlers update, sound and the browser. The headless
/// service has no desktop: its implementation shows nothing.
class ControllerUi {
public:
    virtual ~ControllerUi() = default;

    /// Shows the first-run language chooser modally; returns when the user has closed it.
    virtual void chooseLanguage() = 0;

    /// Shows the controller's debug window.
    virtual void showDebugWindow() = 0;

    /// Loads the journal window and leaves the program in the notification area.
    virtual void showMainWindowHidden() = 0;

    /// Closes every window of the program and removes the icon (the end of the program).
    virtual void closeAllWindows() = 0;

    /// Shows a notice beside the notification icon without waiting for the user; false when
    /// there is no icon that can show one.
    virtual bool showTrayNotice(const std::string& /*title*/, const std::string& /*text*/) {
        return false;
    }

    virtual JournalView& journalView() = 0;
    virtual PopupView& popupView() = 0;
    virtual TrayView& trayView() = 0;
    virtual WavePlayer& wavePlayer() = 0;
    virtual UrlOpener& urlOpener() = 0;
};

/// The headless service's desktop: nothing to show, nothing to play.
class NoControllerUi : public ControllerUi {
public:
    void chooseLanguage() override {}
    void showDebugWindow() override {}
    void showMainWindowHidden() override {}
    void closeAllWindows() override {}
    JournalView& journalView() override { return m_journal; }
    PopupView& popupView() override { return m_popup; }
    TrayView& trayView() override { return m_tray; }
    WavePlayer& wavePlayer() override { return m_player; }
    UrlOpener& urlOpener() override { return m_opener; }

private:
    NullJournalView m_journal;
    NullPopupView m_popup;
    NullTrayView m_tray;
    NullWavePlayer m_player;
    NullUrlOpener m_opener;
};
