#include "BackupServerThread.h"

#include "BackupServer.h"

namespace kyvane::server {

BackupServerThread::BackupServerThread(ServerOptions options) : m_options(std::move(options))
{
    m_thread.setObjectName(QStringLiteral("kyvane-server"));
}

BackupServerThread::~BackupServerThread()
{
    stop();
}

bool BackupServerThread::start(QString* error)
{
    if (m_thread.isRunning())
        return m_server != nullptr;
    m_thread.start();
    // Created on the server's thread, so its sockets and timers belong there.
    bool listening = false;
    QString failure;
    auto* anchor = new QObject;
    anchor->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        anchor,
        [&, anchor] {
            anchor->deleteLater();
            auto* server = new BackupServer(m_options);
            listening = server->listen();
            if (listening) {
                m_server = server;
                m_port = server->serverPort();
            } else {
                failure = server->errorString();
                delete server;
            }
        },
        Qt::BlockingQueuedConnection);
    if (!listening) {
        stop();
        if (error)
            *error = failure;
    }
    return listening;
}

void BackupServerThread::stop()
{
    if (!m_thread.isRunning())
        return;
    if (m_server) {
        BackupServer* server = m_server;
        QMetaObject::invokeMethod(
            server, [server] { delete server; }, Qt::BlockingQueuedConnection);
        m_server = nullptr;
    }
    m_thread.quit();
    m_thread.wait();
}

} // namespace kyvane::server
