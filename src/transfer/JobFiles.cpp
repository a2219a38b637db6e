#include "transfer/JobFiles.h"

#include "core/AtomicWrite.h"
#include "core/ListFile.h"
#include "core/Logging.h"
#include "core/ProgramFolder.h"
#include "transfer/JobEntry.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace kyvane::JobFiles {

namespace {

const QString kJobSuffix = QStringLiteral(".kyv");
const QString kLogSuffix = QStringLiteral(".kyvlog");

// Files directly in the program folder matching pattern, in listing order.
// Letter case counts: the program names its files ".kyv" and ".kyvlog", and
// on a file system that tells case apart "X.KYV" would be a file the program
// could neither read by its job name nor remove when the job finishes.
QStringList programFolderFiles(const QString& pattern)
{
    QDir folder(ProgramFolder::path());
    return folder.entryList(
        {pattern}, QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive, QDir::Unsorted);
}

} // namespace

QString jobFilePath(const QString& jobName)
{
    return ProgramFolder::file(jobName + kJobSuffix);
}

QString jobLogPath(const QString& jobName)
{
    return ProgramFolder::file(jobName + kLogSuffix);
}

QStringList pendingJobNames()
{
    QStringList names;
    for (const QString& file : programFolderFiles(QStringLiteral("*") + kJobSuffix))
        names.append(file.left(file.size() - kJobSuffix.size()));
    return names;
}

QString writeJob(const QString& jobName, const QStringList& entries)
{
    // Every entry carries its server's password digest.
    return ListFile::write(jobFilePath(jobName), entries, ListFile::kOwnerOnly);
}

std::optional<JobLines> readJob(const QString& jobName, QString* error)
{
    const auto lines = ListFile::read(jobFilePath(jobName), error);
    if (!lines)
        return std::nullopt;
    JobLines job;
    for (const QString& line : *lines) {
        if (JobEntry::split(line).hasFullPath())
            job.entries.append(line);
        else
            job.refused.append(line);
    }
    return job;
}

void removeStaleJobLogs()
{
    for (const QString& file : programFolderFiles(QStringLiteral("*") + kLogSuffix)) {
        // name.kyvlog belongs to name.kyv: the log's name without "log".
        const QString jobFile = ProgramFolder::file(file.left(file.size() - 3));
        if (QFile::exists(jobFile))
            continue;
        if (!QFile::remove(ProgramFolder::file(file)))
            qCWarning(lcTransfer) << "stale job log cannot be removed:" << file;
    }
}

QString jobLogLine(const QDateTime& localTime, const QString& line)
{
    const QLocale locale = QLocale::system();
    QString stamp = locale.toString(localTime.date(), QLocale::ShortFormat);
    if (localTime.time() != QTime(0, 0))
        stamp += QLatin1Char(' ') + locale.toString(localTime.time(), QLocale::LongFormat);
    return stamp + QStringLiteral("  ") + line + QStringLiteral("\r\n");
}

QString writeJobLog(const QString& jobName, const QString& logText)
{
    return writeFileAtomically(jobLogPath(jobName), (logText + QStringLiteral("\r\n")).toUtf8());
}

} // namespace kyvane::JobFiles
