#include "platform/DeadPeerDetection.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

bool isTcpSocket(int fd) {
    int type = 0;
    socklen_t typeLength = sizeof(type);
    if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &typeLength) != 0 || type != SOCK_STREAM) {
        return false;
    }
    sockaddr_storage address{};
    socklen_t addressLength = sizeof(address);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &addressLength) != 0) {
        return false;
    }
    return address.ss_family == AF_INET || address.ss_family == AF_INET6;
}

bool setOption(int fd, int level, int name, int value) {
    return ::setsockopt(fd, level, name, &value, sizeof(value)) == 0;
}

} // namespace

bool enableDeadPeerDetection(qintptr socketDescriptor) {
    const int fd = static_cast<int>(socketDescriptor);
    if (fd < 0 || !isTcpSocket(fd)) {
        return false;
    }
    using T = DeadPeerTimings;
    return setOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1) &&
           setOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, T::kIdleSeconds) &&
           setOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, T::kIntervalSeconds) &&
           setOption(fd, IPPROTO_TCP, TCP_KEEPCNT, T::kProbeCount) &&
           setOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, T::kUserTimeoutMs);
}
