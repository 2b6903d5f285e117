#pragma once

#include <chrono>

/// How long to wait before the next attempt to get a lost line back: the first delay, then
/// twice the one before, never more than the cap (by default 1, 2, 4 ... 60 seconds), for ever.
class ReconnectBackoff {
public:
    using Delay = std::chrono::milliseconds;

    explicit ReconnectBackoff(Delay first = std::chrono::seconds(1),
                              Delay cap = std::chrono::seconds(60));

    /// The delay before the next attempt; each call doubles the following one.
    Delay nextDelay();
    /// The line is back: the next outage starts again with the first delay.
    void reset() { m_next = m_first; }

private:
    Delay m_first;
    Delay m_cap;
    Delay m_next;
};
