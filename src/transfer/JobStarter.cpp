#include "transfer/JobStarter.h"

#include "core/ListFile.h"
#include "transfer/JobFiles.h"
#include "transfer/TFileGenius.h"

namespace kyvane {

JobStart startJobFile(const QString& jobName, const std::shared_ptr<ObserverChannel>& observer,
                      const EngineSettings& settings, QString* error)
{
    const auto entries = ListFile::read(JobFiles::jobFilePath(jobName), error);
    if (!entries)
        return JobStart::Unreadable;
    if (entries->isEmpty())
        return JobStart::NoLines;
    if (!TFileGenius::Create(*entries, jobName, observer, settings))
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
