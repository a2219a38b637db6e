#pragma once

#include "core/EngineSettings.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace kyvane {

class ObserverChannel;

// What came of starting the job files of the program folder.
struct JobStartReport
{
    QStringList started;        // job names a worker was started for
    QStringList alreadyRunning; // left alone: a worker runs on them
    QStringList unreadable;     // "name: reason" of job files that cannot be read
};

enum class JobStart { Started, NoLines, Unreadable, AlreadyRunning };

// Starts a worker on the job file of jobName unless the file holds no line,
// cannot be read (the reason goes to *error) or a worker runs on it already.
// Lines that name no full path are no entries of the job: the worker logs
// them as failed, and a file of nothing else counts as unreadable.
JobStart startJobFile(const QString& jobName, const std::shared_ptr<ObserverChannel>& observer,
                      const EngineSettings& settings, QString* error = nullptr);

// Starts a worker for every "*.kyv" directly in the program folder, in
// listing order. A job file without lines is left alone, an unreadable one is
// passed over (and told in the report), and a job a worker runs on already
// is never started twice.
JobStartReport startPendingJobs(const std::shared_ptr<ObserverChannel>& observer,
                                const EngineSettings& settings = EngineSettings{});

} // namespace kyvane
