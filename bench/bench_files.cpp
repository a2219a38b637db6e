// Files per second of the real worker, reporting into the real window,
// against a plain sender of the same dialogue with no-delay set, one
// connection each, to the same receiver in alternating runs: jobs of 4 KiB,
// 100 KiB and 3 MiB files, and the 4 KiB job again once the receiver holds
// every file (only kyvane-server answers "201"; other receivers take the
// files again).
//
//   bench_files RECEIVER_EXE [--runs N] [--files-scale F] [--only BYTES]
//
// RECEIVER_EXE is started with --no-sync, as in bench_upload. F scales the
// number of files of every job (1 by default: 2,000, 1,000 and 200);
// --only runs the jobs of one file size, for a profiler.
#include "BenchSupport.h"

#include "i18n/LanguageRes.h"
#include "ui/MainWindow.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

using namespace kyvane;
using namespace bench;

namespace {

struct Job
{
    qint64 fileSize;
    int files;
    bool held; // the receiver holds every file already
};

QStringList freshLinks(const QString& data, int count, int firstName)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << freshLink(data, firstName + i);
    return paths;
}

void forgetAll(const ServerProcess& server, const QStringList& paths)
{
    for (const QString& path : paths)
        forgetStored(server, path);
}

QString sizeText(qint64 bytes)
{
    return bytes >= (1 << 20) ? QStringLiteral("%1 MiB").arg(bytes >> 20)
                              : QStringLiteral("%1 KiB").arg(bytes >> 10);
}

// One job's alternating runs; prints a row per run and the medians, and
// returns the median of worker time / plain time.
double measure(Setup& setup, const ServerProcess& server, const Job& job, int runs)
{
    const QString data = setup.dir.path() + QStringLiteral("/files-%1.bin").arg(job.fileSize);
    makeDataFile(data, job.fileSize);
    std::printf("\n%d files of %s%s\n"
                "  run   worker files/s   plain files/s   worker/plain time   worker CPU s   "
                "plain CPU s\n",
                job.files, qPrintable(sizeText(job.fileSize)),
                job.held ? ", every one held by the receiver already" : "");
    std::vector<double> workerRates;
    std::vector<double> plainRates;
    std::vector<double> ratios;
    std::vector<double> workerCpu;
    std::vector<double> plainCpu;
    int name = 0;
    // One round first, not counted, to warm the page cache and the receiver.
    for (int run = -1; run < runs; ++run) {
        const QStringList forWorker = freshLinks(data, job.files, name);
        name += job.files;
        const QStringList forPlain = freshLinks(data, job.files, name);
        name += job.files;
        if (job.held) {
            plainRun(server, forWorker, true);
            plainRun(server, forPlain, true);
        }
        // Who goes first changes from run to run.
        Timing worker;
        Timing plain;
        if (run % 2 == 0) {
            worker = clientRun(*setup.form, server, forWorker);
            plain = plainRun(server, forPlain, true);
        } else {
            plain = plainRun(server, forPlain, true);
            worker = clientRun(*setup.form, server, forWorker);
        }
        forgetAll(server, forWorker);
        forgetAll(server, forPlain);
        if (run < 0)
            continue;
        workerRates.push_back(job.files / worker.seconds);
        plainRates.push_back(job.files / plain.seconds);
        ratios.push_back(worker.seconds / plain.seconds);
        workerCpu.push_back(worker.cpuSeconds);
        plainCpu.push_back(plain.cpuSeconds);
        std::printf("  %4d   %14.0f   %13.0f   %17.2f   %12.2f   %11.2f\n", run + 1,
                    workerRates.back(), plainRates.back(), ratios.back(), workerCpu.back(),
                    plainCpu.back());
        std::fflush(stdout);
    }
    std::printf("  median %14.0f   %13.0f   %17.2f   %12.2f   %11.2f\n", median(workerRates),
                median(plainRates), median(ratios), median(workerCpu), median(plainCpu));
    QFile::remove(data);
    return median(ratios);
}

} // namespace

int main(int argc, char* argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    QStringList args =
        receiverArguments("bench_files RECEIVER_EXE [--runs N] [--files-scale F] [--only BYTES]");
    const QString serverExe = args.takeFirst();
    int runs = 3;
    double scale = 1;
    qint64 only = 0;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--runs")
            runs = args[i + 1].toInt();
        if (args[i] == "--files-scale")
            scale = args[i + 1].toDouble();
        if (args[i] == "--only")
            only = args[i + 1].toLongLong();
    }
    const auto files = [scale](int count) { return std::max(1, int(count * scale)); };

    InitLanguageTable();
    Setup setup;
    ServerProcess server(serverExe, {QStringLiteral("--no-sync")}, QStringLiteral("127.0.0.1"),
                         kScratch);
    if (!server.isListening())
        qFatal("server did not start");
    std::printf("jobs to %s, %d alternating runs, load average %s at the start\n",
                qPrintable(QFileInfo(serverExe).fileName()), runs, qPrintable(loadAverage()));
    const Job jobs[] = {{4 << 10, files(2000), false},
                        {100 << 10, files(1000), false},
                        {3 << 20, files(200), false},
                        {4 << 10, files(2000), true}};
    double small = -1;
    for (const Job& job : jobs) {
        if (only != 0 && job.fileSize != only)
            continue;
        const double ratio = measure(setup, server, job, runs);
        if (job.fileSize == jobs[0].fileSize && !job.held)
            small = ratio;
    }
    if (small >= 0)
        std::printf("\n4 KiB files: the worker takes %.2f times the plain sender's time "
                    "(target: at most 2)\n",
                    small);
    std::printf("load average at the end: %s\n", qPrintable(loadAverage()));
    return 0;
}
