#pragma once

#include "FakeServer.h"
#include "TempProgramFolder.h"
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

// A file of size zero bytes (sparse when large) in the folder "media" of the
// program folder; returns its full path.
inline QString mediaFile(const TempProgramFolder& folder, const QString& name, qint64 size)
{
    const QString path = folder.file(QStringLiteral("media/") + name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        qFatal("cannot write fixture");
    return path;
}

// The whole content of a file, or "<missing>".
inline QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
