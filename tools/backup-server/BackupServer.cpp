#include "BackupServer.h"

#include "DiskCalls.h"
#include "PartialSweep.h"
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

// How many connections the process's limit of open files leaves room for,
// after raising the limit towards what connections need, as far as the hard
// limit allows (systemd and most shells start programs with a soft limit of
// 1024 below a much higher hard one). Keeping below it means accepting never
// fails for want of a descriptor.
int connectionsWithinDescriptorLimit(int connections)
{
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return INT_MAX;
    const rlim_t needed =
        rlim_t(connections) * kDescriptorsPerConnection + rlim_t(kReservedDescriptors);
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        rlimit raised = limit;
        raised.rlim_cur =
            limit.rlim_max == RLIM_INFINITY ? needed : std::min(needed, limit.rlim_max);
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < rlim_t(INT_MAX)) {
        const int open = int(limit.rlim_cur);
        return std::max(1, (open - kReservedDescriptors) / kDescriptorsPerConnection);
    }
#else
    Q_UNUSED(connections)
#endif
    return INT_MAX;
}

DiskCalls& diskCallsOf(const ServerOptions& options)
{
    return options.diskCalls ? *options.diskCalls : DiskCalls::real();
}

} // namespace

BackupServer::BackupServer(ServerOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)),
      m_storage(m_options.root, diskCallsOf(m_options), m_options.syncFiles),
      m_disk(m_options.maxConnections), m_tcpServer(new QTcpServer(this)),
      m_sweeping(std::make_shared<std::atomic_bool>(false))
{
    connect(m_tcpServer, &QTcpServer::newConnection, this, &BackupServer::acceptConnections);
    connect(m_tcpServer, &QTcpServer::acceptError, this, &BackupServer::onAcceptError);
    m_acceptRetry.setSingleShot(true);
    connect(&m_acceptRetry, &QTimer::timeout, m_tcpServer, &QTcpServer::resumeAccepting);
    m_sweepTimer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_sweepTimer, &QTimer::timeout, this, &BackupServer::sweep);
}

BackupServer::~BackupServer()
{
    m_tcpServer->close();
    m_sweepTimer.stop();
    // Disk jobs under way use the partial files of sessions.
    m_disk.waitForDone();
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
    m_maxSessions = std::min(m_options.maxConnections,
                             connectionsWithinDescriptorLimit(m_options.maxConnections));
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
    sweep();
    m_sweepTimer.start(std::chrono::milliseconds(m_options.sweepIntervalMs));
    return true;
}

// On a disk thread: a store of many files takes a while to look through.
void BackupServer::sweep()
{
    if (m_sweeping->exchange(true))
        return; // the last one has not ended yet
    const QString root = m_storage.root();
    const QDateTime olderThan =
        QDateTime::currentDateTimeUtc().addMSecs(-m_options.partialMaxAgeMs);
    m_disk.run([root, olderThan, sweeping = m_sweeping] {
        for (const QString& removed : sweepPartials(root, olderThan))
            qCInfo(lcServer).noquote() << "sweep removed" << removed;
        *sweeping = false;
    });
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
                                          m_transcript, m_disk, this);
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
