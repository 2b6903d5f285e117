#include "line/ReadinessSignal.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

void makeNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

} // namespace

ReadinessSignal::ReadinessSignal() {
    int ends[2];
    if (::pipe(ends) == 0) {
        m_readEnd = ends[0];
        m_writeEnd = ends[1];
        makeNonBlocking(m_readEnd);
        makeNonBlocking(m_writeEnd);
    }
}

ReadinessSignal::~ReadinessSignal() {
    if (m_readEnd >= 0) {
        ::close(m_readEnd);
        ::close(m_writeEnd);
    }
}

void ReadinessSignal::raise() {
    if (m_raised || m_writeEnd < 0) {
        return;
    }
    const char byte = 1;
    m_raised = ::write(m_writeEnd, &byte, 1) == 1;
}

void ReadinessSignal::clear() {
    if (!m_raised) {
        return;
    }
    char byte = 0;
    while (::read(m_readEnd, &byte, 1) == 1) {
    }
    m_raised = false;
}
