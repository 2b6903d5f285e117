#include "ui/modTrayIcon.h"

#include "ui/DesktopPictures.h"
#include "ui/TrayBlinker.h"

#include <QMenu>

modTrayIcon::modTrayIcon(TrayBlinker& blinker, const DesktopPictures& pictures, QMenu* menu,
                         QObject* parent)
    : QObject(parent), m_blinker(blinker), m_pictures(pictures), m_menu(menu) {
    m_icon.setIcon(m_pictures.trayIcon(m_blinker.icon()));
    m_icon.setToolTip(m_blinker.tooltip());
    if (m_menu) {
        m_icon.setContextMenu(m_menu);
        // Opening the menu touches the icon too, also where the platform reports no click.
        connect(m_menu, &QMenu::aboutToShow, &m_blinker, &TrayBlinker::acknowledge);
    }
    connect(&m_blinker, &TrayBlinker::iconChanged, this, &modTrayIcon::showIcon);
    connect(&m_blinker, &TrayBlinker::tooltipChanged, this, &modTrayIcon::showTooltip);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &modTrayIcon::onActivated);
}

modTrayIcon::~modTrayIcon() {
    m_icon.hide();
}

void modTrayIcon::add() {
    m_icon.show();
}

void modTrayIcon::remove() {
    m_icon.hide();
    m_icon.setContextMenu(nullptr);
    disconnect(&m_blinker, nullptr, this, nullptr);
}

void modTrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    m_blinker.acknowledge();
    if (reason == QSystemTrayIcon::Trigger) {
        emit openRequested();
    }
}

void modTrayIcon::showIcon(TrayIcon colour) {
    m_icon.setIcon(m_pictures.trayIcon(colour));
}

void modTrayIcon::showTooltip(const QString& tooltip) {
    m_icon.setToolTip(tooltip);
}
