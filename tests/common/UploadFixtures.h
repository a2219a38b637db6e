#pragma once

#include "FakeServer.h"
#include "transfer/Digest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

// Small pieces shared by the tests that run a worker against a peer.

// A job entry for address:port with the password "secret", the one
// ServerProcess gives its accounts.
inline QString jobEntryFor(const QString& address, quint16 port, const QString& path,
                           const QString& account = QStringLiteral("anna"))
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(address, QString::number(port), account,
             kyvane::passwordDigest(QStringLiteral("secret")), path);
}

// The server's side of a login that succeeds, for scripted peers.
inline void acceptLogIn(QTcpSocket& socket)
{
    FakeServer::send(socket, "220 fake,77\r\n");
    FakeServer::readLine(socket);
    FakeServer::send(socket, "001 ok\r\n");
    FakeServer::readLine(socket);
    FakeServer::send(socket, "100 ok\r\n");
}

// Writes size bytes to path, making its folder; a large file is sparse.
inline bool writeMediaFile(const QString& path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}
