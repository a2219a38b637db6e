#pragma once

#include "BackupStorage.h"
#include "DiskJobs.h"
#include "ServerOptions.h"
#include "Transcript.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace kyvane::server {

// The backup server: accepts connections and runs one ServerSession for each,
// all on the thread the server lives on; only the disk work runs elsewhere
// (DiskJobs). Received files go to the root folder of the options, which
// other server processes may share. Connections beyond the options' maximum,
// or beyond what the limit of open files leaves room for, are closed at once.
// Partial files nobody will finish are swept away at the start and then
// after every sweep interval.
// To run it beside blocking code, see BackupServerThread.
class BackupServer final : public QObject
{
    Q_OBJECT

public:
    // Wait before accepting again after accepting failed (Qt stops
    // accepting after some errors, such as a lack of memory).
    static constexpr int kAcceptRetryMs = 200;

    explicit BackupServer(ServerOptions options, QObject* parent = nullptr);
    ~BackupServer() override;

    // Prepares the root folder and the transcript and starts listening on the
    // address and port of the options. On failure, errorString() says why.
    bool listen();
    QString errorString() const { return m_error; }
    QHostAddress serverAddress() const;
    quint16 serverPort() const;

    const ServerOptions& options() const { return m_options; }

signals:
    void fileStored(const QString& account, const QString& path);

private:
    void acceptConnections();
    void refuseConnection(QTcpSocket* socket);
    void onAcceptError(QAbstractSocket::SocketError error);
    void sweep();

    ServerOptions m_options;
    BackupStorage m_storage;
    Transcript m_transcript;
    DiskJobs m_disk;
    QTcpServer* m_tcpServer;
    QTimer m_acceptRetry;
    QTimer m_sweepTimer;
    std::shared_ptr<std::atomic_bool> m_sweeping; // shared with the sweep under way
    quint64 m_connectionCount = 0;
    int m_openSessions = 0;
    int m_maxSessions = 0; // set by listen()
    QString m_error;
};

} // namespace kyvane::server
