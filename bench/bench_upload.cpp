// Upload throughput of the real worker reporting into the real window,
// against a plain socket sender of the same bytes to the same receiver, in
// alternating runs; the same worker without the outcome store, to show what
// recording costs, for one large file and for a job of many small ones; and
// the worker's peak memory for two file sizes.
//
//   bench_upload RECEIVER_EXE [--runs N] [--size BYTES] [--files N] [--file-size BYTES]
//   bench_upload RECEIVER_EXE --memory FILE     (one upload; prints peak RSS)
//
// The program folder, which holds the outcome store, lies on the disk of the
// temporary folder, as a user's does; the files sent lie in memory.
//
// RECEIVER_EXE takes kyvane-server's --listen and --port options and prints
// "listening on ADDRESS:PORT": bench_discard (reads and drops the bytes, so
// the senders set the pace) or kyvane-server itself.
#include "BenchSupport.h"

#include "i18n/LanguageRes.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

using namespace kyvane;
using namespace bench;

namespace {

long peakRssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

const QStringList kServerOptions{QStringLiteral("--no-sync")};

// One upload of a file the parent made; prints the peak memory before and
// after it.
int memoryMode(const QString& serverExe, const QString& data)
{
    Setup setup;
    ServerProcess server(serverExe, kServerOptions, QStringLiteral("127.0.0.1"), kScratch);
    if (!server.isListening())
        qFatal("server did not start");
    const QString path = freshLink(data, 0);
    const long before = peakRssKiB();
    clientRun(*setup.form, server, {path});
    std::printf("%ld %ld\n", before, peakRssKiB());
    forgetStored(server, path);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    QStringList args =
        receiverArguments("bench_upload RECEIVER_EXE [--runs N] [--size BYTES] | --memory FILE");
    const QString serverExe = args.takeFirst();
    int runs = 7;
    qint64 size = qint64(1) << 30;
    int smallFiles = 300;
    qint64 smallSize = 256 << 10;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--memory")
            return memoryMode(serverExe, args[i + 1]);
        if (args[i] == "--runs")
            runs = args[i + 1].toInt();
        if (args[i] == "--size")
            size = args[i + 1].toLongLong();
        if (args[i] == "--files")
            smallFiles = args[i + 1].toInt();
        if (args[i] == "--file-size")
            smallSize = args[i + 1].toLongLong();
    }

    InitLanguageTable();
    Setup setup;
    ServerProcess server(serverExe, kServerOptions, QStringLiteral("127.0.0.1"), kScratch);
    if (!server.isListening())
        qFatal("server did not start");
    const QString data = setup.dir.path() + "/data.bin";
    makeDataFile(data, size);

    const double mib = size / double(1 << 20);
    std::printf("upload of %.0f MiB to %s, %d alternating runs, load average %s at the start\n"
                "program folder (outcome store) in %s\n",
                mib, qPrintable(QFileInfo(serverExe).fileName()), runs, qPrintable(loadAverage()),
                qPrintable(setup.programFolder.path()));
    std::printf("  run    plain MiB/s   worker MiB/s   no store MiB/s   worker/plain   "
                "no store/plain   store cost   plain CPU s   worker CPU s\n");
    std::vector<double> plainRates;
    std::vector<double> clientRates;
    std::vector<double> bareRates;
    std::vector<double> ratios;
    std::vector<double> bareRatios;
    std::vector<double> storeRatios;
    std::vector<double> plainCpu;
    std::vector<double> clientCpu;
    // One round first, not counted, to warm the page cache and the receiver.
    for (int run = -1; run < runs; ++run) {
        const QString a = freshLink(data, 3 * run + 100);
        const Timing p = plainRun(server, {a}, false);
        forgetStored(server, a);
        // With and without the store in turn first, so that neither gains
        // from its place in the round.
        Timing c;
        Timing n;
        for (const bool record : {run % 2 == 0, run % 2 != 0}) {
            const QString b = freshLink(data, 3 * run + (record ? 101 : 102));
            (record ? c : n) = clientRun(*setup.form, server, {b}, record);
            forgetStored(server, b);
        }
        if (run < 0)
            continue;
        plainRates.push_back(mib / p.seconds);
        clientRates.push_back(mib / c.seconds);
        bareRates.push_back(mib / n.seconds);
        ratios.push_back(p.seconds / c.seconds);
        bareRatios.push_back(p.seconds / n.seconds);
        storeRatios.push_back(c.seconds / n.seconds);
        plainCpu.push_back(p.cpuSeconds);
        clientCpu.push_back(c.cpuSeconds);
        std::printf("  %4d   %11.0f   %12.0f   %14.0f   %12.2f   %14.2f   %10.3f   %11.2f   "
                    "%12.2f\n",
                    run + 1, plainRates.back(), clientRates.back(), bareRates.back(), ratios.back(),
                    bareRatios.back(), storeRatios.back(), p.cpuSeconds, c.cpuSeconds);
        std::fflush(stdout);
    }
    std::printf("  median %11.0f   %12.0f   %14.0f   %12.2f   %14.2f   %10.3f   %11.2f   %12.2f\n"
                "  (target: worker/plain >= 0.90; store cost = time with the store / without)\n",
                median(plainRates), median(clientRates), median(bareRates), median(ratios),
                median(bareRatios), median(storeRatios), median(plainCpu), median(clientCpu));

    // Many small files: one outcome record per file, where the store could
    // show if anywhere.
    const QString smallData = setup.dir.path() + "/small.bin";
    makeDataFile(smallData, smallSize);
    std::printf("\njob of %d files of %lld KiB, with and without the outcome store, %d "
                "alternating runs\n  run    with store s   without s   store cost\n",
                smallFiles, smallSize >> 10, runs);
    std::vector<double> withStore;
    std::vector<double> withoutStore;
    std::vector<double> smallRatios;
    for (int run = -1; run < runs; ++run) {
        Timing timing[2];
        for (const bool record : {run % 2 == 0, run % 2 != 0}) {
            QStringList paths;
            for (int i = 0; i < smallFiles; ++i)
                paths << freshLink(smallData, 100000 + (run + 1) * 2 * smallFiles +
                                                  (record ? 0 : smallFiles) + i);
            timing[record ? 0 : 1] = clientRun(*setup.form, server, paths, record);
            for (const QString& path : std::as_const(paths))
                forgetStored(server, path);
        }
        if (run < 0)
            continue;
        withStore.push_back(timing[0].seconds);
        withoutStore.push_back(timing[1].seconds);
        smallRatios.push_back(timing[0].seconds / timing[1].seconds);
        std::printf("  %4d   %12.3f   %9.3f   %10.3f\n", run + 1, withStore.back(),
                    withoutStore.back(), smallRatios.back());
        std::fflush(stdout);
    }
    std::printf("  median %12.3f   %9.3f   %10.3f\n", median(withStore), median(withoutStore),
                median(smallRatios));
    std::printf("  load average at the end: %s\n", qPrintable(loadAverage()));

    // Peak memory of one upload each, in fresh processes.
    for (const qint64 bytes : {qint64(100) << 20, qint64(1) << 30}) {
        const QString file = setup.dir.path() + QStringLiteral("/memory-%1.bin").arg(bytes);
        makeDataFile(file, bytes);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {serverExe, "--memory", file});
        child.waitForFinished(-1);
        const QStringList fields = QString::fromUtf8(child.readAllStandardOutput()).split(' ');
        if (fields.size() == 2)
            std::printf("  peak RSS, %5lld MiB file: %6ld KiB, %ld KiB before the upload\n",
                        bytes >> 20, fields[1].trimmed().toLong(), fields[0].toLong());
        else
            std::printf("  peak RSS, %lld MiB file: failed: %s\n", bytes >> 20,
                        qPrintable(QString::fromUtf8(child.readAllStandardError())));
        QFile::remove(file);
    }
    return 0;
}
