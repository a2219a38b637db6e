#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>

#include <atomic>
#include <functional>
#include <thread>

// A peer whose every move a test writes itself: it listens on 127.0.0.1,
// accepts one connection and runs the script on it, on a thread of its own
// with blocking calls. For behaviours the reference server never shows
// (silence, overlong lines, odd replies). Every wait is bounded.
//
// What a script records is the script thread's until join() has returned:
// read before that, it may still be the initial value, and a check of it
// then passes whatever the client did.
class FakeServer
{
public:
    using Script = std::function<void(QTcpSocket&)>;

    explicit FakeServer(Script script) : m_script(std::move(script))
    {
        m_thread = std::thread([this] { serve(); });
        m_ready.acquire();
    }

    ~FakeServer() { join(); }

    // Waits until the script has run to its end.
    void join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    quint16 port() const { return m_port; }

    // Blocking helpers for scripts.
    static QByteArray readLine(QTcpSocket& socket, int timeoutMs = 10000)
    {
        while (!socket.canReadLine()) {
            if (!socket.waitForReadyRead(timeoutMs))
                return QByteArray();
        }
        return socket.readLine();
    }

    static QByteArray readBytes(QTcpSocket& socket, qint64 count, int timeoutMs = 10000)
    {
        QByteArray bytes;
        while (bytes.size() < count) {
            if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeoutMs))
                break;
            bytes += socket.read(count - bytes.size());
        }
        return bytes;
    }

    static void send(QTcpSocket& socket, const QByteArray& bytes)
    {
        socket.write(bytes);
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(10000)) {
        }
    }

    // Waits until the client closes its side.
    static void awaitClose(QTcpSocket& socket, int timeoutMs = 30000)
    {
        if (socket.state() != QAbstractSocket::UnconnectedState)
            socket.waitForDisconnected(timeoutMs);
    }

private:
    void serve()
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        m_ready.release();
        if (!server.waitForNewConnection(30000))
            return;
        QTcpSocket* socket = server.nextPendingConnection();
        m_script(*socket);
        socket->abort();
        delete socket;
    }

    Script m_script;
    std::thread m_thread;
    QSemaphore m_ready;
    // Written by the server's thread before it lets the constructor go on;
    // atomic, so that ThreadSanitizer sees that order too (it cannot see
    // QSemaphore's).
    std::atomic<quint16> m_port = 0;
};
