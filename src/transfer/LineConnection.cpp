#include "transfer/LineConnection.h"

#include "transfer/TransferError.h"
#include "transfer/WireFormat.h"

#include <QTcpSocket>

namespace kyvane {

LineConnection::LineConnection(int connectTimeoutMs, int readTimeoutMs)
    : m_connectTimeoutMs(connectTimeoutMs), m_readTimeoutMs(readTimeoutMs)
{
}

LineConnection::~LineConnection() { close(); }

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

void LineConnection::sendBytes(const char* data, qint64 size)
{
    if (!isOpen())
        fail(QStringLiteral("Not connected."));
    if (m_socket->write(data, size) != size)
        fail(m_socket->errorString());
    while (m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(m_readTimeoutMs)) {
            const QString message = m_socket->error() == QAbstractSocket::SocketTimeoutError
                                        ? QStringLiteral("Write timed out.")
                                        : m_socket->errorString();
            fail(message);
        }
    }
}

QString LineConnection::readLine() { return readLineImpl(OnTimeout::ReturnEmpty); }

QString LineConnection::readLineInTime() { return readLineImpl(OnTimeout::Throw); }

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
