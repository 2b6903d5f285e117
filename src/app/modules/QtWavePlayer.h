#pragma once

#include "support/WavePlayer.h"

#include <QObject>

#include <memory>

class QSoundEffect;

/// Plays wave files through Qt Multimedia, one at a time.
class QtWavePlayer : public QObject, public WavePlayer {
    Q_OBJECT
public:
    explicit QtWavePlayer(QObject* parent = nullptr);
    ~QtWavePlayer() override;

    void play(const std::string& path) override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};
