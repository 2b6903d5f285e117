#pragma once

#include "calls/ControllerUi.h"

#include <QPointer>

class DebugWindow;
class frmMain;

/// The controller's desktop: language chooser, debug window, closing the windows at the end.
class DesktopUi : public ControllerUi {
public:
    DesktopUi();
    ~DesktopUi() override;

    /// The controller whose debug window this shows; set before start-up.
    void attach(frmMain* controller) { m_controller = controller; }

    void chooseLanguage() override;
    void showDebugWindow() override;
    void closeAllWindows() override;

private:
    frmMain* m_controller = nullptr;
    QPointer<DebugWindow> m_debugWindow;
};
