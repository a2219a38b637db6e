// The cost of a folder scan against `find` on the same warm folder.
//
// Makes one folder of --files files (--today of them modified today, the
// rest two days ago, every one with a media extension so that every file's
// time is read), then alternates the today scan of the job builder with
//   find <folder> -maxdepth 1 -type f -newermt <today 00:00>
// and prints the median of each and their ratio.
#include "core/AppLists.h"
#include "selection/JobBuilder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

using namespace kyvane;

namespace {

int option(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool makeFolder(const QString& folder, int files, int today)
{
    const std::time_t now = std::time(nullptr);
    // Today's files are spread evenly over the listing.
    const int step = std::max(files / std::max(today, 1), 1);
    const timespec old[2] = {{now - 48 * 3600, 0}, {now - 48 * 3600, 0}};
    const timespec fresh[2] = {{now, 0}, {now, 0}};
    for (int i = 0; i < files; ++i) {
        const QByteArray path = QFile::encodeName(
            folder + QStringLiteral("/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0')));
        const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        close(fd);
        const bool isToday = i % step == 0 && i / step < today;
        if (utimensat(AT_FDCWD, path.constData(), isToday ? fresh : old, 0) != 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int files = option(args, QStringLiteral("--files"), 100000);
    const int today = option(args, QStringLiteral("--today"), 20000);
    const int runs = option(args, QStringLiteral("--runs"), 7);

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/media");
    if (!dir.isValid() || !QDir().mkpath(folder) || !makeFolder(folder, files, today)) {
        std::fprintf(stderr, "cannot make the folder\n");
        return 1;
    }

    const AppLists lists{
        {QStringLiteral("127.0.0.1|25714|me|digest")}, {folder}, AppLists::defaultExtensions()};
    const JobBuilder builder;
    const QString midnight = QDateTime(QDate::currentDate(), QTime(0, 0))
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QStringList findArguments{folder,
                                    QStringLiteral("-maxdepth"),
                                    QStringLiteral("1"),
                                    QStringLiteral("-type"),
                                    QStringLiteral("f"),
                                    QStringLiteral("-newermt"),
                                    midnight};

    // Warm the folder's entries and inodes for both.
    builder.scan(ScanRequest{}, lists);

    std::vector<double> scanMs;
    std::vector<double> findMs;
    qsizetype scanned = 0;
    qsizetype found = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        scanned = builder.scan(ScanRequest{}, lists).entries.size();
        scanMs.push_back(timer.nsecsElapsed() / 1e6);

        QProcess find;
        timer.start();
        find.start(QStringLiteral("find"), findArguments);
        find.waitForFinished(-1);
        found = find.readAllStandardOutput().count('\n');
        findMs.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::printf("folder of %d files, %d modified today, %d runs (median)\n", files, today, runs);
    std::printf("  today scan : %8.1f ms  (%lld files)\n", median(scanMs),
                static_cast<long long>(scanned));
    std::printf("  find       : %8.1f ms  (%lld files)\n", median(findMs),
                static_cast<long long>(found));
    std::printf("  scan / find: %8.2f\n", median(scanMs) / median(findMs));
    return scanned == found ? 0 : 1;
}
