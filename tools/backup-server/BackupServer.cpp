#include "BackupServer.h"

#include "SafeName.h"
#include "ServerLogging.h"
#include "ServerSession.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <climits>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace kyvane::server {

namespace {

// Each connection needs its socket and the partial file it writes; a few
// descriptors stay free for the listening socket, the transcript, Qt's own
// and for taking and closing a connection over the cap.
constexpr int kDescriptorsPerConnection = 2;
constexpr int kReservedDescriptors = 16;

// How many connections the process's limit of open files leaves room for.
// Keeping below it means accepting never fails for want of a descriptor.
int connectionsWithinDescriptorLimit()
{
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < rlim_t(INT_MAX)) {
        const int open = int(limit.rlim_cur);
        return std::max(1, (open - kReservedDescriptors) / kDescriptorsPerConnection);
    }
#endif
    return INT_MAX;
}

} // namespace

BackupServer::BackupServer(ServerOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)),
      m_storage(m_options.root, m_options.takeoverAfterMs), m_flusher(m_options.maxConnections),
      m_tcpServer(new QTcpServer(this))
{
    connect(m_tcpServer, &QTcpServer::newConnection, this, &BackupServer::acceptConnections);
    connect(m_tcpServer, &QTcpServer::acceptError, this, &BackupServer::onAcceptError);
    m_acceptRetry.setSingleShot(true);
    connect(&m_acceptRetry, &QTimer::timeout, m_tcpServer, &QTcpServer::resumeAccepting);
}

BackupServer::~BackupServer()
{
    m_tcpServer->close();
    // Flushes under way use the partial files of sessions.
    m_flusher.waitForDone();
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
    m_maxSessions = std::min(m_options.maxConnections, connectionsWithinDescriptorLimit());
    if (m_maxSessions < m_options.maxConnections)
        qCWarning(lcServer).noquote()
            << "the limit of open files leaves room for" << m_maxSessions << "connections, not"
            << m_options.maxConnections << "(raise it with ulimit -n)";
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
        if (m_openSessions >= m_maxSessions) {
            refuseConnection(socket);
            continue;
        }
        ++m_openSessions;
        auto* session = new ServerSession(socket, ++m_connectionCount, m_options, m_storage,
                                          m_transcript, m_flusher, this);
        connect(session, &ServerSession::fileStored, this, &BackupServer::fileStored);
        connect(session, &ServerSession::finished, this, [this, session] {
            --m_openSessions;
            session->deleteLater();
        });
        session->start();
    }
}

void BackupServer::refuseConnection(QTcpSocket* socket)
{
    qCWarning(lcServer).noquote() << "refused a connection from" << socket->peerAddress().toString()
                                  << ": already" << m_openSessions << "connections";
    socket->write("421 too many connections\r\n");
    socket->flush();
    socket->abort();
    socket->deleteLater();
}

// After some errors of accept(), Qt stops accepting and never starts again by
// itself. Trying again a little later lets the server recover once the cause
// has gone, without spinning meanwhile.
void BackupServer::onAcceptError(QAbstractSocket::SocketError error)
{
    if (!m_acceptRetry.isActive())
        qCWarning(lcServer).noquote() << "cannot accept a connection:" << error
                                      << m_tcpServer->errorString() << "- trying again";
    m_tcpServer->pauseAccepting();
    m_acceptRetry.start(kAcceptRetryMs);
}

} // namespace kyvane::server
