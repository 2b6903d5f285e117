#include "ui/DesktopPictures.h"

#include "support/QtText.h"

DesktopPictures DesktopPictures::load(const std::string& resourceDir) {
    const QString dir = qs(resourceDir);
    DesktopPictures pictures;
    pictures.telBlack = QIcon(dir + "phoneblack.ico");
    pictures.telGreen = QIcon(dir + "phonegreen.ico");
    pictures.telRed = QIcon(dir + "phonered.ico");
    pictures.eye = QIcon(dir + "eye.ico");
    pictures.m_backgroundFile = dir + "bg.jpg";
    return pictures;
}

const QIcon& DesktopPictures::trayIcon(TrayIcon colour) const {
    switch (colour) {
    case TrayIcon::Green:
        return telGreen;
    case TrayIcon::Red:
        return telRed;
    case TrayIcon::Black:
        break;
    }
    return telBlack;
}

const QPixmap& DesktopPictures::background() const {
    if (!m_background) {
        m_background = QPixmap(m_backgroundFile);
    }
    return *m_background;
}
