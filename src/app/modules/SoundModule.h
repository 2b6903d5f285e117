#pragma once

#include "support/WavePlayer.h"

#include <QtPlugin>

#include <memory>

/// The sound module's entry point: it makes the player that plays wave files.
class SoundModule {
public:
    virtual ~SoundModule() = default;
    virtual std::unique_ptr<WavePlayer> makePlayer() = 0;
};

#define RUFWACHT_SOUND_MODULE_IID "org.example.rufwacht.SoundModule/1"
Q_DECLARE_INTERFACE(SoundModule, RUFWACHT_SOUND_MODULE_IID)
