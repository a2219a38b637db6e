#include "transfer/LineConnection.h"

#include "core/StopToken.h"
#include "transfer/StopWait.h"
#include "transfer/TcpConnect.h"
#include "transfer/TransferError.h"
#include "transfer/WireFormat.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

#include <unistd.h>

namespace kyvane {

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

template <typename Call> void LineConnection::withSender(Call call)
{
    if (!isOpen())
        fail(QStringLiteral("Not connected."));
    try {
        call(*m_sender);
    } catch (const TransferError&) {
        close();
        throw;
    }
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
    try {
        m_sender.emplace(fd, m_readTimeoutMs, m_stop);
    } catch (const TransferError&) {
        close();
        throw;
    }
}

bool LineConnection::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void LineConnection::close()
{
    m_sender.reset();
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
    withSender([&](TcpSender& sender) { sender.send(data, size); });
}

void LineConnection::push()
{
    withSender([](TcpSender& sender) { sender.push(); });
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
    // A reply never waits for bytes of ours still held. A connection the
    // peer has closed may still hold its last lines to read.
    if (isOpen())
        push();
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
        if (!m_socket->waitForReadyRead(nextWaitMs(deadline, m_stop))) {
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
