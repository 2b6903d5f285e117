#include "ui/NotificationIcon.h"

#include "ui/DesktopPictures.h"
#include "ui/TrayBlinker.h"

#include <QMenu>

NotificationIcon::NotificationIcon(TrayBlinker& blinker, const DesktopPictures& pictures,
                                   QMenu* menu, QObject* parent)
    : QObject(parent), m_blinker(blinker), m_pictures(pictures) {
    m_icon.setIcon(m_pictures.trayIcon(m_blinker.icon()));
    m_icon.setToolTip(m_blinker.tooltip());
    setMenu(menu);
    connect(&m_blinker, &TrayBlinker::iconChanged, this, &NotificationIcon::showIcon);
    connect(&m_blinker, &TrayBlinker::tooltipChanged, this, &NotificationIcon::showTooltip);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &NotificationIcon::onActivated);
}

NotificationIcon::~NotificationIcon() {
    m_icon.hide();
}

void NotificationIcon::setMenu(QMenu* menu) {
    m_menu = menu;
    if (m_menu) {
        m_icon.setContextMenu(m_menu);
        // Opening the menu touches the icon too, also where the platform reports no click.
        connect(m_menu, &QMenu::aboutToShow, &m_blinker, &TrayBlinker::acknowledge);
    }
}

void NotificationIcon::add() {
    m_icon.show();
}

void NotificationIcon::showNotice(const QString& title, const QString& text) {
    m_icon.showMessage(title, text, QSystemTrayIcon::Warning);
}

void NotificationIcon::remove() {
    m_icon.hide();
    m_icon.setContextMenu(nullptr);
    disconnect(&m_blinker, nullptr, this, nullptr);
}

void NotificationIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    m_blinker.acknowledge();
    if (reason == QSystemTrayIcon::Trigger) {
        emit openRequested();
    }
}

void NotificationIcon::showIcon(TrayIcon colour) {
    m_icon.setIcon(m_pictures.trayIcon(colour));
}

void NotificationIcon::showTooltip(const QString& tooltip) {
    m_icon.setToolTip(m_missedText.isEmpty() ? tooltip : tooltip + "\n" + m_missedText);
}

void NotificationIcon::setMissedText(const QString& text) {
    m_missedText = text;
    showTooltip(m_blinker.tooltip());
}
