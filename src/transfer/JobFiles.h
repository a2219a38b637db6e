#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace kyvane {

// Job files (name.kyv: the entries) and job logs (name.kyvlog) in the
// program folder.
namespace JobFiles {

QString jobFilePath(const QString& jobName);
QString jobLogPath(const QString& jobName);

// Job names of the "*.kyv" files directly in the program folder, in the
// order the folder listing gives them.
QStringList pendingJobNames();

// Writes a job file atomically. Empty string on success, else the error.
QString writeJob(const QString& jobName, const QStringList& entries);

// A job file as read back: the lines that are entries of the job, and the
// lines refused because they name no full path (never resolved against the
// working folder).
struct JobLines
{
    QStringList entries;
    QStringList refused;
};

// Reads the job file of jobName. Nothing when it is missing, cannot be read
// or is not valid UTF-8; the reason goes to *error when given.
std::optional<JobLines> readJob(const QString& jobName, QString* error = nullptr);

// Deletes every "*.kyvlog" directly in the program folder whose job file is
// gone. A log that cannot be deleted is left; nothing stops.
void removeStaleJobLogs();

// One line of a job log: the local date in the short regional form, a blank
// and the long regional time (both left out at exactly midnight), two
// blanks, the line, CR LF.
QString jobLogLine(const QDateTime& localTime, const QString& line);

// Writes the log of a run: logText and one more CR LF, UTF-8 without BOM,
// atomically. Empty string on success, else the error.
QString writeJobLog(const QString& jobName, const QString& logText);

} // namespace JobFiles

} // namespace kyvane
