#include "transfer/LineConnection.h"

#include "core/StopToken.h"
#include "transfer/TcpConnect.h"
#include "transfer/TransferError.h"
#include "transfer/WireFormat.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

#include <poll.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kyvane {

// sendfile() cannot refuse the SIGPIPE of a peer that closed the connection;
// the program ignores that signal once at start-up (BrokenPipe.h), so such a
// write fails with EPIPE and fails only its entry.
LineConnection::LineConnection(int connectTimeoutMs, int readTimeoutMs, const StopToken* stop)
    : m_connectTimeoutMs(connectTimeoutMs), m_readTimeoutMs(readTimeoutMs), m_stop(stop)
{
}

LineConnection::~LineConnection()
{
    close();
}

void LineConnection::fail(const QString& message)
{
    close();
    throw TransferError(message);
}

void LineConnection::throwIfStopped()
{
    if (m_stop && m_stop->isStopped()) {
        close();
        throw TransferStopped();
    }
}

int LineConnection::nextWaitMs(const QDeadlineTimer& deadline) const
{
    const qint64 left = std::max<qint64>(0, deadline.remainingTime());
    return int(m_stop ? std::min<qint64>(left, kStopCheckMs) : left);
}

void LineConnection::open(const QString& host, quint16 port)
{
    close();
    // Connected here rather than by the socket itself, whose wait for the
    // connection cannot be cut short by a stop.
    const int fd = connectTcp(host, port, m_connectTimeoutMs, m_stop);
    m_socket = std::make_unique<QTcpSocket>();
    if (!m_socket->setSocketDescriptor(fd)) {
        ::close(fd);
        fail(m_socket->errorString());
    }
}

bool LineConnection::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void LineConnection::close()
{
    if (!m_socket)
        return;
    m_socket->abort();
    m_socket.reset();
}

void LineConnection::sendLine(const QString& text)
{
    const QByteArray bytes = wire::encodeLine(text);
    sendBytes(bytes.constData(), bytes.size());
}

// Straight to the socket rather than through QTcpSocket::write(), which
// copies every byte into a buffer of its own first: at loopback speeds that
// copy costs about as much as the send. Every byte goes this way, so Qt's
// write buffer stays empty and nothing can overtake.
void LineConnection::sendBytes(const char* data, qint64 size)
{
    if (!isOpen())
        fail(QStringLiteral("Not connected."));
    const int fd = static_cast<int>(m_socket->socketDescriptor());
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent > 0) {
            data += sent;
            size -= sent;
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitUntilWritable(fd);
            continue;
        }
        fail(QString::fromLocal8Bit(std::strerror(sent < 0 ? errno : EPIPE)));
    }
}

qint64 LineConnection::sendFromFile(int fileHandle, qint64 offset, qint64 size)
{
    if (!isOpen())
        fail(QStringLiteral("Not connected."));
    const int fd = static_cast<int>(m_socket->socketDescriptor());
    off_t position = offset;
    qint64 done = 0;
    while (done < size) {
        const ssize_t sent =
            ::sendfile(fd, fileHandle, &position, static_cast<size_t>(size - done));
        if (sent > 0) {
            done += sent;
            continue;
        }
        if (sent == 0)
            break; // the end of the file
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            waitUntilWritable(fd);
            continue;
        }
        if (done == 0 && (errno == EINVAL || errno == ENOSYS))
            return -1;
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    return done;
}

void LineConnection::waitUntilWritable(int fd)
{
    const QDeadlineTimer deadline(m_readTimeoutMs);
    pollfd entry{fd, POLLOUT, 0};
    for (;;) {
        throwIfStopped();
        if (deadline.hasExpired())
            fail(QStringLiteral("Write timed out."));
        const int ready = ::poll(&entry, 1, nextWaitMs(deadline));
        if (ready > 0)
            return; // writable, or an error the next send reports
        if (ready < 0 && errno != EINTR)
            fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
}

QString LineConnection::readLine()
{
    return readLineImpl(OnTimeout::ReturnEmpty, QDeadlineTimer(m_readTimeoutMs));
}

QString LineConnection::readLineInTime()
{
    return readLineImpl(OnTimeout::Throw, QDeadlineTimer(m_readTimeoutMs));
}

QString LineConnection::readNonBlankLine()
{
    const QDeadlineTimer deadline(m_readTimeoutMs);
    for (;;) {
        const QString line = readLineImpl(OnTimeout::Throw, deadline);
        if (!wire::trimControls(line).isEmpty())
            return line;
    }
}

QString LineConnection::readLineImpl(OnTimeout onTimeout, const QDeadlineTimer& deadline)
{
    if (!m_socket)
        fail(QStringLiteral("Not connected."));
    for (;;) {
        if (m_socket->canReadLine()) {
            QByteArray bytes = m_socket->readLine(wire::kMaxLineBytes + 3);
            if (!bytes.endsWith('\n'))
                fail(QStringLiteral("Line too long."));
            bytes.chop(1);
            if (bytes.endsWith('\r'))
                bytes.chop(1);
            if (bytes.size() > wire::kMaxLineBytes)
                fail(QStringLiteral("Line too long."));
            return wire::decodeLine(bytes);
        }
        if (m_socket->bytesAvailable() > wire::kMaxLineBytes + 1)
            fail(QStringLiteral("Line too long."));
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            fail(QStringLiteral("Connection closed gracefully."));
        throwIfStopped();
        if (deadline.hasExpired()) {
            if (onTimeout == OnTimeout::ReturnEmpty)
                return QString();
            fail(QStringLiteral("Read timed out."));
        }
        if (!m_socket->waitForReadyRead(nextWaitMs(deadline))) {
            // A step of the wait ran out: the loop looks at the stop and
            // the deadline again.
            if (m_socket->error() == QAbstractSocket::SocketTimeoutError)
                continue;
            if (m_socket->canReadLine())
                continue; // the peer sent a last line and closed
            fail(m_socket->error() == QAbstractSocket::RemoteHostClosedError
                     ? QStringLiteral("Connection closed gracefully.")
                     : m_socket->errorString());
        }
    }
}

} // namespace kyvane
