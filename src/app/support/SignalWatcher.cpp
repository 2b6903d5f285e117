#include "support/SignalWatcher.h"

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {
    installTerminationHandlers(this);
}

SignalWatcher::~SignalWatcher() = default;
