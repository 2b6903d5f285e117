#pragma once

#include "ui/Twips.h"

#include <QAbstractAnimation>
#include <QObject>
#include <QPointer>

class QWidget;

/// Slides the journal window's options panel open and shut: the window grows taller around its
/// centre and then the panel slides in from the right with its right edge fixed, and the
/// reverse. Runs on the event loop, so calls and timers go on while it moves.
class OptionsSlide : public QObject {
    Q_OBJECT
public:
    // The geometry in twips: client heights of the short and the tall window (outer heights of
    // about 3650 and 5800 with a standard frame), and the panel shut and open.
    static constexpr int kShutClientHeight = 3255;
    static constexpr int kOpenClientHeight = 5405;
    static constexpr int kPanelRight = 8055;
    static constexpr int kPanelTop = 3720;
    static constexpr int kPanelHeight = 1575;
    static constexpr int kPanelShutWidth = 15;
    static constexpr int kPanelOpenWidth = 4216;

    static constexpr int kWindowStepMs = 250;
    static constexpr int kPanelStepMs = 350;

    OptionsSlide(QWidget* window, QWidget* panel, const TwipsScale& scale,
                 QObject* parent = nullptr);
    ~OptionsSlide() override;

    void open();
    void shut();
    bool isRunning() const { return m_running != nullptr; }

signals:
    void finished();

private:
    QAbstractAnimation* windowHeightTo(int clientHeight);
    QAbstractAnimation* panelTo(int width);
    void run(QAbstractAnimation* animation);

    QWidget* m_window;
    QWidget* m_panel;
    TwipsScale m_scale;
    QPointer<QAbstractAnimation> m_running;
};
