#pragma once

#include "ServerOptions.h"

#include <QString>
#include <QThread>

namespace kyvane::server {

class BackupServer;

// Runs a BackupServer on a thread of its own, so that code which blocks, such
// as a test client waiting on its socket, can talk to it from the calling
// thread. The server is stopped when this object is destroyed.
class BackupServerThread
{
public:
    explicit BackupServerThread(ServerOptions options);
    ~BackupServerThread();

    BackupServerThread(const BackupServerThread&) = delete;
    BackupServerThread& operator=(const BackupServerThread&) = delete;

    // Starts the thread and waits until the server listens or has failed.
    bool start(QString* error = nullptr);
    // Ends every connection and the thread; waits for both.
    void stop();

    quint16 serverPort() const { return m_port; }

private:
    ServerOptions m_options;
    QThread m_thread;
    BackupServer* m_server = nullptr; // lives on m_thread
    quint16 m_port = 0;
};

} // namespace kyvane::server
