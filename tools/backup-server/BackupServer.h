#pragma once

#include "BackupStorage.h"
#include "ServerOptions.h"
#include "Transcript.h"

#include <QHostAddress>
#include <QObject>

class QTcpServer;

namespace kyvane::server {

// The backup server: accepts connections and runs one ServerSession for each,
// all on the thread the server lives on. Received files go to the root folder
// of the options. To run it beside blocking code, see BackupServerThread.
class BackupServer final : public QObject
{
    Q_OBJECT

public:
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

    ServerOptions m_options;
    BackupStorage m_storage;
    Transcript m_transcript;
    QTcpServer* m_tcpServer;
    quint64 m_connectionCount = 0;
    QString m_error;
};

} // namespace kyvane::server
