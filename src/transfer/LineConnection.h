#pragma once

#include "transfer/TcpSender.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QDeadlineTimer;
class QTcpSocket;

namespace kyvane {

class StopToken;

// A blocking, line-based TCP connection for use on one worker thread (no
// event loop needed). Every failure throws TransferError. With a stop token,
// every wait for the server (connecting, reading, sending) looks at it at
// least every kStopCheckMs and throws TransferStopped once it is set.
class LineConnection
{
public:
    LineConnection(int connectTimeoutMs, int readTimeoutMs, const StopToken* stop = nullptr);
    ~LineConnection();

    LineConnection(const LineConnection&) = delete;
    LineConnection& operator=(const LineConnection&) = delete;

    // Connects over IPv4.
    void open(const QString& host, quint16 port);
    bool isOpen() const;
    // Closes without a farewell; never throws.
    void close();

    // What is sent waits in the connection until a segment is full, push()
    // or the next read: every wait for the server first sends all that was
    // written, so a line or a file's data leaves as one message (TcpSender).
    void sendLine(const QString& text);
    // Sends raw bytes and waits until the system has taken them, each wait
    // bounded by the read time-out.
    void sendBytes(const char* data, qint64 size);
    void push();

    // The read time-out is one deadline for a whole reply, however the
    // server spreads its bytes: a trickle cannot hold the worker longer.

    // The next line. A read time-out yields the empty line; a closed or
    // broken connection or a line over 16384 bytes throws.
    QString readLine();

    // The next line, blank or not. Here a time-out throws too.
    QString readLineInTime();

    // The next line that is not blank, the blank ones before it counted in
    // its deadline. Here a time-out throws too.
    QString readNonBlankLine();

private:
    enum class OnTimeout { ReturnEmpty, Throw };
    QString readLineImpl(OnTimeout onTimeout, const QDeadlineTimer& deadline);
    [[noreturn]] void fail(const QString& message);
    // Closes and throws TransferStopped when the stop is set.
    void throwIfStopped();
    // Runs a call of the sender; closes when it throws.
    template <typename Call> void withSender(Call call);

    std::unique_ptr<QTcpSocket> m_socket;
    std::optional<TcpSender> m_sender; // while connected
    int m_connectTimeoutMs;
    int m_readTimeoutMs;
    const StopToken* m_stop;
};

} // namespace kyvane
