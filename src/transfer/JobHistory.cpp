#include "transfer/JobHistory.h"

#include "core/JobRecords.h"
#include "core/Logging.h"
#include "core/ProgramFolder.h"
#include "transfer/JobFiles.h"

#include <QDir>
#include <QFile>

namespace kyvane::JobHistory {

QString folderPath()
{
    return ProgramFolder::file(QStringLiteral("history/"));
}

QString logPath(const QString& logFile)
{
    return folderPath() + logFile;
}

QString archiveLog(const QString& jobName, const QDateTime& finished)
{
    const QString log = JobFiles::jobLogPath(jobName);
    if (!QFile::exists(log) || !QDir().mkpath(folderPath()))
        return QString();
    const QString stem = finished.toString(QStringLiteral("yyyyMMdd-hhmmss-")) + jobName;
    QString name = stem + QStringLiteral(".kyvlog");
    for (int n = 2; QFile::exists(logPath(name)); ++n)
        name = stem + QStringLiteral("-%1.kyvlog").arg(n);
    if (!QFile::rename(log, logPath(name))) {
        qCWarning(lcTransfer) << "cannot move the log of job" << jobName << "to history";
        return QString();
    }
    return name;
}

void prune(JobRecords& records, qint64 nowMs)
{
    for (const QString& logFile : records.pruneHistory(nowMs)) {
        // Only a plain file name of the history folder is ever removed.
        if (logFile.isEmpty() || logFile.contains(QLatin1Char('/')))
            continue;
        QFile::remove(logPath(logFile));
    }
}

} // namespace kyvane::JobHistory
