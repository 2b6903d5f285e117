#include "ui/DesktopUi.h"

#include "calls/DebugWindow.h"
#include "calls/frmMain.h"
#include "stores/frmSetLang.h"

#include "support/QtText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

bool DesktopUrlOpener::openUrl(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(qs(address)));
}

DesktopUi::DesktopUi(UserPrompt& prompt) : m_prompt(prompt) {}

DesktopUi::~DesktopUi() {
    delete m_debugWindow;
}

void DesktopUi::chooseLanguage() {
    frmSetLang chooser;
    chooser.exec();
}

void DesktopUi::showDebugWindow() {
    if (m_controller == nullptr) {
        return;
    }
    if (!m_debugWindow) {
        m_debugWindow = new DebugWindow(*m_controller);
        m_debugWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_debugWindow->show();
}

void DesktopUi::showMainWindowHidden() {}

void DesktopUi::closeAllWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    delete m_debugWindow;
}
