#pragma once

/// A handle that another thread can make readable and clear again, for waking an event loop.
/// Not thread-safe by itself: the owner serialises raise() and clear().
class ReadinessSignal {
public:
    ReadinessSignal();
    ~ReadinessSignal();
    ReadinessSignal(const ReadinessSignal&) = delete;
    ReadinessSignal& operator=(const ReadinessSignal&) = delete;

    /// The readable end; -1 where the platform offers none.
    int handle() const { return m_readEnd; }
    /// Makes the handle readable (once, however often raised).
    void raise();
    /// Makes it unreadable again.
    void clear();

private:
    int m_readEnd = -1;
    int m_writeEnd = -1;
    bool m_raised = false;
};
