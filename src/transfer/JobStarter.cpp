#include "transfer/JobStarter.h"

#include "i18n/ExtraTexts.h"
#include "transfer/JobFiles.h"
#include "transfer/TFileGenius.h"

namespace kyvane {

JobStart startJobFile(const QString& jobName, const std::shared_ptr<ObserverChannel>& observer,
                      const EngineSettings& settings, QString* error)
{
    const auto job = JobFiles::readJob(jobName, error);
    if (!job)
        return JobStart::Unreadable;
    if (job->entries.isEmpty() && job->refused.isEmpty())
        return JobStart::NoLines;
    if (job->entries.isEmpty()) {
        // Without an entry there is no row to log to: told like a damaged file.
        if (error)
            *error = extraText(ExtraText::PathNotAbsolute);
        return JobStart::Unreadable;
    }
    if (!TFileGenius::Create(job->entries, jobName, observer, settings, job->refused))
        return JobStart::AlreadyRunning;
    return JobStart::Started;
}

JobStartReport startPendingJobs(const std::shared_ptr<ObserverChannel>& observer,
                                const EngineSettings& settings)
{
    JobStartReport report;
    for (const QString& name : JobFiles::pendingJobNames()) {
        QString error;
        switch (startJobFile(name, observer, settings, &error)) {
        case JobStart::Started:
            report.started.append(name);
            break;
        case JobStart::AlreadyRunning:
            report.alreadyRunning.append(name);
            break;
        case JobStart::Unreadable:
            report.unreadable.append(name + QStringLiteral(": ") + error);
            break;
        case JobStart::NoLines:
            break;
        }
    }
    return report;
}

} // namespace kyvane
