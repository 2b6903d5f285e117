#include "ui/ControllerCommands.h"

#include "calls/Controller.h"
#include "calls/SoundPolicy.h"

void ControllerCommands::attach(Controller* controller) {
    m_controller = controller;
}

void ControllerCommands::rejectCall() {
    if (m_controller) {
        m_controller->rejectCall();
    }
}

bool ControllerCommands::canRejectCalls() const {
    return !m_controller || m_controller->canRejectCalls();
}

void ControllerCommands::identify(const std::string& displayText) {
    if (m_controller) {
        m_controller->lookUpNumber(displayText);
    }
}

void ControllerCommands::exitApp() {
    if (m_controller) {
        m_controller->appExit(false);
    }
}

std::string ControllerCommands::latestCallerId() const {
    return m_controller ? m_controller->latestCall().callerId : std::string();
}

void ControllerCommands::playSound(const std::string& name) {
    // The sounds exist once start-up has loaded the settings; the windows come after that.
    if (m_controller && m_controller->sound() != nullptr) {
        m_controller->sound()->playSound(name);
    }
}

void ControllerCommands::setWindowOpeners(std::function<void(bool)> openSettings,
                                          std::function<void()> openUpdate) {
    m_openSettings = std::move(openSettings);
    m_openUpdate = std::move(openUpdate);
}

void ControllerCommands::openSettings(bool infoPage) {
    if (m_openSettings) {
        m_openSettings(infoPage);
    }
}

void ControllerCommands::exitForUpdate() {
    if (m_controller) {
        m_controller->appExit(true);
    }
}

void ControllerCommands::checkForUpdate() {
    if (m_openUpdate) {
        m_openUpdate();
    }
}

int ControllerCommands::missedCallCount() const {
    return m_controller ? m_controller->missedCallCount() : 0;
}

bool ControllerCommands::isMissedCall(const JournalRecord& record) const {
    return m_controller && m_controller->isMissedCall(record);
}

void ControllerCommands::acknowledgeMissedCalls() {
    if (m_controller) {
        m_controller->acknowledgeMissedCalls();
    }
}
