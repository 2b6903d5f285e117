#pragma once

#include "calls/CallViews.h"

#include <QObject>
#include <QString>
#include <QTimer>

/// The notification icon's picture, tooltip and blinking: green while a call rings, red after
/// a missed call, each alternating with black every second; touching the icon acknowledges.
class TrayBlinker : public QObject, public TrayView {
    Q_OBJECT
public:
    /// What the icon is doing.
    enum class State {
        Idle,    // black, no blinking
        Ringing, // green blinking
        Missed,  // red blinking
        Still,   // a colour left over from cut-off blinking
    };

    /// The tooltip field holds this many characters and a terminator.
    static constexpr int kTooltipField = 64;
    static constexpr int kBlinkIntervalMs = 1000;

    explicit TrayBlinker(QObject* parent = nullptr);
    ~TrayBlinker() override;

    void setTooltip(const std::string& tooltip) override;
    void setIcon(TrayIcon icon) override;
    void setGreenBlink(bool on) override;
    void setRedBlink(bool on) override;

    /// The user touched the icon: black, and both blinkings stop.
    void acknowledge();

    TrayIcon icon() const { return m_icon; }
    const QString& tooltip() const { return m_tooltip; }
    State state() const;
    bool isGreenBlinking() const { return m_greenBlinkTimer.isActive(); }
    bool isRedBlinking() const { return m_redBlinkTimer.isActive(); }

    /// The tooltip as it fits the icon's field.
    static QString fitTooltip(const QString& text);

signals:
    void iconChanged(TrayIcon icon);
    void tooltipChanged(const QString& tooltip);
    /// The user touched the icon.
    void acknowledged();

public slots:
    void greenTick();
    void redTick();

private:
    void blink(TrayIcon colour);

    QTimer m_greenBlinkTimer;
    QTimer m_redBlinkTimer;
    TrayIcon m_icon = TrayIcon::Black;
    QString m_tooltip;
};
