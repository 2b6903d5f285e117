#include "calls/QtCallClock.h"

#include <QDate>
#include <QLocale>
#include <QTime>

std::string QtCallClock::dateText() const {
    const QLocale locale = QLocale::system();
    // Without regional settings (a service's C locale) a compact numeric date still fits its
    // column.
    if (locale.language() == QLocale::C) {
        return QDate::currentDate().toString("dd.MM.yyyy").toStdString();
    }
    return locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::string QtCallClock::timeText() const {
    return QTime::currentTime().toString("HH:mm:ss").toStdString();
}
