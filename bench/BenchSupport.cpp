#include "BenchSupport.h"

#include "PlainSender.h"

#include "core/EngineSettings.h"
#include "core/ProgramFolder.h"
#include "transfer/Digest.h"
#include "transfer/TFileGenius.h"
#include "ui/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>

#include <algorithm>
#include <thread>

namespace bench {

const QString kAccount = QStringLiteral("anna");
const QString kPassword = QStringLiteral("secret");
const QString kScratch = QStringLiteral("/dev/shm");

void makeDataFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
    QByteArray block(8 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>((i * 2654435761u) >> 24);
    for (qint64 written = 0; written < size;) {
        const qint64 part = std::min<qint64>(block.size(), size - written);
        file.write(block.constData(), part);
        written += part;
    }
}

QString freshLink(const QString& data, int run)
{
    const QString link = data + QStringLiteral(".run%1.jpg").arg(run);
    QFile::remove(link);
    if (!QFile::link(data, link) && !QFile::copy(data, link))
        qFatal("cannot link %s", qPrintable(link));
    return link;
}

void forgetStored(const ServerProcess& server, const QString& path)
{
    QFile::remove(server.root() + "/" + kAccount + "/" + QFileInfo(path).fileName());
    QFile::remove(path);
}

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

Stopwatch::Stopwatch() : m_cpuStart(processCpuSeconds())
{
    m_timer.start();
}

Timing Stopwatch::elapsed() const
{
    return {m_timer.nsecsElapsed() / 1e9, processCpuSeconds() - m_cpuStart};
}

Setup::Setup()
    : dir(kScratch + QStringLiteral("/kyvane-bench-XXXXXX")),
      programFolder(QDir::tempPath() + QStringLiteral("/kyvane-bench-program-XXXXXX"))
{
    kyvane::ProgramFolder::setForTesting(programFolder.path());
    form = std::make_unique<kyvane::TForm1>();
    form->show();
}

Setup::~Setup() = default;

Timing clientRun(kyvane::TForm1& form, const ServerProcess& server, const QStringList& paths,
                 bool recordOutcomes)
{
    QStringList entries;
    for (const QString& path : paths)
        entries << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(server.address(), QString::number(server.port()), kAccount,
                            kyvane::passwordDigest(kPassword), path);
    const QString job = QStringLiteral("090000");
    kyvane::EngineSettings settings;
    settings.recordOutcomes = recordOutcomes;
    const Stopwatch stopwatch;
    kyvane::TFileGenius* worker =
        kyvane::TFileGenius::Create(entries, job, form.observerChannel(), settings);
    if (!worker)
        qFatal("worker did not start");
    // The window's thread serves the worker's hand-overs until it ends.
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const Timing timing = stopwatch.elapsed();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return timing;
}

Timing plainRun(const ServerProcess& server, const QStringList& paths, bool noDelay)
{
    const Stopwatch stopwatch;
    QString error;
    // The main thread serves its event loop meanwhile, as it does for the
    // worker: it reads the receiver's output, which would otherwise fill the
    // pipe and hold the receiver up.
    QEventLoop loop;
    std::thread sender([&] {
        error = plainSend(server.address(), server.port(), kAccount, kPassword, paths, noDelay);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    sender.join();
    if (!error.isEmpty())
        qFatal("plain sender: %s", qPrintable(error));
    return stopwatch.elapsed();
}

void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QStringList receiverArguments(const char* usage)
{
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty())
        qFatal("usage: %s", usage);
    return args;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

} // namespace bench
