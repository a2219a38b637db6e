#pragma once

#include "BackupServerThread.h"
#include "ServerOptions.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

// An in-process server on 127.0.0.1 and a free port, storing into a
// temporary root folder, with the account "bob" (password "secret").
class ServerFixture
{
public:
    ServerFixture()
    {
        options.listenAddress = QHostAddress(QHostAddress::LocalHost);
        options.port = 0;
        options.root = m_dir.filePath(QStringLiteral("root"));
        options.accounts.insert(QStringLiteral("bob"), QStringLiteral("secret"));
        options.transcriptPath = m_dir.filePath(QStringLiteral("transcript.txt"));
        options.syncFiles = false; // nothing to gain from syncing temporary files
    }

    // Starts the server with options as they are now.
    bool start()
    {
        m_server = std::make_unique<kyvane::server::BackupServerThread>(options);
        QString error;
        const bool started = m_server->start(&error);
        if (!started)
            qWarning() << "server did not start:" << error;
        return started;
    }
    void stop() { m_server.reset(); }

    quint16 port() const { return m_server->serverPort(); }
    QString root() const { return options.root; }
    QString file(const QString& relative) const
    {
        return options.root + QLatin1Char('/') + relative;
    }

    QByteArray read(const QString& relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    qint64 size(const QString& relative) const { return QFileInfo(file(relative)).size(); }

    // Every file under the root, hidden ones included, as relative paths.
    QStringList allFiles() const
    {
        QStringList files;
        QDirIterator it(options.root, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(options.root).relativeFilePath(it.next());
        files.sort();
        return files;
    }

    // True when the root holds exactly one partial file, of size bytes.
    bool holdsOnePartialOf(qint64 size) const
    {
        const QStringList partials =
            allFiles().filter(QRegularExpression(QStringLiteral("/\\.[^/]*\\.partial$")));
        return partials.size() == 1 && this->size(partials.first()) == size;
    }

    // Every file anywhere in the fixture's folder, the root's parent included.
    QStringList allFilesOfFixture() const
    {
        QStringList files;
        QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(m_dir.path()).relativeFilePath(it.next());
        files.sort();
        return files;
    }

    QStringList transcript() const
    {
        QFile f(options.transcriptPath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    kyvane::server::ServerOptions options;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<kyvane::server::BackupServerThread> m_server;
};

// Sets the modification (and access) time of the file at path.
inline bool setFileTime(const QString& path, const QDateTime& utc)
{
    const timespec times[2] = {{time_t(utc.toSecsSinceEpoch()), 0},
                               {time_t(utc.toSecsSinceEpoch()), 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// Some bytes that differ from position to position.
inline QByteArray patternBytes(qint64 size, char seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed + i / 251) & 0xFF);
    return bytes;
}
