#include "ui/TrayBlinker.h"

#include "support/QtText.h"

TrayBlinker::TrayBlinker(QObject* parent) : QObject(parent) {
    m_greenBlinkTimer.setObjectName("tmrTrayBlink");
    m_redBlinkTimer.setObjectName("tmrTrayBlinkRed");
    m_greenBlinkTimer.setInterval(kBlinkIntervalMs);
    m_redBlinkTimer.setInterval(kBlinkIntervalMs);
    connect(&m_greenBlinkTimer, &QTimer::timeout, this, &TrayBlinker::greenTick);
    connect(&m_redBlinkTimer, &QTimer::timeout, this, &TrayBlinker::redTick);
}

TrayBlinker::~TrayBlinker() = default;

QString TrayBlinker::fitTooltip(const QString& text) {
    const int room = kTooltipField - 1;
    if (text.size() <= room) {
        return text;
    }
    // Never split a character that takes two UTF-16 units.
    const int cut = text.at(room - 1).isHighSurrogate() ? room - 1 : room;
    return text.left(cut);
}

void TrayBlinker::setTooltip(const std::string& tooltip) {
    m_tooltip = fitTooltip(qs(tooltip));
    emit tooltipChanged(m_tooltip);
}

void TrayBlinker::setIcon(TrayIcon icon) {
    m_icon = icon;
    emit iconChanged(m_icon);
}

void TrayBlinker::setGreenBlink(bool on) {
    if (on) {
        m_greenBlinkTimer.start();
    } else {
        m_greenBlinkTimer.stop();
    }
}

void TrayBlinker::setRedBlink(bool on) {
    if (on) {
        m_redBlinkTimer.start();
    } else {
        m_redBlinkTimer.stop();
    }
}

void TrayBlinker::acknowledge() {
    setIcon(TrayIcon::Black);
    m_greenBlinkTimer.stop();
    m_redBlinkTimer.stop();
    emit acknowledged();
}

TrayBlinker::State TrayBlinker::state() const {
    if (m_greenBlinkTimer.isActive()) {
        return State::Ringing;
    }
    if (m_redBlinkTimer.isActive()) {
        return State::Missed;
    }
    return m_icon == TrayIcon::Black ? State::Idle : State::Still;
}

void TrayBlinker::blink(TrayIcon colour) {
    setIcon(m_icon == TrayIcon::Black ? colour : TrayIcon::Black);
}

void TrayBlinker::greenTick() {
    blink(TrayIcon::Green);
}

void TrayBlinker::redTick() {
    blink(TrayIcon::Red);
}
