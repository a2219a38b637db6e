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
};

QTEST_MAIN(TestThumbnail)
#include "tst_thumbnail.moc"
