#include "ui/WindowLook.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    window->move(area.center() - window->rect().center());
}

void setWindowBackground(QWidget* window, const QPixmap& picture) {
    QPalette palette = QApplication::palette(window);
    if (!picture.isNull()) {
        palette.setBrush(QPalette::Window, QBrush(picture));
    }
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void setPlainBackground(QWidget* panel) {
    QPalette palette = panel->palette();
    palette.setBrush(QPalette::Window, QApplication::palette(panel).window());
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}
