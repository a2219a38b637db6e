#pragma once

#include <QHash>
#include <QHostAddress>
#include <QString>

#include <optional>

namespace kyvane::server {

// Everything the server can be told, on its command line or by a test that
// runs it in-process. The fault switches make the server misbehave on purpose
// so that clients can be tested against a faulty peer.
struct ServerOptions
{
    static constexpr quint16 kDefaultPort = 25714;

    QHostAddress listenAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 port = kDefaultPort; // 0: any free port
    QString root = QStringLiteral("kyvane-backups");
    QHash<QString, QString> accounts; // account name -> password
    QString transcriptPath;           // empty: no transcript
    bool syncFiles = true;            // sync each file to disk before acknowledging it

    // Fault switches.
    bool refuseHelo = false;
    bool refuseAuth = false;
    qint64 closeAfterBytes = -1; // below 0: off
    bool noAck = false;
    bool closeInsteadOfAck = false;
    std::optional<QString> greeting; // replaces the normal greeting line
    int chunkDelayMs = 0;            // pause after every 819200 bytes received
    std::optional<QString> putReply; // fixed answer to every put line
};

} // namespace kyvane::server
