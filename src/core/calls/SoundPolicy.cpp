#include "calls/SoundPolicy.h"

#include "stores/Settings.h"
#include "support/AppPaths.h"
#include "support/WavePlayer.h"

void SoundPolicy::playSound(const std::string& name) {
    if (m_settings.audioFeedback) {
        m_player.play(m_paths.dataFile("res/" + name + ".wav"));
    }
}

void SoundPolicy::playCallWave() {
    if (m_settings.playCallSound) {
        playWave(m_settings.callSound);
    }
}

void SoundPolicy::playWave(const std::string& path) {
    m_player.play(m_paths.resolve(path));
}
