#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

namespace kyvane {

// The names of the jobs a worker is running on right now. Never two workers
// on one job: a worker claims its job name before it starts and releases it
// as the very last thing it does.
namespace RunningJobs {

// True when the name was free and is now claimed.
bool claim(const QString& jobName);
void release(const QString& jobName);
bool isRunning(const QString& jobName);
QStringList names();

// Waits until no job is running, at most until the deadline. True when none
// is left.
bool waitForNone(QDeadlineTimer deadline);

} // namespace RunningJobs

} // namespace kyvane
