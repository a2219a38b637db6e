#pragma once

#include <QtGlobal>

// The kernel's own structure: the C library's lacks the newer counters.
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

// The kernel's counters of one TCP socket: what it holds back, what it has
// sent and received, segment by segment.
inline tcp_info tcpInfoOf(int fd)
{
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
        qFatal("TCP_INFO: %s", std::strerror(errno));
    return info;
}
