#include "ui/TrayBlinker.h"

#include "support/QtText.h"

TrayBlinker::TrayBlinker(QObject* parent) : QObject(parent) {
    m_tmrTrayBlink.setObjectName("tmrTrayBlink");
    m_tmrTrayBlinkRed.setObjectName("tmrTrayBlinkRed");
    m_tmrTrayBlink.setInterval(kBlinkIntervalMs);
    m_tmrTrayBlinkRed.setInterval(kBlinkIntervalMs);
    connect(&m_tmrTrayBlink, &QTimer::timeout, this, &TrayBlinker::greenTick);
    connect(&m_tmrTrayBlinkRed, &QTimer::timeout, this, &TrayBlinker::redTick);
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
        m_tmrTrayBlink.start();
    } else {
        m_tmrTrayBlink.stop();
    }
}

void TrayBlinker::setRedBlink(bool on) {
    if (on) {
        m_tmrTrayBlinkRed.start();
    } else {
        m_tmrTrayBlinkRed.stop();
    }
}

void TrayBlinker::acknowledge() {
    setIcon(TrayIcon::Black);
    m_tmrTrayBlink.stop();
    m_tmrTrayBlinkRed.stop();
    emit acknowledged();
}

TrayBlinker::State TrayBlinker::state() const {
    if (m_tmrTrayBlink.isActive()) {
        return State::Ringing;
    }
    if (m_tmrTrayBlinkRed.isActive()) {
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
