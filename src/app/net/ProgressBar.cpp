#include "net/ProgressBar.h"

#include "net/UpdateCheck.h"

#include <QPainter>

#include <algorithm>

const QColor ProgressBar::kBarColour(0, 0, 192);

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, Qt::white);
    setPalette(look);
}

void ProgressBar::setProgress(qint64 value, qint64 highest) {
    m_value = value;
    m_highest = highest;
    update();
}

QString ProgressBar::text() const {
    if (std::clamp<qint64>(m_value, 0, std::max<qint64>(m_highest, 0)) <= 0) {
        return {};
    }
    return QStringLiteral("%1 %").arg(progressPercent(m_value, m_highest));
}

void ProgressBar::paintEvent(QPaintEvent*) {
    const QString caption = text();
    if (caption.isEmpty()) {
        return;
    }
    QPainter painter(this);
    const int percent = progressPercent(m_value, m_highest);
    const int filled = width() * percent / 100;
    painter.fillRect(0, 0, filled, height(), kBarColour);
    const QRect textRect = painter.fontMetrics().boundingRect(rect(), Qt::AlignCenter, caption);
    painter.setPen(textRect.left() < filled ? Qt::white : Qt::black);
    painter.drawText(rect(), Qt::AlignCenter, caption);
}
