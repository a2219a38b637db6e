#pragma once

#include "DiskCalls.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <functional>

#include <unistd.h>

// The server's disk calls, recorded in order with their files relative to
// the root ("setModified bob/.a.jpg.5-1715932989.partial", "syncFolder bob",
// "syncFolder ." for the root), passed on to the real calls unless a test
// made one fail. Writes are not recorded, only failed when asked.
class RecordingDiskCalls final : public kyvane::server::DiskCalls
{
public:
    explicit RecordingDiskCalls(const QString& root) : m_root(root) {}

    QStringList calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_calls.clear();
    }
    // From now on, call (a method name such as "setModified") fails with error;
    // 0 lets it through again.
    void setFailure(const QString& call, int error)
    {
        QMutexLocker lock(&m_mutex);
        m_failures.insert(call, error);
    }
    // Each folder sync takes this much longer, so that a reply sent before
    // it would arrive before it is recorded.
    void setFolderSyncDelayMs(int delayMs) { m_folderSyncDelayMs = delayMs; }
    // Each write takes this much longer: a slow disk.
    void setWriteDelayMs(int delayMs) { m_writeDelayMs = delayMs; }
    // Runs on the disk thread just before each move of a file to its name,
    // with that name: as if another process took the name meanwhile.
    void setBeforeRename(std::function<void(const QString& target)> hook)
    {
        m_beforeRename = std::move(hook);
    }
    int writesStarted() const { return m_writesStarted; }
    int writesFinished() const { return m_writesFinished; }

    int write(int fd, const char* data, qint64 size) override
    {
        ++m_writesStarted;
        if (m_writeDelayMs > 0)
            QThread::msleep(ulong(m_writeDelayMs));
        const int failure = failureOf(QStringLiteral("write"));
        const int result = failure != 0 ? failure : DiskCalls::write(fd, data, size);
        ++m_writesFinished;
        return result;
    }
    int setModified(int fd, time_t seconds) override
    {
        return pass(QStringLiteral("setModified"), pathOf(fd),
                    [&] { return DiskCalls::setModified(fd, seconds); });
    }
    int syncFile(int fd) override
    {
        return pass(QStringLiteral("syncFile"), pathOf(fd),
                    [&] { return DiskCalls::syncFile(fd); });
    }
    int syncFolder(const QString& path) override
    {
        if (m_folderSyncDelayMs > 0)
            QThread::msleep(ulong(m_folderSyncDelayMs));
        return pass(QStringLiteral("syncFolder"), relative(path),
                    [&] { return DiskCalls::syncFolder(path); });
    }
    int renameNoReplace(const QString& from, const QString& to) override
    {
        if (m_beforeRename)
            m_beforeRename(to);
        return pass(QStringLiteral("rename"), relative(from) + " " + relative(to),
                    [&] { return DiskCalls::renameNoReplace(from, to); });
    }
    int setAttribute(int fd, const char* name, const QByteArray& value) override
    {
        return pass(QStringLiteral("setAttribute"), pathOf(fd),
                    [&] { return DiskCalls::setAttribute(fd, name, value); });
    }

private:
    int failureOf(const QString& call) const
    {
        QMutexLocker lock(&m_mutex);
        return m_failures.value(call);
    }

    template <typename Call> int pass(const QString& call, const QString& what, Call&& real)
    {
        const int failure = failureOf(call);
        const int result = failure != 0 ? failure : real();
        QMutexLocker lock(&m_mutex);
        m_calls << call + " " + what;
        return result;
    }

    QString relative(const QString& path) const
    {
        return QDir::cleanPath(QDir(m_root).relativeFilePath(path));
    }
    QString pathOf(int fd) const
    {
        return relative(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd)));
    }

    const QString m_root;
    mutable QMutex m_mutex;
    QStringList m_calls;
    QHash<QString, int> m_failures;
    std::function<void(const QString&)> m_beforeRename;
    std::atomic_int m_folderSyncDelayMs = 0;
    std::atomic_int m_writeDelayMs = 0;
    std::atomic_int m_writesStarted = 0;
    std::atomic_int m_writesFinished = 0;
};
