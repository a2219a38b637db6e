#pragma once

#include <QtGlobal>

namespace kyvane {

class StopToken;

// Every byte a worker sends to a server leaves through here, command lines
// and file data alike. The socket is corked: bytes wait until they fill a
// segment or push() sends them. So "START" and a file's data leave as one
// message, whose only partial segment is its last, sent at once by the push.
//
// Nagle's algorithm is off. With it on, a partial segment waits while an
// earlier partial one is unacknowledged, even once the cork is out, and a
// server that has nothing to answer yet delays that acknowledgement by up
// to 40 ms: the tail of every small file waited that long. The cork does
// what Nagle's algorithm is for, gathering small writes into full segments,
// and the dialogue says when a message is complete.
class TcpSender
{
public:
    // fd: a connected, non-blocking TCP socket, not owned. Every wait for
    // room in the socket is bounded by timeoutMs and looks at the stop.
    // Throws TransferError when the socket cannot be set so.
    TcpSender(int fd, int timeoutMs, const StopToken* stop);

    // Hands size bytes to the system, which may hold the last of them.
    // Throws TransferError, or TransferStopped once stopped.
    void send(const char* data, qint64 size);

    // Sends every byte held now; nothing happens when none are.
    void push();

private:
    void setOption(int option, bool on);

    int m_fd;
    int m_timeoutMs;
    const StopToken* m_stop;
    bool m_holding = false; // bytes were handed over since the last push
};

} // namespace kyvane
