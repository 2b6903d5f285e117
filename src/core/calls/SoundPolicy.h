#pragma once

#include <string>

class AppPaths;
class WavePlayer;
struct SettingsRecord;

/// Which sound plays when, by the settings audioFeedback and playCallSound.
class SoundPolicy {
public:
    SoundPolicy(WavePlayer& player, const SettingsRecord& settings, const AppPaths& paths)
        : m_player(player), m_settings(settings), m_paths(paths) {}

    /// A feedback sound, res/NAME.wav, when audio feedback is on.
    void playSound(const std::string& name);
    /// The configured call sound when call sounds are on.
    void playCallWave();
    /// The file, unconditionally; relative paths are taken from the data folder.
    void playWave(const std::string& path);

private:
    WavePlayer& m_player;
    const SettingsRecord& m_settings;
    const AppPaths& m_paths;
};
