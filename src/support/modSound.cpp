#include "support/modSound.h"

#include "stores/Settings.h"
#include "support/AppPaths.h"
#include "support/WavePlayer.h"

void modSound::playSound(const std::string& name) {
    if (settings().audiofeedback) {
        m_player.play(AppPath + "res/" + name + ".wav");
    }
}

void modSound::playCallWave() {
    if (settings().plsnd) {
        playWave(settings().sndwav);
    }
}

void modSound::playWave(const std::string& path) {
    m_player.play(resolveAppRelative(path));
}
