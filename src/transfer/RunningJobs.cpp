#include "transfer/RunningJobs.h"

#include <QMutex>
#include <QSet>
#include <QWaitCondition>

namespace kyvane::RunningJobs {

namespace {
QMutex g_mutex;
QWaitCondition g_changed;
QSet<QString> g_names;
} // namespace

bool claim(const QString& jobName)
{
    QMutexLocker locker(&g_mutex);
    if (g_names.contains(jobName))
        return false;
    g_names.insert(jobName);
    return true;
}

void release(const QString& jobName)
{
    QMutexLocker locker(&g_mutex);
    g_names.remove(jobName);
    g_changed.wakeAll();
}

bool isRunning(const QString& jobName)
{
    QMutexLocker locker(&g_mutex);
    return g_names.contains(jobName);
}

QStringList names()
{
    QMutexLocker locker(&g_mutex);
    return g_names.values();
}

bool waitForNone(QDeadlineTimer deadline)
{
    QMutexLocker locker(&g_mutex);
    while (!g_names.isEmpty()) {
        if (!g_changed.wait(&g_mutex, deadline))
            break;
    }
    return g_names.isEmpty();
}

} // namespace kyvane::RunningJobs
