#include "platform/DeadPeerDetection.h"

#include <winsock2.h>
#include <ws2tcpip.h>

// Windows 10 1709 and later take the keepalive timings per socket; TCP_MAXRT (seconds) bounds
// the retransmission of unacknowledged data.
#ifndef TCP_KEEPIDLE
#define TCP_KEEPIDLE 3
#endif
#ifndef TCP_KEEPCNT
#define TCP_KEEPCNT 16
#endif
#ifndef TCP_KEEPINTVL
#define TCP_KEEPINTVL 17
#endif
#ifndef TCP_MAXRT
#define TCP_MAXRT 5
#endif

namespace {

bool isTcpSocket(SOCKET socket) {
    int type = 0;
    int typeLength = sizeof(type);
    if (::getsockopt(socket, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &typeLength) !=
            0 ||
        type != SOCK_STREAM) {
        return false;
    }
    sockaddr_storage address{};
    int addressLength = sizeof(address);
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &addressLength) != 0) {
        return false;
    }
    return address.ss_family == AF_INET || address.ss_family == AF_INET6;
}

bool setOption(SOCKET socket, int level, int name, DWORD value) {
    return ::setsockopt(socket, level, name, reinterpret_cast<const char*>(&value),
                        sizeof(value)) == 0;
}

} // namespace

bool enableDeadPeerDetection(qintptr socketDescriptor) {
    const auto socket = static_cast<SOCKET>(socketDescriptor);
    if (socketDescriptor < 0 || !isTcpSocket(socket)) {
        return false;
    }
    using T = DeadPeerTimings;
    return setOption(socket, SOL_SOCKET, SO_KEEPALIVE, 1) &&
           setOption(socket, IPPROTO_TCP, TCP_KEEPIDLE, T::kIdleSeconds) &&
           setOption(socket, IPPROTO_TCP, TCP_KEEPINTVL, T::kIntervalSeconds) &&
           setOption(socket, IPPROTO_TCP, TCP_KEEPCNT, T::kProbeCount) &&
           setOption(socket, IPPROTO_TCP, TCP_MAXRT, T::kUserTimeoutMs / 1000);
}
