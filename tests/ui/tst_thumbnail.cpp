// The thumbnail decoder's budgets: a picture is refused on what its header
// claims, before any decoding, with a budget that depends on how it is
// coded; within its budget it is decoded small.
#include "ExifBytes.h"
#include "PictureFixtures.h"
#include "ui/Thumbnail.h"
#include "ui/ThumbnailCache.h"

#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kyvane;
using namespace picturefixtures;

namespace {

constexpr QSize kBox(48, 48);

// A budget that lets through pictures of 40,000 pixels at most, in every
// coding (200 by 200 is just within it), embedded thumbnails of 100 by 100,
// and SVG documents of 20 elements with 3 uses.
PictureBudget smallBudget()
{
    PictureBudget budget;
    budget.baselineJpegPixels = 40000;
    budget.progressiveJpegPixels = 40000;
    budget.wholeDecodePixels = 40000;
    budget.embeddedThumbnailSide = 100;
    budget.svgBytes = 2000;
    budget.svgElements = 20;
    budget.svgUses = 3;
    return budget;
}

enum class Limit {
    None,
    Baseline,
    Progressive,
    WholeDecode,
    EmbeddedSide,
    SvgBytes,
    SvgElements,
    SvgUses
};

// smallBudget() with one of its limits one below what the picture needs.
PictureBudget budgetJustBelow(Limit limit)
{
    PictureBudget budget = smallBudget();
    switch (limit) {
    case Limit::None:
        break;
    case Limit::Baseline:
        budget.baselineJpegPixels = 39999;
        break;
    case Limit::Progressive:
        budget.progressiveJpegPixels = 39999;
        break;
    case Limit::WholeDecode:
        budget.wholeDecodePixels = 39999;
        break;
    case Limit::EmbeddedSide:
        budget.embeddedThumbnailSide = 99;
        break;
    case Limit::SvgBytes:
        budget.svgBytes = 100;
        break;
    case Limit::SvgElements:
        budget.svgElements = 19;
        break;
    case Limit::SvgUses:
        budget.svgUses = 2;
        break;
    }
    return budget;
}

QColor centreOf(const QImage& image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 &&
           qAbs(a.blue() - b.blue()) < 40;
}

} // namespace

Q_DECLARE_METATYPE(Limit)

class TestThumbnail : public QObject
{
    Q_OBJECT

private slots:
    // Each picture once within the small budget and once with the limit
    // that applies to it one below: it is then refused, and the other
    // limits play no part.
    void budgets_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Limit>("limit");
        QTest::addColumn<QColor>("colour"); // of the thumbnail within budget
        const QSize size(200, 200);
        QTest::newRow("baseline JPEG")
            << pictureOf(Qt::blue, size, "JPEG") << Limit::Baseline << QColor(Qt::blue);
        QTest::newRow("progressive JPEG")
            << pictureOf(Qt::blue, size, "JPEG", true) << Limit::Progressive << QColor(Qt::blue);
        QTest::newRow("PNG") << pictureOf(Qt::green, size, "PNG") << Limit::WholeDecode
                             << QColor(Qt::green);
        QTest::newRow("BMP") << pictureOf(Qt::red, size, "BMP") << Limit::WholeDecode
                             << QColor(Qt::red);
        // A refused embedded thumbnail leaves the picture itself, which is
        // within its own budget.
        const QByteArray embedded = pictureOf(Qt::red, QSize(100, 10), "JPEG");
        QTest::newRow("embedded thumbnail")
            << exifbytes::withExifSegment(
                   pictureOf(Qt::blue, QSize(64, 64), "JPEG"),
                   exifbytes::tiffWithThumbnail(exifbytes::Order::Little, embedded))
            << Limit::EmbeddedSide << QColor(Qt::red);
        // How a JPEG is coded is told by what its decoder will read, not by
        // what a walk over its header finds first: a sequential picture in
        // several scans is held whole while it is decoded, like a
        // progressive one, and a frame header can hide behind a marker that
        // stands alone (the walk took the TEM marker for one with a length
        // and found a small frame header inside an APP1 segment).
        QTest::newRow("sequential JPEG in several scans")
            << jpegInSeveralScans(200, 200) << Limit::Progressive << QColor(128, 128, 128);
        QTest::newRow("progressive JPEG, its frame behind a TEM marker")
            << jpegFrameBehindStandaloneMarker(pictureOf(Qt::blue, size, "JPEG", true))
            << Limit::Progressive << QColor(Qt::blue);
        QTest::newRow("embedded thumbnail, its frame behind a TEM marker")
            << exifbytes::withExifSegment(
                   pictureOf(Qt::blue, QSize(64, 64), "JPEG"),
                   exifbytes::tiffWithThumbnail(exifbytes::Order::Little,
                                                jpegFrameBehindStandaloneMarker(embedded)))
            << Limit::EmbeddedSide << QColor(Qt::red);
        QTest::newRow("SVG, its bytes")
            << svgWithElements(3) << Limit::SvgBytes << QColor(Qt::green);
        QTest::newRow("SVG, its elements")
            << svgWithElements(18) << Limit::SvgElements << QColor(Qt::green);
        QTest::newRow("SVG, its uses") << svgWithUseChain(1) << Limit::SvgUses << QColor(Qt::green);
    }

    void budgets()
    {
        QFETCH(QByteArray, content);
        QFETCH(Limit, limit);
        QFETCH(QColor, colour);
        QVERIFY(!content.isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();

        const QImage within = loadThumbnail(path, kBox, smallBudget());
        QVERIFY(!within.isNull());
        QVERIFY(within.width() <= kBox.width() && within.height() <= kBox.height());
        QVERIFY2(near(centreOf(within), colour), qPrintable(centreOf(within).name()));

        const QImage past = loadThumbnail(path, kBox, budgetJustBelow(limit));
        if (limit == Limit::EmbeddedSide) {
            QVERIFY2(near(centreOf(past), Qt::blue), "the picture itself, not its thumbnail");
            return;
        }
        QVERIFY(past.isNull());
    }

    // The shared thumbnail cache of the desktop: named by the MD5 of the
    // file's URI, as the standard's own example says.
    void cacheFileIsNamedByTheUri()
    {
        qputenv("XDG_CACHE_HOME", "/somewhere/cache");
        QCOMPARE(ThumbnailCache::cacheFileFor(QStringLiteral("/home/jens/photos/me.png")),
                 QStringLiteral(
                     "/somewhere/cache/thumbnails/normal/c6ee772d9e49320e97ec29a7eb5b1697.png"));
    }

    // Made once and stored with the file's URI and time, private to the
    // user; read back while the file is unchanged, whoever made it; made
    // anew once the file changes.
    void sharedThumbnails()
    {
        QTemporaryDir dir;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
        const QString photo = dir.filePath(QStringLiteral("photo one.jpg"));
        QFile file(photo);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pictureOf(Qt::blue, QSize(400, 300), "JPEG"));
        file.close();
        const QDateTime modified(QDate(2024, 5, 1), QTime(10, 0));
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();

        const QImage first = ThumbnailCache::thumbnailFor(photo, kBox, PictureBudget{});
        QVERIFY(near(centreOf(first), Qt::blue));
        QCOMPARE(first.size(), QSize(48, 36));
        const QString cached = ThumbnailCache::cacheFileFor(photo);
        const QImage stored(cached, "png");
        QCOMPARE(stored.size(), QSize(128, 96));
        QCOMPARE(stored.text("Thumb::URI"),
                 QUrl::fromLocalFile(photo).toString(QUrl::FullyEncoded));
        QVERIFY(stored.text("Thumb::URI").contains("photo%20one.jpg"));
        QCOMPARE(stored.text("Thumb::MTime"), QString::number(modified.toSecsSinceEpoch()));
        QCOMPARE(QFileInfo(cached).permissions() & 0x0077, QFileDevice::Permissions());

        // A file manager's thumbnail of the same version serves as it is.
        QImage other(QSize(128, 96), QImage::Format_RGB32);
        other.fill(Qt::red);
        other.setText("Thumb::URI", stored.text("Thumb::URI"));
        other.setText("Thumb::MTime", stored.text("Thumb::MTime"));
        QVERIFY(QImageWriter(cached, "png").write(other));
        QVERIFY(
            near(centreOf(ThumbnailCache::thumbnailFor(photo, kBox, PictureBudget{})), Qt::red));

        // The file changed: the stored one is of another version.
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified.addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(
            near(centreOf(ThumbnailCache::thumbnailFor(photo, kBox, PictureBudget{})), Qt::blue));
        QCOMPARE(QImage(cached, "png").text("Thumb::MTime"),
                 QString::number(modified.addSecs(60).toSecsSinceEpoch()));
    }

    // An SVG document may name other files in its <image> elements, which
    // the SVG renderer opens and decodes whole with no budget: a picture far
    // past any budget, the document itself (a recursion without end), a
    // FIFO (an open that never returns). None of them is read for a
    // thumbnail. Each case runs in a child process, so a crash or a hang
    // fails the case instead of the whole test.
    void svgReadsNoOtherFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a picture past the budget") << QStringLiteral("big.png");
        QTest::newRow("the document itself") << QStringLiteral("picture.svg");
        QTest::newRow("a FIFO") << QStringLiteral("fifo.png");
    }

    void svgReadsNoOtherFile()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.svg"));
        // 90,000 pixels of green: more than twice what the budget allows.
        const QByteArray big = pictureOf(Qt::green, QSize(300, 300), "PNG");
        QFile bigFile(dir.filePath(QStringLiteral("big.png")));
        QVERIFY(bigFile.open(QIODevice::WriteOnly) && bigFile.write(big) == big.size());
        bigFile.close();
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo.png"))), 0600), 0);
        const QByteArray svg =
            "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
            "width='40' height='40'><image width='40' height='40' xlink:href='" +
            QFile::encodeName(dir.filePath(target)) + "'/></svg>";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size());
        file.close();
        // The document is within every budget but its image.
        QVERIFY(svg.size() < smallBudget().svgBytes);

        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::alarm(20);
            const QImage image = loadThumbnail(path, kBox, smallBudget());
            ::_exit(image.isNull() || !near(centreOf(image), Qt::green) ? 0 : 3);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(!WIFSIGNALED(status) || WTERMSIG(status) != SIGALRM,
                 "the thumbnail did not return within 20 s");
        QVERIFY2(
            WIFEXITED(status),
            qPrintable(QStringLiteral("the thumbnail ended with signal %1").arg(WTERMSIG(status))));
        QVERIFY2(WEXITSTATUS(status) != 3, "the picture the document names was decoded");
        QVERIFY2(WEXITSTATUS(status) == 0,
                 qPrintable(QStringLiteral("the thumbnail ended with exit code %1 (a sanitizer "
                                           "report?)")
                                .arg(WEXITSTATUS(status))));
    }

    // The SVG budget stands for the cost of rendering, but that cost is not
    // in the count of elements: a document of 2,000 dashed triangles, within
    // the shipped byte, element and use budgets, takes tens of seconds on
    // the thumbnail worker (with 16 uses a few levels deep it repeats them
    // hundreds of times: hours), and nothing can cut it short. Dashed
    // strokes are refused.
    void dashedSvgIsRefused()
    {
        QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'>";
        for (int i = 0; i < 2000; ++i)
            svg += "<path d='M0 0L40 40L0 40Z' stroke='red' stroke-width='3' "
                   "stroke-dasharray='0.01'/>";
        svg += "</svg>";
        const PictureBudget budget;
        QVERIFY(svg.size() < budget.svgBytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dashes.svg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size());
        file.close();

        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // Only against a hang of the whole test: the document is to be
            // refused, not rendered fast.
            ::alarm(60);
            ::_exit(loadThumbnail(path, kBox, budget).isNull() ? 0 : 3);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "the thumbnail did not return");
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_MAIN(TestThumbnail)
#include "tst_thumbnail.moc"
