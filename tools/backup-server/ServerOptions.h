#pragma once

#include <QHash>
#include <QHostAddress>
#include <QString>

#include <optional>

namespace kyvane::server {

class DiskCalls;

// Everything the server can be told, on its command line or by a test that
// runs it in-process. The fault switches make the server misbehave on purpose
// so that clients can be tested against a faulty peer.
struct ServerOptions
{
    static constexpr quint16 kDefaultPort = 25714;
    static constexpr int kDefaultMaxConnections = 100;
    static constexpr int kDefaultLoginTimeoutMs = 30000;
    static constexpr int kDefaultIdleTimeoutMs = 60000;
    static constexpr int kDefaultTakeoverAfterMs = 10000;
    static constexpr qint64 kDefaultPartialMaxAgeMs = qint64(7) * 24 * 3600 * 1000;
    static constexpr qint64 kDefaultSweepIntervalMs = qint64(24) * 3600 * 1000;

    QHostAddress listenAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 port = kDefaultPort; // 0: any free port
    QString root = QStringLiteral("kyvane-backups");
    QHash<QString, QString> accounts; // account name -> password
    QString transcriptPath;           // empty: no transcript
    bool syncFiles = true;            // sync each file to disk before acknowledging it

    // Limits that keep hostile, stalled and slow clients from taking the server down.
    int maxConnections = kDefaultMaxConnections; // more are closed at once
    int loginTimeoutMs = kDefaultLoginTimeoutMs; // from connecting to a successful login
    int idleTimeoutMs = kDefaultIdleTimeoutMs;   // without a byte either way once logged in
    // A new upload of a file takes over its partial file from a connection
    // that has written nothing to it for this long.
    int takeoverAfterMs = kDefaultTakeoverAfterMs;
    // Shared partial files nobody has written to for this long are removed
    // by the sweep, which runs at the start and then after every interval.
    qint64 partialMaxAgeMs = kDefaultPartialMaxAgeMs;
    qint64 sweepIntervalMs = kDefaultSweepIntervalMs;

    // The calls that write and store files; null for the real ones. Tests
    // record or fail them; the object must outlive the server.
    DiskCalls* diskCalls = nullptr;

    // Fault switches.
    bool refuseHelo = false;
    bool refuseAuth = false;
    qint64 closeAfterBytes = -1; // below 0: off
    bool noAck = false;
    bool closeInsteadOfAck = false;
    std::optional<QString> greeting; // replaces the normal greeting line
    int chunkDelayMs = 0;            // pause after every 819200 bytes received
    std::optional<QString> putReply; // fixed answer to every put line
    int flushDelayMs = 0;            // each finished file takes this much longer to flush
};

} // namespace kyvane::server
