#include "ui/WindowLook.h"

#include <QAbstractButton>
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

void useDesignFont(QWidget* window) {
    constexpr double kDesignPointSize = 8.0;
    QFont font = window->font();
    // The design was measured for a narrow face; wide ones would not fit its buttons.
    QStringList families = {"Tahoma", "Segoe UI", "Liberation Sans", "Arial", "Nimbus Sans"};
    families.append(font.families());
    font.setFamilies(families);
    font.setPointSizeF(kDesignPointSize);
    window->setFont(font);
}

void fitButtonCaptions(QWidget* root) {
    constexpr double kSmallestPointSize = 6.5;
    constexpr double kStep = 0.5;
    // Room the button's frame takes on either side of its caption.
    constexpr int kFramePadding = 4;
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        QFont font = button->font();
        if (font.pointSizeF() <= 0) {
            continue;
        }
        const QString caption = button->text().remove('&');
        const int room = button->width() - kFramePadding;
        while (QFontMetrics(font).horizontalAdvance(caption) > room &&
               font.pointSizeF() - kStep >= kSmallestPointSize) {
            font.setPointSizeF(font.pointSizeF() - kStep);
        }
        if (font != button->font()) {
            button->setFont(font);
        }
    }
}
