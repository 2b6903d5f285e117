#include "ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;

} // namespace

TwipsScale TwipsScale::forScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return TwipsScale(screen != nullptr ? screen->logicalDotsPerInchY() : kFallbackDpi);
}

int TwipsScale::px(int twips) const {
    return static_cast<int>(std::lround(twips * m_dpi / kTwipsPerInch));
}

QRect TwipsScale::rect(int left, int top, int width, int height) const {
    // Edges are rounded, not sizes, so that controls laid edge to edge stay so.
    const int x = px(left);
    const int y = px(top);
    return {x, y, px(left + width) - x, px(top + height) - y};
}

void placeInTwips(QWidget* widget, const TwipsScale& scale, int left, int top, int width,
                  int height) {
    widget->setGeometry(scale.rect(left, top, width, height));
}
