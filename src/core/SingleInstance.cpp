#include "core/SingleInstance.h"

#include "core/Logging.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace kyvane {

namespace {

const QByteArray kShowYourself = "show\n";

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder), m_lock(folder + QStringLiteral("kyvane.lock"))
{
    // Held for the whole run; a lock left by a copy that died is taken over,
    // as the process it names is gone.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketName(const QString& folder)
{
    const QByteArray digest =
        QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(24);
    const QString name =
        QStringLiteral("kyvane-%1-%2").arg(QString::number(getuid()), QString::fromLatin1(digest));
    // The user's own runtime folder where there is one, so no other user can
    // take the name first; a bare name lies in the temporary folder.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString inRuntime = runtime + QLatin1Char('/') + name;
    // A socket's path has room for about a hundred bytes.
    if (!runtime.isEmpty() && inRuntime.toUtf8().size() < 100)
        return inRuntime;
    return name;
}

bool SingleInstance::claim(int waitMs)
{
    if (!m_lock.tryLock(0)) {
        askTheFirstCopy(waitMs);
        return false;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = socketName(m_folder);
    // We hold the lock, so a socket of that name is a dead copy's.
    QLocalServer::removeServer(name);
    if (!m_server->listen(name))
        return true; // still the one copy; only a later copy cannot reach it
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kShowYourself.trimmed())) {
                    qCInfo(lcCore) << "a second copy asked this one to show itself";
                    emit activationRequested();
                }
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

bool SingleInstance::askTheFirstCopy(int waitMs) const
{
    // The first copy may still be starting: it listens right after it has
    // taken the lock.
    const QDeadlineTimer deadline(waitMs);
    do {
        QLocalSocket socket;
        socket.connectToServer(socketName(m_folder));
        if (socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime())))) {
            socket.write(kShowYourself);
            return socket.waitForBytesWritten(int(std::max<qint64>(1, deadline.remainingTime())));
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

} // namespace kyvane
