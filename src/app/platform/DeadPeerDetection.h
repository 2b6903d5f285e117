#pragma once

#include <QtGlobal>

/// How a TCP connection notices a peer that vanished without closing (power cut, cable pulled):
/// keepalive probes after 30 s without traffic, every 10 s, 3 unanswered probes end it; data
/// that stays unacknowledged as long ends it too. A vanished peer is so a lost connection within
/// about a minute instead of the system's default of over two hours.
struct DeadPeerTimings {
    static constexpr int kIdleSeconds = 30;
    static constexpr int kIntervalSeconds = 10;
    static constexpr int kProbeCount = 3;
    static constexpr int kUserTimeoutMs = (kIdleSeconds + kIntervalSeconds * kProbeCount) * 1000;
};

/// Sets the dead-peer detection on a connected socket. Does nothing and returns false when the
/// descriptor is not a TCP socket (a device file, a local socket) or the system refused an
/// option. One implementation file per platform.
bool enableDeadPeerDetection(qintptr socketDescriptor);
