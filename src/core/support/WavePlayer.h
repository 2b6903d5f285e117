#pragma once

#include <string>

/// Plays a wave file without waiting; a new sound cuts off one still playing, a file that
/// cannot be played gives the system's standard sound.
class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    virtual void play(const std::string& path) = 0;
};
