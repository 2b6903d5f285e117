#pragma once

#include "ui/AppCommands.h"

#include <QPointer>

class Controller;

/// The windows' commands carried out by the controller; nothing happens without one.
class ControllerCommands : public AppCommands {
public:
    void attach(Controller* controller);

    void rejectCall() override;
    void identify(const std::string& displayText) override;
    void exitApp() override;
    std::string latestCallerId() const override;
    void playSound(const std::string& name) override;

private:
    QPointer<Controller> m_controller;
};
