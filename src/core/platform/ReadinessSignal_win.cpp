#include "line/ReadinessSignal.h"

// Windows offers no pollable descriptor for this; the controller's poll tick fetches instead.
ReadinessSignal::ReadinessSignal() = default;
ReadinessSignal::~ReadinessSignal() = default;
void ReadinessSignal::raise() {
    m_raised = true;
}
void ReadinessSignal::clear() {
    m_raised = false;
}
