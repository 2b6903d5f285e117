#include "ui/OptionsSlide.h"

#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QWidget>

OptionsSlide::OptionsSlide(QWidget* window, QWidget* panel, const TwipsScale& scale,
                           QObject* parent)
    : QObject(parent), m_window(window), m_panel(panel), m_scale(scale) {}

OptionsSlide::~OptionsSlide() {
    if (m_running) {
        m_running->stop();
    }
}

QAbstractAnimation* OptionsSlide::windowHeightTo(int clientHeight) {
    const QRect from = m_window->geometry();
    const int centre = from.top() + from.height() / 2;
    const QRect to(from.left(), centre - clientHeight / 2, from.width(), clientHeight);
    // The window has a fixed size; it may only change height between the two ends.
    m_window->setMinimumHeight(std::min(from.height(), clientHeight));
    m_window->setMaximumHeight(std::max(from.height(), clientHeight));
    auto* animation = new QPropertyAnimation(m_window, "geometry");
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setDuration(kWindowStepMs);
    connect(animation, &QAbstractAnimation::finished, m_window,
            [window = m_window, clientHeight]() { window->setFixedHeight(clientHeight); });
    return animation;
}

QAbstractAnimation* OptionsSlide::panelTo(int width) {
    auto* animation = new QPropertyAnimation(m_panel, "geometry");
    animation->setStartValue(m_panel->geometry());
    animation->setEndValue(m_scale.rect(kPanelRight - width, kPanelTop, width, kPanelHeight));
    animation->setDuration(kPanelStepMs);
    return animation;
}

void OptionsSlide::run(QAbstractAnimation* animation) {
    m_running = animation;
    connect(animation, &QAbstractAnimation::finished, this, [this]() {
        m_running = nullptr;
        emit finished();
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void OptionsSlide::open() {
    if (isRunning()) {
        return;
    }
    auto* group = new QSequentialAnimationGroup(this);
    const int tall = m_scale.px(kOpenClientHeight);
    // A window already at least that tall stays as it is.
    if (m_window->height() < tall) {
        group->addAnimation(windowHeightTo(tall));
    }
    m_panel->setGeometry(
        m_scale.rect(kPanelRight - kPanelShutWidth, kPanelTop, kPanelShutWidth, kPanelHeight));
    QAbstractAnimation* slide = panelTo(kPanelOpenWidth);
    connect(slide, &QAbstractAnimation::stateChanged, m_panel,
            [panel = m_panel](QAbstractAnimation::State state) {
                if (state == QAbstractAnimation::Running) {
                    panel->show();
                }
            });
    group->addAnimation(slide);
    run(group);
}

void OptionsSlide::shut() {
    if (isRunning()) {
        return;
    }
    auto* group = new QSequentialAnimationGroup(this);
    QAbstractAnimation* slide = panelTo(kPanelShutWidth);
    connect(slide, &QAbstractAnimation::finished, m_panel, &QWidget::hide);
    group->addAnimation(slide);
    const int shortHeight = m_scale.px(kShutClientHeight);
    if (m_window->height() > shortHeight) {
        group->addAnimation(windowHeightTo(shortHeight));
    }
    run(group);
}
