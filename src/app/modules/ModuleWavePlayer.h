#pragma once

#include "modules/ModuleLoader.h"
#include "support/WavePlayer.h"

#include <functional>
#include <memory>

/// Plays through the sound module, loaded at the first sound. Without the module every sound is
/// the system's standard sound, and the reason is told once.
class ModuleWavePlayer : public WavePlayer {
public:
    /// report receives the reason when the module cannot be loaded.
    explicit ModuleWavePlayer(std::function<void(const QString&)> report);
    ~ModuleWavePlayer() override;

    void play(const std::string& path) override;

private:
    ModuleLoader m_loader;
    std::function<void(const QString&)> m_report;
    std::unique_ptr<WavePlayer> m_player;
    bool m_tried = false;
};
