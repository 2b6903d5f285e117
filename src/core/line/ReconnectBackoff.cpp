#include "line/ReconnectBackoff.h"

#include <algorithm>

ReconnectBackoff::ReconnectBackoff(Delay first, Delay cap)
    : m_first(std::max(first, Delay(1))), m_cap(std::max(cap, m_first)), m_next(m_first) {}

ReconnectBackoff::Delay ReconnectBackoff::nextDelay() {
    const Delay delay = m_next;
    m_next = std::min(m_next * 2, m_cap);
    return delay;
}
