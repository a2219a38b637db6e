// Listing and clicking through a folder of hostile and of large pictures in
// the file explorer, driven through the real window offscreen: how long the
// thumbnails of the rows in view take; for each file how long a click waits
// to be answered and how long until its thumbnail is made or refused (the
// shared thumbnail cache emptied before each round, so every click decodes);
// the longest gap between the ticks of a 10 ms timer on the user-interface
// thread; and the peak memory above the idle window. The reference is a
// click on a plain text file in the same run, which makes no thumbnail.
//
//   bench_thumbnails [--rounds N]
#include "ExifBytes.h"
#include "PictureFixtures.h"
#include "ProcessMemory.h"
#include "core/ProgramFolder.h"
#include "ui/Icons.h"
#include "ui/MainWindow.h"
#include "ui/screens/ExplorerScreen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kyvane;
using namespace picturefixtures;

namespace {

struct Fixture
{
    const char* name;
    QByteArray bytes;
};

// Each file is named for what it is; sizes are what the header claims.
std::vector<Fixture> makeFixtures()
{
    std::printf("making the pictures...\n");
    std::fflush(stdout);
    const QByteArray smallProgressive = pictureOf(Qt::blue, QSize(16, 16), "JPEG", true);
    return {
        {"plain.txt", "not a picture"},
        {"bomb-progressive-30000x30000.jpg", jpegClaiming(smallProgressive, 30000, 30000)},
        {"bomb-baseline-30000x30000.jpg",
         jpegClaiming(pictureOf(Qt::blue, QSize(16, 16), "JPEG"), 30000, 30000)},
        {"png-5600x5600.png", pictureOf(Qt::green, QSize(5600, 5600), "PNG")},
        {"exif-thumbnail-claiming-30000x30000.jpg",
         exifbytes::withExifSegment(
             pictureOf(Qt::red, QSize(64, 64), "JPEG"),
             exifbytes::tiffWithThumbnail(exifbytes::Order::Big,
                                          jpegClaiming(smallProgressive, 30000, 30000)))},
        {"svg-6000-elements.svg", svgWithElements(6000)},
        {"svg-entity-bomb.svg", svgWithEntityBomb()},
        {"svg-use-chain-2^30.svg", svgWithUseChain(30)},
        // The largest pictures the budget lets through, one of each coding.
        {"progressive-4800x4800.jpg", pictureOf(Qt::blue, QSize(4800, 4800), "JPEG", true)},
        {"png-4800x4800.png", pictureOf(Qt::green, QSize(4800, 4800), "PNG")},
        {"baseline-8000x8000.jpg", pictureOf(Qt::blue, QSize(8000, 8000), "JPEG")},
    };
}

struct Click
{
    double answerMs = 0;
    double thumbnailMs = 0;
    bool thumbnail = false;
};

// Posts a click on row like the window system does and returns once the
// list has answered it (its clicked signal has run the explorer's handler)
// and once the thumbnail worker is idle again.
Click clickRow(QListView& list, ExplorerScreen& explorer, int row)
{
    const QModelIndex index = list.model()->index(row, 0);
    const QPointF at = list.visualRect(index).topLeft() + QPointF(60, 10);
    const QPointF global = list.viewport()->mapToGlobal(at);
    Click click;
    bool answered = false;
    QElapsedTimer clock;
    // Connected after the explorer's own handler, so it runs after it.
    const auto connection = QObject::connect(&list, &QListView::clicked, [&] {
        click.answerMs = clock.nsecsElapsed() / 1e6;
        answered = true;
    });
    clock.start();
    QCoreApplication::postEvent(
        list.viewport(),
        new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(
        list.viewport(),
        new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, {}));
    while (!answered)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    while (explorer.isMakingThumbnails() && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    click.thumbnailMs = clock.nsecsElapsed() / 1e6;
    QObject::disconnect(connection);
    const QImage shown = index.data(Qt::DecorationRole).value<QPixmap>().toImage();
    const QImage fileIcon = Icons::pixmap(QStringLiteral("file"), QSize(48, 48)).toImage();
    click.thumbnail = shown.convertToFormat(QImage::Format_ARGB32) !=
                      fileIcon.convertToFormat(QImage::Format_ARGB32);
    return click;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (QByteArray(argv[i]) == "--rounds")
            rounds = QByteArray(argv[i + 1]).toInt();
    }

    QTemporaryDir program;
    QTemporaryDir data;
    QTemporaryDir cache;
    ProgramFolder::setForTesting(program.path());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    std::vector<Fixture> fixtures = makeFixtures();
    for (const Fixture& fixture : fixtures) {
        QFile file(data.filePath(QString::fromLatin1(fixture.name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(fixture.bytes) != fixture.bytes.size())
            qFatal("cannot write %s", fixture.name);
    }
    std::vector<QByteArray> names;
    std::vector<qsizetype> sizes;
    for (Fixture& fixture : fixtures) {
        names.push_back(fixture.name);
        sizes.push_back(fixture.bytes.size());
        fixture.bytes = QByteArray(); // what the window holds is measured, not these
    }

    TForm1 form;
    form.show();
    auto* explorer = form.findChild<ExplorerScreen*>();
    auto* list = form.findChild<QListView*>(QStringLiteral("ListView1"));
    auto waitIdle = [explorer] {
        while (explorer->isListing() || explorer->isMakingThumbnails())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                            5);
    };
    // The window idle on an empty folder first.
    form.openFileExplorer(program.path());
    waitIdle();
    QCoreApplication::processEvents();
    const qint64 idleKb = processmemory::residentKb();
    processmemory::resetPeak();

    QElapsedTimer inView;
    inView.start();
    form.openFileExplorer(data.path());
    waitIdle();
    const double inViewMs = inView.nsecsElapsed() / 1e6;
    const qint64 inViewPeakKb = processmemory::peakKb();

    // Rows come newest first; find each fixture's row by its name.
    auto rowOf = [&](const QByteArray& name) {
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            if (list->model()->index(row, 0).data().toString() == QString::fromLatin1(name))
                return row;
        }
        qFatal("no row for %s", name.constData());
    };

    double longestGapMs = 0;
    QElapsedTimer tickClock;
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, tickClock.nsecsElapsed() / 1e6);
        tickClock.restart();
    });

    tickClock.start();
    ticks.start();
    std::vector<std::vector<Click>> clicks(names.size());
    for (int round = 0; round < rounds; ++round) {
        QDir(cache.path()).removeRecursively();
        for (std::size_t i = 0; i < names.size(); ++i)
            clicks[i].push_back(clickRow(*list, *explorer, rowOf(names[i])));
    }
    ticks.stop();
    const qint64 peakKb = processmemory::peakKb();

    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::vector<double> referenceAnswers;
    for (const Click& click : clicks[0])
        referenceAnswers.push_back(click.answerMs);
    const double reference = median(referenceAnswers);
    std::printf("%d rounds of a click on every file; medians\n\n", rounds);
    std::printf("| file | bytes | click answered (ms) | ratio to plain.txt | thumbnail made "
                "or refused after (ms) | shown |\n|---|---|---|---|---|---|\n");
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::vector<double> answers;
        std::vector<double> made;
        for (const Click& click : clicks[i]) {
            answers.push_back(click.answerMs);
            made.push_back(click.thumbnailMs);
        }
        const double answer = median(answers);
        std::printf("| %s | %lld | %.2f | %.2f | %.1f | %s |\n", names[i].constData(),
                    static_cast<long long>(sizes[i]), answer, answer / reference, median(made),
                    clicks[i].back().thumbnail ? "thumbnail" : "file icon");
    }
    std::printf(
        "\nthumbnails of the rows in view, from a cold cache: %.0f ms, peak memory %lld KiB "
        "above the idle window\n",
        inViewMs, static_cast<long long>(inViewPeakKb - idleKb));
    std::printf("longest gap between 10 ms ticks while clicking: %.1f ms\n", longestGapMs);
    std::printf("peak memory %lld KiB above the idle window's %lld KiB (limit 262144 KiB)\n",
                static_cast<long long>(peakKb - idleKb), static_cast<long long>(idleKb));
    return 0;
}
