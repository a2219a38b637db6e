#include "transfer/JobStarter.h"

#include "core/ListFile.h"
#include "transfer/JobFiles.h"
#include "transfer/TFileGenius.h"

namespace kyvane {

JobStartReport startPendingJobs(const std::shared_ptr<ObserverChannel>& observer,
                                const EngineSettings& settings)
{
    JobStartReport report;
    for (const QString& name : JobFiles::pendingJobNames()) {
        QString error;
        const auto entries = ListFile::read(JobFiles::jobFilePath(name), &error);
        if (!entries) {
            report.unreadable.append(name + QStringLiteral(": ") + error);
            continue;
        }
        if (entries->isEmpty())
            continue;
        if (TFileGenius::Create(*entries, name, observer, settings))
            report.started.append(name);
        else
            report.alreadyRunning.append(name);
    }
    return report;
}

} // namespace kyvane
