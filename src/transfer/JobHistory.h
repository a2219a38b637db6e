#pragma once

#include <QDateTime>
#include <QString>

namespace kyvane {

class JobRecords;

// The logs of finished jobs, kept in history/ in the program folder, and the
// limits of the history.
namespace JobHistory {

QString folderPath();
QString logPath(const QString& logFile);

// Moves the log of jobName (name.kyvlog) into history/ under a name of its
// own, made from the finish time and the job name. That name; empty when
// the log could not be moved (it then stays beside the job files).
QString archiveLog(const QString& jobName, const QDateTime& finished);

// Drops the finished jobs past the history's limits, with their logs.
void prune(JobRecords& records, qint64 nowMs);

} // namespace JobHistory

} // namespace kyvane
