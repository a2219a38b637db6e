#include "ExifBytes.h"
#include "media/CaptureTime.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kyvane;
using namespace exifbytes;

namespace {

// Stands for "the file's modification time" in the tables.
const QString kModified = QStringLiteral("modified");
// The modification time every photo gets: odd seconds and a fraction, so
// that the rounding down to even seconds shows.
const QDateTime kFileTime(QDate(2020, 6, 15), QTime(10, 20, 33, 700));
const QString kFileTimeCapture = QStringLiteral("2020/06/15;10:20:32");

const QByteArray kOriginalDate = "2019:07:14 18:03:22";
const QString kOriginalCapture = QStringLiteral("2019/07/14;18:03:22");
const QByteArray kDigitizedDate = "2018:02:03 04:05:06";
const QString kDigitizedCapture = QStringLiteral("2018/02/03;04:05:06");
const QByteArray kDateTimeDate = "2001:01:01 01:01:01";
const QString kDateTimeCapture = QStringLiteral("2001/01/01;01:01:01");

QByteArray patched32(Order order, QByteArray block, qsizetype at, quint32 value)
{
    TiffWriter w(order);
    w.u32(value);
    return block.replace(at, 4, w.data());
}

QByteArray patched16(Order order, QByteArray block, qsizetype at, quint32 value)
{
    TiffWriter w(order);
    w.u16(value);
    return block.replace(at, 2, w.data());
}

// tiff(order, {one IFD0 entry}, {one Exif entry}) lays out: IFD0 count at 8,
// its entry at 10, the Exif pointer at 22, the Exif directory's count at 38
// and its entry at 40.
constexpr qsizetype kIfd0Count = 8;
constexpr qsizetype kExifCount = 38;
constexpr qsizetype kExifEntry = 40;

QByteArray dateTimeAndOriginal(Order order, const QByteArray& original)
{
    return tiff(order, {ascii(kTagDateTime, kDateTimeDate)}, {ascii(kTagOriginal, original)});
}

} // namespace

class TestCaptureTime : public QObject
{
    Q_OBJECT

private:
    QString writePhoto(const QString& name, const QByteArray& content,
                       const QDateTime& modified = kFileTime)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(content) != content.size() ||
            !file.flush()
            // After the last write, which would set the time again.
            || !file.setFileTime(modified, QFileDevice::FileModificationTime))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;

private slots:
    void exifDate_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");

        for (const Order order : {Order::Little, Order::Big}) {
            const char* suffix = order == Order::Little ? " (II)" : " (MM)";
            auto row = [&](const char* name) {
                return &QTest::newRow(
                    qPrintable(QString::fromLatin1(name) + QLatin1String(suffix)));
            };
            *row("DateTimeOriginal")
                << photo(tiff(order, {}, {ascii(kTagOriginal, kOriginalDate)})) << kOriginalCapture;
            *row("original wins over DateTime")
                << photo(dateTimeAndOriginal(order, kOriginalDate)) << kOriginalCapture;
            // The directory order does not decide; the tag does.
            *row("original wins over digitized")
                << photo(tiff(
                       order, {ascii(kTagDateTime, kDateTimeDate)},
                       {ascii(kTagDigitized, kDigitizedDate), ascii(kTagOriginal, kOriginalDate)}))
                << kOriginalCapture;
            *row("blank original, valid digitized")
                << photo(tiff(order, {ascii(kTagDateTime, kDateTimeDate)},
                              {ascii(kTagOriginal, "    :  :     :  :  "),
                               ascii(kTagDigitized, kDigitizedDate)}))
                << kDigitizedCapture;
            *row("only DateTime") << photo(tiff(order, {ascii(kTagDateTime, kDateTimeDate)}))
                                  << kDateTimeCapture;
            *row("no date tag") << photo(tiff(order, {ascii(0x010F, "Maker")})) << kModified;
            *row("empty directories") << photo(tiff(order, {})) << kModified;
            *row("IFD0 offset 0 means 8")
                << photo(patched32(order, dateTimeAndOriginal(order, kOriginalDate), 4, 0))
                << kOriginalCapture;
        }

        // Invalid dates count as absent.
        QTest::newRow("month 13 falls back to DateTime")
            << photo(dateTimeAndOriginal(Order::Little, "2019:13:14 18:03:22")) << kDateTimeCapture;
        QTest::newRow("24:00:00 falls back to DateTime")
            << photo(dateTimeAndOriginal(Order::Little, "2019:07:14 24:00:00")) << kDateTimeCapture;
        QTest::newRow("February 30 alone")
            << photo(tiff(Order::Little, {}, {ascii(kTagOriginal, "2019:02:30 10:00:00")}))
            << kModified;
        QTest::newRow("only invalid dates")
            << photo(tiff(
                   Order::Big, {ascii(kTagDateTime, "0000:00:00 00:00:00")},
                   {ascii(kTagOriginal, "2019:07:14 18:60:00"), ascii(kTagDigitized, "2019:07:1")}))
            << kModified;
        QTest::newRow("original not ASCII")
            << photo(tiff(Order::Little, {ascii(kTagDateTime, kDateTimeDate)},
                          {{kTagOriginal, kUndefined, 20, kOriginalDate + '\0'}}))
            << kDateTimeCapture;
        QTest::newRow("no terminating NUL, text after the date")
            << photo(
                   tiff(Order::Little, {}, {{kTagOriginal, kAscii, 25, kOriginalDate + " +0200"}}))
            << kOriginalCapture;
        // An inline value is at most four characters, never a date.
        QTest::newRow("inline original")
            << photo(tiff(Order::Little, {ascii(kTagDateTime, kDateTimeDate)},
                          {{kTagOriginal, kAscii, 4, "2019"}}))
            << kDateTimeCapture;

        // Structure of the JPEG.
        const QByteArray exifApp1 = exifPayload(dateTimeAndOriginal(Order::Little, kOriginalDate));
        QTest::newRow("no APP1") << Jpeg().app0().scan().bytes() << QStringLiteral("none");
        QTest::newRow("not a JPEG")
            << QByteArray("GIF89a\x01\0\x01\0", 10) << QStringLiteral("none");
        QTest::newRow("starts FF D9")
            << QByteArray("\xFF\xD9\xFF\xE1", 4) << QStringLiteral("none");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("none");
        QTest::newRow("only FF D8") << QByteArray("\xFF\xD8", 2) << QStringLiteral("none");
        QTest::newRow("fill bytes before markers")
            << Jpeg().raw("\xFF\xFF").app0().raw("\xFF").app1(exifApp1).scan().bytes()
            << kOriginalCapture;
        QTest::newRow("APP1 after start of scan")
            << Jpeg().app0().scan().app1(exifApp1).bytes() << QStringLiteral("none");
        QTest::newRow("APP1 after end of image")
            << Jpeg().app0().raw("\xFF\xD9").app1(exifApp1).bytes() << QStringLiteral("none");
        QTest::newRow("bytes between segments")
            << Jpeg().app0().raw(QByteArray(1, '\0')).app1(exifApp1).bytes()
            << QStringLiteral("none");
        QTest::newRow("segment length below 2")
            << Jpeg().raw(QByteArray("\xFF\xE0\x00\x01", 4)).app1(exifApp1).bytes()
            << QStringLiteral("none");
        const QByteArray whole = Jpeg().app0().app1(exifApp1).scan().bytes();
        const qsizetype app1Start = whole.indexOf("\xFF\xE1");
        QTest::newRow("cut inside APP0") << whole.left(10) << QStringLiteral("none");
        QTest::newRow("cut inside APP1") << whole.left(app1Start + 30) << QStringLiteral("none");
        QTest::newRow("cut inside APP1 length")
            << whole.left(app1Start + 3) << QStringLiteral("none");
        QTest::newRow("cut after APP1")
            << whole.left(app1Start + 4 + exifApp1.size()) << kOriginalCapture;

        // The first APP1 decides, even when it is not Exif.
        const QByteArray xmp = "http://ns.adobe.com/xap/1.0/ <x:xmpmeta/>";
        QTest::newRow("XMP before Exif")
            << Jpeg().app0().app1(xmp).app1(exifApp1).scan().bytes() << QStringLiteral("none");
        QTest::newRow("Exif before XMP")
            << Jpeg().app0().app1(exifApp1).app1(xmp).scan().bytes() << kOriginalCapture;
        QTest::newRow("second Exif ignored")
            << Jpeg()
                   .app1(exifApp1)
                   .app1(exifPayload(tiff(Order::Big, {}, {ascii(kTagOriginal, kDigitizedDate)})))
                   .scan()
                   .bytes()
            << kOriginalCapture;
        QByteArray unknownOrder = exifApp1;
        unknownOrder.replace(6, 2, "XI");
        QTest::newRow("byte order neither II nor MM")
            << photo(unknownOrder.mid(6)) << QStringLiteral("none");
        QTest::newRow("Exif mark without TIFF header")
            << Jpeg().app1(QByteArray("Exif\0\0", 6)).scan().bytes() << QStringLiteral("none");
        QTest::newRow("TIFF header cut before IFD0 offset")
            << Jpeg().app1(QByteArray("Exif\0\0II*\0", 10)).scan().bytes() << kModified;

        // Offsets and counts that lead outside the block.
        const Order le = Order::Little;
        const QByteArray block = dateTimeAndOriginal(le, kOriginalDate);
        QTest::newRow("IFD0 count runs past the segment")
            << photo(patched16(le, block, kIfd0Count, 0xFFFF)) << kModified;
        QTest::newRow("IFD0 offset past the segment")
            << photo(patched32(le, block, 4, 0xFFFFFFF0)) << kModified;
        QTest::newRow("Exif count runs past the segment")
            << photo(patched16(le, block, kExifCount, 0xFFFF)) << kDateTimeCapture;
        // The block is 96 bytes: four entries from 40 end at 88, five at 100.
        QTest::newRow("Exif count just inside the segment")
            << photo(patched16(le, block, kExifCount, 4)) << kOriginalCapture;
        QTest::newRow("Exif count just past the segment")
            << photo(patched16(le, block, kExifCount, 5)) << kDateTimeCapture;
        QTest::newRow("Exif pointer past the segment")
            << photo(patched32(le, block, 22 + 8, 0x7FFFFFFF)) << kDateTimeCapture;
        QTest::newRow("value offset past the segment")
            << photo(patched32(le, block, kExifEntry + 8, 0xFFFFFFF0)) << kDateTimeCapture;
        QTest::newRow("value runs one byte past the segment")
            << photo(patched32(le, block, kExifEntry + 4, 21)) << kDateTimeCapture;
        QTest::newRow("value count near 4 GiB")
            << photo(patched32(le, block, kExifEntry + 4, 0xFFFFFFFF)) << kDateTimeCapture;
        // The Exif pointer leads back to IFD0, which has no Exif dates.
        QTest::newRow("Exif pointer to IFD0")
            << photo(patched32(le, block, 22 + 8, 8)) << kDateTimeCapture;
        // The Exif directory (at 26) points to itself; it is read once.
        QTest::newRow("Exif directory points to itself")
            << photo(tiff(le, {},
                          {ascii(kTagDigitized, kDigitizedDate),
                           {kTagExifPointer, kLong, 1, QByteArray("\x1A\0\0\0", 4)}}))
            << kDigitizedCapture;
    }

    void exifDate()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString path = writePhoto(QStringLiteral("photo.jpg"), content);
        QCOMPARE(GetCaptureTime(path), expected == kModified ? kFileTimeCapture : expected);
    }

    void modificationTimeRoundedDownToEvenSeconds_data()
    {
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<QString>("expected");
        QTest::newRow("odd second")
            << QDateTime(QDate(2021, 12, 31), QTime(23, 59, 59, 999)) << "2021/12/31;23:59:58";
        QTest::newRow("even second")
            << QDateTime(QDate(2022, 1, 2), QTime(3, 4, 6, 500)) << "2022/01/02;03:04:06";
        QTest::newRow("zero") << QDateTime(QDate(2022, 3, 1), QTime(0, 0, 1))
                              << "2022/03/01;00:00:00";
    }

    void modificationTimeRoundedDownToEvenSeconds()
    {
        QFETCH(QDateTime, modified);
        QFETCH(QString, expected);
        const QString path =
            writePhoto(QStringLiteral("nodate.jpg"), photo(tiff(Order::Big, {})), modified);
        QCOMPARE(GetCaptureTime(path), expected);
    }

    void extension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("read");
        QTest::newRow(".jpg") << "photo.jpg" << true;
        QTest::newRow(".jpeg") << "photo.jpeg" << true;
        QTest::newRow("upper case") << "IMG_0001.JPG" << true;
        QTest::newRow("mixed case") << "photo.JpEg" << true;
        QTest::newRow("last dot decides") << "photo.png.jpg" << true;
        QTest::newRow("hidden name") << ".jpg" << true;
        QTest::newRow(".jpe") << "photo.jpe" << false;
        QTest::newRow(".png") << "photo.png" << false;
        QTest::newRow("jpg then png") << "photo.jpg.png" << false;
        QTest::newRow("no extension") << "photo" << false;
        QTest::newRow("no dot, ends in jpg") << "photojpg" << false;
        QTest::newRow("trailing space") << "photo.jpg " << false;
    }

    void extension()
    {
        QFETCH(QString, name);
        QFETCH(bool, read);
        const QString path =
            writePhoto(name, photo(tiff(Order::Little, {}, {ascii(kTagOriginal, kOriginalDate)})));
        QCOMPARE(GetCaptureTime(path), read ? kOriginalCapture : QStringLiteral("none"));
    }

    void extensionOfTheFolderDoesNotCount()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("album.jpg")));
        const QString path =
            writePhoto(QStringLiteral("album.jpg/photo"),
                       photo(tiff(Order::Little, {}, {ascii(kTagOriginal, kOriginalDate)})));
        QCOMPARE(GetCaptureTime(path), QStringLiteral("none"));
    }

    void missingOrUnreadableFile()
    {
        QCOMPARE(GetCaptureTime(m_dir.filePath(QStringLiteral("missing.jpg"))),
                 QStringLiteral("none"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.jpg")));
        QCOMPARE(GetCaptureTime(m_dir.filePath(QStringLiteral("folder.jpg"))),
                 QStringLiteral("none"));
    }
};

QTEST_GUILESS_MAIN(TestCaptureTime)
#include "tst_capturetime.moc"
