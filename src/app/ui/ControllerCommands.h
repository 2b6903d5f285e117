#pragma once

#include "ui/AppCommands.h"

#include <QPointer>

#include <functional>

class Controller;

/// The windows' commands carried out by the controller, and the windows that the desktop
/// opens; nothing happens without them.
class ControllerCommands : public AppCommands {
public:
    void attach(Controller* controller);
    /// What opens the settings dialog and the update window.
    void setWindowOpeners(std::function<void(bool)> openSettings, std::function<void()> openUpdate);

    void rejectCall() override;
    bool canRejectCalls() const override;
    void identify(const std::string& displayText) override;
    void exitApp() override;
    std::string latestCallerId() const override;
    void playSound(const std::string& name) override;
    void openSettings(bool infoPage) override;
    void checkForUpdate() override;
    void exitForUpdate() override;
    int missedCallCount() const override;
    bool isMissedCall(const JournalRecord& record) const override;
    void acknowledgeMissedCalls() override;

private:
    QPointer<Controller> m_controller;
    std::function<void(bool)> m_openSettings;
    std::function<void()> m_openUpdate;
};
