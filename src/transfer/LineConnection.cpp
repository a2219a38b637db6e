#include "transfer/LineConnection.h"

#include "transfer/TransferError.h"
#include "transfer/WireFormat.h"

#include <QTcpSocket>

#include <poll.h>
#include <sys/sendfile.h>
#include <sys/socket.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace kyvane {

LineConnection::LineConnection(int connectTimeoutMs, int readTimeoutMs)
    : m_connectTimeoutMs(connectTimeoutMs), m_readTimeoutMs(readTimeoutMs)
{
    // sendfile() has no way to refuse the signal that a peer which closed
    // the connection raises, and that signal ends the whole program: ignore
    // it, so that the write fails with EPIPE and fails only its entry.
    std::signal(SIGPIPE, SIG_IGN);
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

void LineConnection::open(const QString& host, quint16 port)
{
    close();
    m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
    if (!m_socket->waitForConnected(m_connectTimeoutMs)) {
        const QString message = m_socket->error() == QAbstractSocket::SocketTimeoutError
                                    ? QStringLiteral("Connect timed out.")
                                    : m_socket->errorString();
        fail(message);
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
    pollfd entry{fd, POLLOUT, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, m_readTimeoutMs);
        if (ready > 0)
            return; // writable, or an error the next send reports
        if (ready == 0)
            fail(QStringLiteral("Write timed out."));
        if (errno != EINTR)
            fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
}

QString LineConnection::readLine()
{
    return readLineImpl(OnTimeout::ReturnEmpty);
}

QString LineConnection::readLineInTime()
{
    return readLineImpl(OnTimeout::Throw);
}

QString LineConnection::readNonBlankLine()
{
    for (;;) {
        const QString line = readLineInTime();
        if (!wire::trimControls(line).isEmpty())
            return line;
    }
}

QString LineConnection::readLineImpl(OnTimeout onTimeout)
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
        if (!m_socket->waitForReadyRead(m_readTimeoutMs)) {
            if (m_socket->error() == QAbstractSocket::SocketTimeoutError) {
                if (onTimeout == OnTimeout::ReturnEmpty)
                    return QString();
                fail(QStringLiteral("Read timed out."));
            }
            if (m_socket->canReadLine())
                continue; // the peer sent a last line and closed
            fail(m_socket->error() == QAbstractSocket::RemoteHostClosedError
                     ? QStringLiteral("Connection closed gracefully.")
                     : m_socket->errorString());
        }
    }
}

} // namespace kyvane
