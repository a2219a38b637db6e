#pragma once

#include "transfer/Digest.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QString>
#include <QTcpSocket>

// A tiny client that speaks the upload protocol step by step with blocking
// calls, every wait bounded. The server under test runs on another thread or
// in another process.
class ScriptedClient
{
public:
    static constexpr int kWaitMs = 10000;

    bool connectTo(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        return m_socket.waitForConnected(kWaitMs);
    }

    // The next line without its line end; a null string when none came within
    // the wait or the connection closed first.
    QString readLine(int timeoutMs = kWaitMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_socket.canReadLine()) {
            if (m_socket.state() != QAbstractSocket::ConnectedState || deadline.hasExpired())
                return {};
            m_socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
        QByteArray line = m_socket.readLine();
        line.chop(line.endsWith("\r\n") ? 2 : 1);
        return QString::fromLatin1(line);
    }

    void sendRaw(const QByteArray& bytes)
    {
        m_socket.write(bytes);
        QDeadlineTimer deadline(kWaitMs);
        while (m_socket.bytesToWrite() > 0 && m_socket.state() == QAbstractSocket::ConnectedState &&
               !deadline.hasExpired())
            m_socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
    }

    void sendLine(const QString& line) { sendRaw(line.toLatin1() + "\r\n"); }

    // True when the server closed the connection within the wait. Lines that
    // are still unread are dropped.
    bool waitForClosed(int timeoutMs = kWaitMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (m_socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
            m_socket.readAll();
            m_socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
        return m_socket.state() != QAbstractSocket::ConnectedState;
    }

    // Closes from the client's side after everything sent has gone out.
    void close()
    {
        m_socket.disconnectFromHost();
        if (m_socket.state() != QAbstractSocket::UnconnectedState)
            m_socket.waitForDisconnected(kWaitMs);
    }

    // Sends copies of line, up to total bytes, and never reads a reply: the
    // socket takes in no more than a few KiB, so the server's replies pile up
    // on its side. Stops early when the server has taken nothing for stallMs
    // or has closed. Returns how many bytes the server's side took.
    qint64 flood(const QByteArray& line, qint64 total, int stallMs)
    {
        m_socket.setReadBufferSize(4096);
        const QByteArray block = line.repeated(qMax<qsizetype>(1, (256 << 10) / line.size()));
        qint64 queued = 0;
        qint64 taken = 0;
        QDeadlineTimer stalled(stallMs);
        while (isConnected() && taken < total && !stalled.hasExpired()) {
            if (queued < total && m_socket.bytesToWrite() < block.size()) {
                const qint64 part = qMin<qint64>(block.size(), total - queued);
                queued += m_socket.write(block.constData(), part);
            } else {
                m_socket.waitForBytesWritten(50);
            }
            const qint64 now = queued - m_socket.bytesToWrite();
            if (now != taken)
                stalled.setRemainingTime(stallMs);
            taken = now;
        }
        return taken;
    }

    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    void abort() { m_socket.abort(); }

    // Reads the greeting and keeps its nonce; returns the greeting.
    QString readGreeting()
    {
        m_greeting = readLine();
        const qsizetype first = m_greeting.indexOf(QLatin1Char(','));
        const qsizetype second = m_greeting.indexOf(QLatin1Char(','), first + 1);
        m_nonce = first < 0
                      ? QString()
                      : m_greeting.mid(first + 1, second < 0 ? -1 : second - first - 1).trimmed();
        return m_greeting;
    }
    QString nonce() const { return m_nonce; }

    QString heloLine() const
    {
        return QStringLiteral("helo ") + kyvane::FloatEnc(m_nonce).trimmed();
    }
    QString authLine(const QString& account, const QString& password) const
    {
        return QStringLiteral("auth %1 %2")
            .arg(account,
                 kyvane::LockboxMD5(kyvane::passwordDigest(password) + QLatin1Char('=') + m_nonce));
    }

    // Greeting, helo and auth; returns the reply to the auth line.
    QString login(const QString& account, const QString& password)
    {
        readGreeting();
        sendLine(heloLine());
        if (!readLine().startsWith(QLatin1String("001")))
            return {};
        sendLine(authLine(account, password));
        return readLine();
    }

    // Connects and logs in as the fixture's account "bob"; true when the
    // server welcomed it.
    bool connectAndLogIn(quint16 port)
    {
        return connectTo(port) && login(QStringLiteral("bob"), QStringLiteral("secret")) ==
                                      QLatin1String("100 welcome");
    }

    // The put line of a file with the given size and name.
    static QString putLine(qint64 size, const QString& name,
                           const QString& modified = QStringLiteral("2024/05/17;08:03:09"))
    {
        return QStringLiteral("put %1 %2 none %3 none")
            .arg(size)
            .arg(QString::fromLatin1(name.toUtf8().toBase64()), modified);
    }

    // Offers a file of size bytes as name and, unless the server holds it,
    // sends START and bytes without waiting for the acknowledgement. Returns
    // the reply to the put line.
    QString startUpload(qint64 size, const QString& name, const QByteArray& bytes)
    {
        sendLine(putLine(size, name));
        const QString reply = readLine();
        if (!reply.isNull() && !reply.startsWith(QLatin1String("201")))
            sendRaw("START\r\n" + bytes);
        return reply;
    }

    // Offers content as name and sends what the server asks for; returns the
    // reply to the put line, and the acknowledgement in *ack when data went.
    QString upload(const QString& name, const QByteArray& content, QString* ack = nullptr,
                   const QString& modified = QStringLiteral("2024/05/17;08:03:09"))
    {
        sendLine(putLine(content.size(), name, modified));
        const QString reply = readLine();
        if (reply.isNull() || reply.startsWith(QLatin1String("201")))
            return reply;
        const qint64 offset = reply.section(QLatin1Char(' '), 1).toLongLong();
        sendRaw("START\r\n" + content.mid(offset));
        const QString acknowledgement = readLine();
        if (ack)
            *ack = acknowledgement;
        return reply;
    }

private:
    QTcpSocket m_socket;
    QString m_greeting;
    QString m_nonce;
};
