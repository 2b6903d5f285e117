#include "modules/QtWavePlayer.h"

#include "support/QtText.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtWavePlayer::QtWavePlayer(QObject* parent) : QObject(parent) {}

QtWavePlayer::~QtWavePlayer() = default;

void QtWavePlayer::play(const std::string& path) {
    // A new effect per sound: stopping the old one cuts it off at once.
    if (m_effect) {
        m_effect->stop();
    }
    const QString file = qs(path);
    if (!QFileInfo(file).isFile()) {
        QApplication::beep();
        return;
    }
    m_effect = std::make_unique<QSoundEffect>();
    QSoundEffect* effect = m_effect.get();
    connect(effect, &QSoundEffect::statusChanged, this, [effect]() {
        if (effect->status() == QSoundEffect::Ready) {
            effect->play();
        } else if (effect->status() == QSoundEffect::Error) {
            QApplication::beep();
        }
    });
    effect->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
}
