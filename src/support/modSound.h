#pragma once

#include <string>

class WavePlayer;

/// The program's sounds, governed by the settings audiofeedback and plsnd.
class modSound {
public:
    explicit modSound(WavePlayer& player) : m_player(player) {}

    /// A feedback sound, res/NAME.wav, when audiofeedback is on.
    void playSound(const std::string& name);
    /// The configured call sound (sndwav) when plsnd is on.
    void playCallWave();
    /// The file, unconditionally; relative paths are taken from the program's folder.
    void playWave(const std::string& path);

private:
    WavePlayer& m_player;
};
