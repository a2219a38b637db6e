#include "transfer/TFileGenius.h"

#include "core/SharedState.h"
#include "transfer/JobFiles.h"
#include "transfer/LineConnection.h"
#include "transfer/ObserverChannel.h"
#include "transfer/RunningJobs.h"

namespace kyvane {

TFileGenius* TFileGenius::Create(const QStringList& infileswithserverinfo, const QString& name,
                                 std::shared_ptr<ObserverChannel> observer,
                                 const EngineSettings& settings)
{
    if (!RunningJobs::claim(name))
        return nullptr;
    auto* worker = new TFileGenius(infileswithserverinfo, name, std::move(observer), settings);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    return worker;
}

TFileGenius::TFileGenius(const QStringList& infileswithserverinfo, const QString& name,
                         std::shared_ptr<ObserverChannel> observer,
                         const EngineSettings& settings)
    : files(infileswithserverinfo), tname(name), m_observer(std::move(observer)),
      m_settings(settings)
{
    stopRequested = false;
}

TFileGenius::~TFileGenius() = default;

void TFileGenius::run()
{
    // The connection belongs to this thread.
    IdTCPClient1 = std::make_unique<LineConnection>(m_settings.connectTimeoutMs,
                                                    m_settings.readTimeoutMs);
    AddToDoList();
    sendfile2();
    Destroy();
    // Last of all, so that a new worker on this job never overlaps this one,
    // not even in writing the job log.
    RunningJobs::release(tname);
}

void TFileGenius::Destroy()
{
    const QString error = JobFiles::writeJobLog(tname, loglist);
    Q_UNUSED(error); // a log that cannot be written is lost; the job is not affected
    IdTCPClient1.reset();
}

void TFileGenius::AddToDoList()
{
    m_observer->run([this](JobObserver& observer) {
        observer.AddToDoList(tname, files, currentfile);
    });
}

void TFileGenius::SetProgressbar()
{
    m_observer->run([this](JobObserver& observer) {
        observer.SetToDoListProgressbar(tname, progressbarvalue, currentindex,
                                        static_cast<int>(files.size()), currentfile, serveronlog);
    });
}

void TFileGenius::SetfailProgressbar() { SetProgressbar(); }

void TFileGenius::SetLog()
{
    const QString line = log;
    m_observer->run([&line](JobObserver& observer) { observer.ShowStatusLine(line); });
    // Gathered here rather than on the window's thread, so the job log stays
    // complete even when the window has gone.
    if (!line.isEmpty())
        loglist += JobFiles::jobLogLine(QDateTime::currentDateTime(), line);
    log.clear();
}

} // namespace kyvane
