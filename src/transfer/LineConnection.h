#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTcpSocket;

namespace kyvane {

// A blocking, line-based TCP connection for use on one worker thread (no
// event loop needed). Every failure throws TransferError.
class LineConnection
{
public:
    LineConnection(int connectTimeoutMs, int readTimeoutMs);
    ~LineConnection();

    LineConnection(const LineConnection&) = delete;
    LineConnection& operator=(const LineConnection&) = delete;

    // Connects over IPv4.
    void open(const QString& host, quint16 port);
    bool isOpen() const;
    // Closes without a farewell; never throws.
    void close();

    void sendLine(const QString& text);
    // Sends raw bytes and waits until the system has taken them, each wait
    // bounded by the read time-out.
    void sendBytes(const char* data, qint64 size);

    // Sends size bytes of the open file fileHandle from offset, without
    // reading them into this process. Returns the bytes sent, fewer than
    // size only when the file ended; -1, with nothing sent, when the system
    // cannot send from this file (the caller then reads and sends itself).
    qint64 sendFromFile(int fileHandle, qint64 offset, qint64 size);

    // The next line. A read time-out yields the empty line; a closed or
    // broken connection or a line over 16384 bytes throws.
    QString readLine();

    // The next line, blank or not. Here a time-out throws too.
    QString readLineInTime();

    // The next line that is not blank. Here a time-out throws too.
    QString readNonBlankLine();

private:
    enum class OnTimeout { ReturnEmpty, Throw };
    QString readLineImpl(OnTimeout onTimeout);
    [[noreturn]] void fail(const QString& message);
    // Waits until the socket takes more bytes, at most the read time-out.
    void waitUntilWritable(int fd);

    std::unique_ptr<QTcpSocket> m_socket;
    int m_connectTimeoutMs;
    int m_readTimeoutMs;
};

} // namespace kyvane
