#include "transfer/TFileGenius.h"

#include "core/OutcomeStore.h"
#include "core/StopToken.h"
#include "transfer/JobFiles.h"
#include "transfer/LineConnection.h"
#include "transfer/ObserverChannel.h"
#include "transfer/RunningJobs.h"

#include <QFileInfo>
#include <QMutex>
#include <QSet>

namespace kyvane {

namespace {
// Every worker object not yet deleted, so that the end of the program can
// wait for their threads.
QMutex g_liveMutex;
QSet<TFileGenius*> g_live;
} // namespace

TFileGenius* TFileGenius::Create(const QStringList& infileswithserverinfo, const QString& name,
                                 std::shared_ptr<ObserverChannel> observer,
                                 const EngineSettings& settings, const QStringList& refused)
{
    if (!RunningJobs::claim(name))
        return nullptr;
    auto* worker =
        new TFileGenius(infileswithserverinfo, name, std::move(observer), settings, refused);
    {
        QMutexLocker locker(&g_liveMutex);
        g_live.insert(worker);
    }
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    return worker;
}

TFileGenius::TFileGenius(const QStringList& infileswithserverinfo, const QString& name,
                         std::shared_ptr<ObserverChannel> observer, const EngineSettings& settings,
                         const QStringList& refused)
    : files(infileswithserverinfo), tname(name), m_observer(std::move(observer)),
      m_settings(settings),
      m_recorder(name, infileswithserverinfo,
                 settings.recordOutcomes ? OutcomeStore::shared() : nullptr),
      m_labels(infileswithserverinfo), m_stop(StopTokens::issue()), m_refused(refused)
{
}

TFileGenius::~TFileGenius()
{
    QMutexLocker locker(&g_liveMutex);
    g_live.remove(this);
}

bool TFileGenius::waitForAllThreads(QDeadlineTimer deadline)
{
    QList<TFileGenius*> workers;
    {
        QMutexLocker locker(&g_liveMutex);
        workers = g_live.values();
    }
    // Worker objects are deleted only on the thread that runs this (through
    // deleteLater), so none can go while it waits.
    bool allEnded = true;
    for (TFileGenius* worker : workers)
        allEnded = worker->wait(deadline) && allEnded;
    return allEnded;
}

void TFileGenius::run()
{
    // The connection belongs to this thread.
    IdTCPClient1 = std::make_unique<LineConnection>(m_settings.connectTimeoutMs,
                                                    m_settings.readTimeoutMs, m_stop.get());
    // A job written before the store knew it was made when its file was.
    const QDateTime written = QFileInfo(JobFiles::jobFilePath(tname)).lastModified();
    m_recorder.started(written.isValid() ? written.toMSecsSinceEpoch()
                                         : QDateTime::currentMSecsSinceEpoch());
    AddToDoList();
    sendfile2();
    Destroy();
    m_recorder.ended();
    // Only now, so that a new worker on this job never overlaps this one, not
    // even in writing the job log.
    RunningJobs::release(tname);
    m_observer->run([this, run = m_recorder.counts()](JobObserver& observer) {
        observer.JobEnded(tname, run);
    });
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
