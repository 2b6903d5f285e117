#include "calls/QtCallClock.h"

#include <QDate>
#include <QDateTime>
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

std::optional<std::chrono::system_clock::time_point>
QtCallClock::recordTime(const std::string& date, const std::string& time) const {
    const QLocale locale = QLocale::system();
    QDate day = QDate::fromString(QString::fromStdString(date), "dd.MM.yyyy");
    if (!day.isValid()) {
        day = locale.toDate(QString::fromStdString(date), QLocale::ShortFormat);
    }
    // A two-digit year reads as 19xx; the journal holds no calls from before 1970.
    if (day.isValid() && day.year() < 1970) {
        day = day.addYears(100);
    }
    const QTime clock = QTime::fromString(QString::fromStdString(time), "HH:mm:ss");
    if (!day.isValid() || !clock.isValid()) {
        return std::nullopt;
    }
    return std::chrono::system_clock::time_point(
        std::chrono::seconds(QDateTime(day, clock).toSecsSinceEpoch()));
}
