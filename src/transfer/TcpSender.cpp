#include "transfer/TcpSender.h"

#include "transfer/StopWait.h"
#include "transfer/TransferError.h"

#include <QDeadlineTimer>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace kyvane {

namespace {

[[noreturn]] void failWith(int error)
{
    throw TransferError(QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

TcpSender::TcpSender(int fd, int timeoutMs, const StopToken* stop)
    : m_fd(fd), m_timeoutMs(timeoutMs), m_stop(stop)
{
    setOption(TCP_NODELAY, true);
    setOption(TCP_CORK, true);
}

void TcpSender::setOption(int option, bool on)
{
    const int value = on ? 1 : 0;
    if (::setsockopt(m_fd, IPPROTO_TCP, option, &value, sizeof value) != 0)
        failWith(errno);
}

void TcpSender::send(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t sent = ::send(m_fd, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent > 0) {
            m_holding = true;
            data += sent;
            size -= sent;
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A wait of its own for every time the socket is full: a peer
            // that reads at all keeps the transfer going.
            const int waited = waitForSocket(m_fd, POLLOUT, QDeadlineTimer(m_timeoutMs), m_stop);
            if (waited == ETIMEDOUT)
                throw TransferError(QStringLiteral("Write timed out."));
            if (waited != 0)
                failWith(waited);
            continue; // writable, or an error the next send reports
        }
        failWith(sent < 0 ? errno : EPIPE);
    }
}

void TcpSender::push()
{
    if (!m_holding)
        return;
    // Taking the cork out sends all it held, the partial last segment too.
    setOption(TCP_CORK, false);
    setOption(TCP_CORK, true);
    m_holding = false;
}

} // namespace kyvane
