#pragma once

/// What the controller asks of the desktop during start-up and exit. The headless service
/// has no desktop: its implementation does nothing.
class ControllerUi {
public:
    virtual ~ControllerUi() = default;

    /// Shows the first-run language chooser modally; returns when the user has closed it.
    virtual void chooseLanguage() = 0;

    /// Shows the controller's debug window.
    virtual void showDebugWindow() = 0;

    /// Closes every window of the program (the end of the program).
    virtual void closeAllWindows() = 0;
};

/// The headless service's desktop: nothing to show.
class NoControllerUi : public ControllerUi {
public:
    void chooseLanguage() override {}
    void showDebugWindow() override {}
    void closeAllWindows() override {}
};
