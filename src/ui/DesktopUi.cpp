#include "ui/DesktopUi.h"

#include "calls/DebugWindow.h"
#include "calls/frmMain.h"
#include "stores/LanguageIds.h"
#include "stores/cLanguage.h"
#include "stores/frmSetLang.h"
#include "support/AppPaths.h"
#include "support/QtText.h"
#include "ui/frmJournal.h"
#include "ui/modTrayIcon.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

bool DesktopUrlOpener::openUrl(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(qs(address)));
}

void JournalWindowView::attach(frmJournal* window) {
    m_window = window;
}

void JournalWindowView::RefreshJournal(bool clear) {
    if (m_window) {
        m_window->RefreshJournal(clear);
    }
}

void JournalWindowView::showAndActivate() {
    if (m_window) {
        m_window->showAndActivate();
    }
}

void JournalWindowView::minimize() {
    if (m_window) {
        m_window->minimize();
    }
}

DesktopUi::DesktopUi(UserPrompt& prompt, std::function<bool()> trayAvailable)
    : m_prompt(prompt), m_trayAvailable(std::move(trayAvailable)),
      m_popup([this]() -> const DesktopPictures& { return pictures(); }, m_commands, prompt) {}

DesktopUi::~DesktopUi() {
    m_trayIcon.reset();
    m_journalWindow.reset();
    delete m_debugWindow;
}

void DesktopUi::attach(frmMain* controller) {
    m_controller = controller;
    m_commands.attach(controller);
}

const DesktopPictures& DesktopUi::pictures() {
    if (!m_pictures) {
        m_pictures = DesktopPictures::load(AppPath + "res/");
    }
    return *m_pictures;
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

void DesktopUi::showMainWindowHidden() {
    if (m_journalWindow) {
        return;
    }
    m_journalWindow =
        std::make_unique<frmJournal>(pictures(), m_commands, m_prompt, m_trayAvailable);
    m_journal.attach(m_journalWindow.get());

    m_tray.setIcon(TrayIcon::Black);
    m_tray.setTooltip(Language().getStr(lang_id::kTooltipIdle));
    m_trayIcon = std::make_unique<modTrayIcon>(m_tray, pictures(), m_journalWindow->trayMenu());
    QObject::connect(m_trayIcon.get(), &modTrayIcon::openRequested, m_journalWindow.get(),
                     &frmJournal::openFromTray);
    m_trayIcon->add();
    // Without a notification area a hidden window could not be found again.
    if (!m_trayAvailable()) {
        m_journalWindow->showMinimized();
    }
}

void DesktopUi::closeAllWindows() {
    m_tray.setGreenBlink(false);
    m_tray.setRedBlink(false);
    if (m_trayIcon) {
        m_trayIcon->remove();
    }
    m_popup.close();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    delete m_debugWindow;
}
