#include "BackupServer.h"

#include "SafeName.h"
#include "ServerLogging.h"
#include "ServerSession.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace kyvane::server {

BackupServer::BackupServer(ServerOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_storage(m_options.root),
      m_tcpServer(new QTcpServer(this))
{
    connect(m_tcpServer, &QTcpServer::newConnection, this, &BackupServer::acceptConnections);
}

BackupServer::~BackupServer()
{
    m_tcpServer->close();
    // Sessions hold partial files of the storage: end them while it exists.
    qDeleteAll(findChildren<ServerSession*>(Qt::FindDirectChildrenOnly));
}

bool BackupServer::listen()
{
    for (auto it = m_options.accounts.cbegin(); it != m_options.accounts.cend(); ++it) {
        QString why;
        if (!safename::isSafeAccountName(it.key(), &why)) {
            m_error = QStringLiteral("account \"%1\" cannot be used: %2").arg(it.key(), why);
            return false;
        }
    }
    if (!m_storage.prepare(&m_error) || !m_transcript.open(m_options.transcriptPath, &m_error))
        return false;
    if (!m_tcpServer->listen(m_options.listenAddress, m_options.port)) {
        m_error = QStringLiteral("cannot listen on %1:%2: %3")
                      .arg(m_options.listenAddress.toString())
                      .arg(m_options.port)
                      .arg(m_tcpServer->errorString());
        return false;
    }
    return true;
}

QHostAddress BackupServer::serverAddress() const
{
    return m_tcpServer->serverAddress();
}

quint16 BackupServer::serverPort() const
{
    return m_tcpServer->serverPort();
}

void BackupServer::acceptConnections()
{
    while (QTcpSocket* socket = m_tcpServer->nextPendingConnection()) {
        auto* session = new ServerSession(socket, ++m_connectionCount, m_options, m_storage,
                                          m_transcript, this);
        connect(session, &ServerSession::fileStored, this, &BackupServer::fileStored);
        connect(session, &ServerSession::finished, session, &QObject::deleteLater);
        session->start();
    }
}

} // namespace kyvane::server
