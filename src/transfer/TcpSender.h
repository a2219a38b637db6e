#pragma once

#include <QtGlobal>

namespace kyvane {

class StopToken;

// Every byte a worker sends to a server leaves through here, command lines
// and file data alike. The socket is corked: bytes wait until they fill a
// segment or push() sends them. So "START" and a file's data leave as one
// message, whose only partial segment is its last, pushed at its end.
//
// Nagle's algorithm stays on. Under it a partial segment waits while an
// earlier partial one is unacknowledged, and a server that has nothing to
// answer yet delays that acknowledgement by up to 40 ms: a lone "START"
// made the tail of every file wait that long. The dialogue answers every
// message before the next, so once messages leave whole nothing waits.
class TcpSender
{
public:
    // fd: a connected, non-blocking TCP socket, not owned. Every wait for
    // room in the socket is bounded by timeoutMs and looks at the stop.
    // Throws TransferError when the socket cannot be corked.
    TcpSender(int fd, int timeoutMs, const StopToken* stop);

    // Hands size bytes to the system, which may hold the last of them.
    // Throws TransferError, or TransferStopped once stopped.
    void send(const char* data, qint64 size);

    // Sends every byte held now; nothing happens when none are.
    void push();

private:
    void setCork(bool on);

    int m_fd;
    int m_timeoutMs;
    const StopToken* m_stop;
    bool m_holding = false; // bytes were handed over since the last push
};

} // namespace kyvane
