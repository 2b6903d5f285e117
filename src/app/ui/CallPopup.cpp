#include "ui/CallPopup.h"

#include "support/QtText.h"
#include "ui/CallPopupWindow.h"

CallPopup::CallPopup(std::function<const DesktopPictures&()> pictures, AppCommands& commands,
                     UserPrompt& prompt, QObject* parent)
    : QObject(parent), m_pictures(std::move(pictures)), m_commands(commands), m_prompt(prompt) {}

CallPopup::~CallPopup() {
    delete m_window;
}

CallPopupWindow* CallPopup::window() const {
    return m_window;
}

CallPopupWindow* CallPopup::ensureWindow() {
    if (!m_window && m_context != nullptr) {
        m_window = new CallPopupWindow(CallPopupWindowParts::of(*m_context), m_pictures(),
                                       m_commands, m_prompt);
        connect(m_window, &CallPopupWindow::closeRequested, this, &CallPopup::close);
    }
    return m_window;
}

void CallPopup::showCall(const PopupContent& content) {
    if (CallPopupWindow* window = ensureWindow()) {
        window->fill(content);
        window->showAndActivate();
    }
}

void CallPopup::setStatus(const std::string& status) {
    if (CallPopupWindow* window = ensureWindow()) {
        window->setStatus(qs(status));
    }
}

void CallPopup::close() {
    if (!m_window) {
        return;
    }
    // Destroyed later: the request may come from one of the window's own buttons.
    CallPopupWindow* window = m_window;
    m_window = nullptr;
    window->hide();
    window->deleteLater();
}
