#include "calls/QtCallClock.h"

#include <QDate>
#include <QLocale>
#include <QTime>

std::string QtCallClock::dateText() const {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::string QtCallClock::timeText() const {
    return QTime::currentTime().toString("HH:mm:ss").toStdString();
}
