#include "ui/CallPopup.h"

#include "support/QtText.h"
#include "ui/frmCall.h"

CallPopup::CallPopup(std::function<const DesktopPictures&()> pictures, AppCommands& commands,
                     UserPrompt& prompt, QObject* parent)
    : QObject(parent), m_pictures(std::move(pictures)), m_commands(commands), m_prompt(prompt) {}

CallPopup::~CallPopup() {
    delete m_window;
}

frmCall* CallPopup::window() const {
    return m_window;
}

frmCall& CallPopup::ensureWindow() {
    if (!m_window) {
        m_window = new frmCall(m_pictures(), m_commands, m_prompt);
        connect(m_window, &frmCall::closeRequested, this, &CallPopup::close);
    }
    return *m_window;
}

void CallPopup::showCall(const PopupContent& content) {
    frmCall& window = ensureWindow();
    window.fill(content);
    window.showAndActivate();
}

void CallPopup::setStatus(const std::string& status) {
    ensureWindow().setStatus(qs(status));
}

void CallPopup::close() {
    if (!m_window) {
        return;
    }
    // Destroyed later: the request may come from one of the window's own buttons.
    frmCall* window = m_window;
    m_window = nullptr;
    window->hide();
    window->deleteLater();
}
