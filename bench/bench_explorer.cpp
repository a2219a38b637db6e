// The file explorer's listing of a big folder, driven through the real
// window offscreen, against `find FOLDER -maxdepth 1 -printf '%T@ %p\n' |
// sort -rn` on the same warm folder in the same run. Also the longest gap
// between the ticks of a 10 ms timer on the user-interface thread while the
// listing runs, how long a click on the path field waits to be answered in
// mid-listing, and the peak memory of the listing.
//
//   bench_explorer [--files N] [--runs R]
#include "ProcessMemory.h"
#include "core/ProgramFolder.h"
#include "i18n/LanguageRes.h"
#include "ui/MainWindow.h"
#include "ui/screens/ExplorerScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kyvane;

namespace {

QString makeFolder(const QTemporaryDir& dir, int files)
{
    const QString folder = dir.filePath(QStringLiteral("big"));
    QDir().mkpath(folder);
    const std::time_t base = 1700000000;
    for (int i = 0; i < files; ++i) {
        const QByteArray path = QFile::encodeName(
            folder + QStringLiteral("/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0')));
        QFile file(QFile::decodeName(path));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", path.constData());
        file.close();
        // Times spread and shuffled so that the sort has work to do.
        const std::time_t when = base + std::time_t((i * 2654435761u) % 10000000u);
        const timeval times[2] = {{when, 0}, {when, 0}};
        utimes(path.constData(), times);
    }
    return folder;
}

// find | sort -rn, piped without a shell; the time until sort has written
// its last line.
double findSortMs(const QString& folder)
{
    QProcess find;
    QProcess sort;
    find.setStandardOutputProcess(&sort);
    sort.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    sort.start(QStringLiteral("sort"), {QStringLiteral("-rn")});
    find.start(QStringLiteral("find"), {folder, QStringLiteral("-maxdepth"), QStringLiteral("1"),
                                        QStringLiteral("-printf"), QStringLiteral("%T@ %p\\n")});
    if (!find.waitForFinished(-1) || !sort.waitForFinished(-1) || sort.exitCode() != 0)
        qFatal("find | sort failed");
    return clock.nsecsElapsed() / 1e6;
}

// Calls back once a mouse release has reached the watched widget.
class ReleaseWatch final : public QObject
{
public:
    explicit ReleaseWatch(std::function<void()> released) : m_released(std::move(released)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            m_released();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_released;
};

struct Listing
{
    double ms = 0;
    double longestGapMs = 0;
    double clickAnswerMs = -1;
    double firstRowMs = -1;
    int rows = 0;
    qint64 peakKb = 0;
    qint64 beforeKb = 0;
};

// Lists folder through the window, as the Manual command does, and waits
// on the event loop for the finish step.
Listing listThroughWindow(TForm1& form, const QString& folder)
{
    auto* explorer = form.findChild<ExplorerScreen*>();
    auto* list = form.findChild<QListView*>(QStringLiteral("ListView1"));
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    // Leave the explorer and empty its list, so only this listing counts.
    form.ChangeTab(TForm1::Home);
    explorer->TotalWork(QStringLiteral("/nonexistent"));
    while (explorer->isListing())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    Listing result;
    QElapsedTimer clock;
    QElapsedTimer tickClock;
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        result.longestGapMs = std::max(result.longestGapMs, tickClock.nsecsElapsed() / 1e6);
        tickClock.restart();
    });

    // A click on the path field in mid-listing, posted like the window
    // system's: answered when the field has handled its release.
    QElapsedTimer clickClock;
    bool clickPosted = false;
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (result.firstRowMs < 0)
            result.firstRowMs = clock.nsecsElapsed() / 1e6;
        if (clickPosted || list->model()->rowCount() < 20000)
            return;
        clickPosted = true;
        const QPointF at(10, 10);
        const QPointF global = edit->mapToGlobal(at);
        QCoreApplication::postEvent(edit, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                          Qt::LeftButton, Qt::LeftButton, {}));
        QCoreApplication::postEvent(edit, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                          Qt::LeftButton, Qt::NoButton, {}));
        clickClock.start();
    });
    ReleaseWatch watch([&] {
        if (clickClock.isValid() && result.clickAnswerMs < 0)
            result.clickAnswerMs = clickClock.nsecsElapsed() / 1e6;
    });
    edit->installEventFilter(&watch);

    result.beforeKb = processmemory::residentKb();
    processmemory::resetPeak();
    clock.start();
    tickClock.start();
    ticks.start();
    form.openFileExplorer(folder);
    while (explorer->isListing())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    result.ms = clock.nsecsElapsed() / 1e6;
    ticks.stop();
    result.peakKb = processmemory::peakKb();
    result.rows = list->model()->rowCount();
    edit->removeEventFilter(&watch);
    list->model()->disconnect();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int files = 100000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray flag = argv[i];
        if (flag == "--files")
            files = QByteArray(argv[i + 1]).toInt();
        else if (flag == "--runs")
            runs = QByteArray(argv[i + 1]).toInt();
    }

    QTemporaryDir program;
    QTemporaryDir data;
    ProgramFolder::setForTesting(program.path());
    std::printf("making %d files...\n", files);
    const QString folder = makeFolder(data, files);
    findSortMs(folder); // warms the folder's entries and inodes

    TForm1 form;
    form.show();
    QCoreApplication::processEvents();
    const int nameChars = QStringLiteral("IMG_000000.jpg").size();

    // One listing of a small folder first: the window's one-time work
    // (fonts, style, the first slide to the explorer) is not the listing's.
    if (qEnvironmentVariableIsEmpty("KYVANE_BENCH_COLD")) {
        const Listing warmUp = listThroughWindow(form, program.path());
        std::printf("warm-up listing of a small folder: %.0f ms\n", warmUp.ms);
    }

    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        const double reference = findSortMs(folder);
        const Listing listing = listThroughWindow(form, folder);
        const double ratio = listing.ms / reference;
        ratios.push_back(ratio);
        const double perRowBytes = double(listing.peakKb - listing.beforeKb) * 1024.0 / files;
        std::printf("run %d: find|sort %.0f ms, explorer %.0f ms (%d rows), ratio %.2f; longest "
                    "gap between 10 ms ticks %.1f ms; click answered after %.1f ms; peak memory "
                    "%lld KB above %lld KB = %.0f bytes per row, of which %d are the name's "
                    "text; first rows after %.0f ms\n",
                    run, reference, listing.ms, listing.rows, ratio, listing.longestGapMs,
                    listing.clickAnswerMs, listing.peakKb - listing.beforeKb, listing.beforeKb,
                    perRowBytes, nameChars * 2, listing.firstRowMs);
        if (listing.rows != files)
            std::printf("  (expected %d rows)\n", files);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("median ratio explorer / find|sort: %.2f (target at most 3)\n",
                ratios[ratios.size() / 2]);
    return 0;
}
