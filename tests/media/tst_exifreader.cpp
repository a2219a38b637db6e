#include "CountingByteSource.h"
#include "ExifBytes.h"
#include "media/ExifDate.h"
#include "media/ExifDateTags.h"
#include "media/ExifReader.h"
#include "media/ExifThumbnail.h"
#include "media/JpegApp1Finder.h"
#include "media/MemoryByteSource.h"

#include <QtTest>

using namespace kyvane;
using namespace exifbytes;

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& data)
{
    return {reinterpret_cast<const std::uint8_t*>(data.constData()), std::size_t(data.size())};
}

} // namespace

class TestExifReader : public QObject
{
    Q_OBJECT

private slots:
    void exifDate_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("expected"); // empty: no date
        QTest::newRow("plain") << QByteArray("2019:07:14 18:03:22") << "2019/07/14;18:03:22";
        QTest::newRow("text after 19 characters")
            << QByteArray("2019:07:14 18:03:22.123+02:00") << "2019/07/14;18:03:22";
        QTest::newRow("separators not examined")
            << QByteArray("2019-07-14T18:03:22") << "2019/07/14;18:03:22";
        QTest::newRow("first moment") << QByteArray("0001:01:01 00:00:00") << "0001/01/01;00:00:00";
        QTest::newRow("last moment") << QByteArray("9999:12:31 23:59:59") << "9999/12/31;23:59:59";
        QTest::newRow("leap day") << QByteArray("2020:02:29 12:00:00") << "2020/02/29;12:00:00";
        QTest::newRow("leap day of 2000")
            << QByteArray("2000:02:29 12:00:00") << "2000/02/29;12:00:00";
        QTest::newRow("no leap day in 2019") << QByteArray("2019:02:29 12:00:00") << "";
        QTest::newRow("no leap day in 1900") << QByteArray("1900:02:29 12:00:00") << "";
        QTest::newRow("February 30") << QByteArray("2020:02:30 12:00:00") << "";
        QTest::newRow("April 31") << QByteArray("2020:04:31 12:00:00") << "";
        QTest::newRow("December 31") << QByteArray("2020:12:31 12:00:00") << "2020/12/31;12:00:00";
        QTest::newRow("month 13") << QByteArray("2019:13:14 18:03:22") << "";
        QTest::newRow("month 0") << QByteArray("2019:00:14 18:03:22") << "";
        QTest::newRow("day 0") << QByteArray("2019:07:00 18:03:22") << "";
        QTest::newRow("year 0") << QByteArray("0000:07:14 18:03:22") << "";
        QTest::newRow("unset date") << QByteArray("0000:00:00 00:00:00") << "";
        QTest::newRow("hour 24") << QByteArray("2019:07:14 24:00:00") << "";
        QTest::newRow("minute 60") << QByteArray("2019:07:14 18:60:00") << "";
        QTest::newRow("second 60") << QByteArray("2019:07:14 18:03:60") << "";
        QTest::newRow("18 characters") << QByteArray("2019:07:14 18:03:2") << "";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("blank") << QByteArray("    :  :     :  :  ") << "";
        QTest::newRow("space in a field") << QByteArray("2019:07:14 18: 3:22") << "";
        QTest::newRow("sign in a field") << QByteArray("+019:07:14 18:03:22") << "";
        QTest::newRow("letter in a field") << QByteArray("2019:0a:14 18:03:22") << "";
    }

    void exifDate()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, expected);
        const auto result =
            captureTimeFromExifDate(std::string_view(value.constData(), value.size()));
        QCOMPARE(result.has_value(), !expected.isEmpty());
        if (result)
            QCOMPARE(QString::fromStdString(*result), expected);
    }

    void inlineValueIsReadFromTheEntry_data()
    {
        QTest::addColumn<int>("order");
        QTest::newRow("II") << int(Order::Little);
        QTest::newRow("MM") << int(Order::Big);
    }

    void inlineValueIsReadFromTheEntry()
    {
        QFETCH(int, order);
        const QByteArray payload = exifPayload(
            tiff(Order(order), {ascii(kTagDateTime, "abc")}, {ascii(kTagOriginal, "x")}));
        const auto tags = readExifDateTags(bytesOf(payload));
        QVERIFY(tags.has_value());
        QCOMPARE(tags->dateTime, std::optional<std::string>("abc"));
        QCOMPARE(tags->dateTimeOriginal, std::optional<std::string>("x"));
        QCOMPARE(tags->dateTimeDigitized, std::nullopt);
    }

    void textEndsAtTheFirstNul()
    {
        const QByteArray payload = exifPayload(
            tiff(Order::Little,
                 {{kTagDateTime, kAscii, 24, QByteArray("2019:07\0:14 18:03:22abcd", 24)}}));
        const auto tags = readExifDateTags(bytesOf(payload));
        QVERIFY(tags.has_value());
        QCOMPARE(tags->dateTime, std::optional<std::string>("2019:07"));
    }

    void firstEntryOfATagCounts()
    {
        const QByteArray payload =
            exifPayload(tiff(Order::Big, {ascii(kTagDateTime, "2001:01:01 01:01:01"),
                                          ascii(kTagDateTime, "2002:02:02 02:02:02")}));
        const auto tags = readExifDateTags(bytesOf(payload));
        QVERIFY(tags.has_value());
        QCOMPARE(tags->dateTime, std::optional<std::string>("2001:01:01 01:01:01"));
    }

    void notExif_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("XMP") << QByteArray("http://ns.adobe.com/xap/1.0/");
        QTest::newRow("lower-case mark") << QByteArray("exif\0\0II*\0\x08\0\0\0", 14);
        QTest::newRow("byte order II/MM mixed") << QByteArray("Exif\0\0IM*\0\x08\0\0\0", 14);
        QTest::newRow("no byte order") << QByteArray("Exif\0\0", 6);
        QTest::newRow("half a byte order") << QByteArray("Exif\0\0I", 7);
    }

    void notExif()
    {
        QFETCH(QByteArray, payload);
        QVERIFY(!readExifDateTags(bytesOf(payload)).has_value());
    }

    void walkOutcome_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QByteArray>("payload");
        const int notJpeg = int(JpegApp1::Outcome::NotJpeg);
        const int noApp1 = int(JpegApp1::Outcome::NoApp1);
        const int found = int(JpegApp1::Outcome::Found);
        QTest::newRow("empty") << QByteArray() << notJpeg << QByteArray();
        QTest::newRow("one byte") << QByteArray("\xFF", 1) << notJpeg << QByteArray();
        QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1A\n", 8) << notJpeg << QByteArray();
        QTest::newRow("only start of image") << QByteArray("\xFF\xD8", 2) << noApp1 << QByteArray();
        QTest::newRow("only fill bytes")
            << QByteArray("\xFF\xD8\xFF\xFF\xFF", 5) << noApp1 << QByteArray();
        QTest::newRow("APP1") << Jpeg().app0().app1("abc").scan().bytes() << found
                              << QByteArray("abc");
        QTest::newRow("empty APP1") << Jpeg().app1({}).bytes() << found << QByteArray();
        QTest::newRow("largest APP1")
            << Jpeg().app1(QByteArray(65533, 'x')).bytes() << found << QByteArray(65533, 'x');
        QTest::newRow("APP1 one byte short")
            << Jpeg().app1("abc").bytes().chopped(1) << noApp1 << QByteArray();
        QTest::newRow("skipped segment cut")
            << Jpeg().segment(0xE2, QByteArray(100, 'y')).bytes().chopped(1) << noApp1
            << QByteArray();
    }

    void walkOutcome()
    {
        QFETCH(QByteArray, jpeg);
        QFETCH(int, outcome);
        QFETCH(QByteArray, payload);
        MemoryByteSource source(bytesOf(jpeg));
        const JpegApp1 app1 = findFirstApp1(source);
        QCOMPARE(int(app1.outcome), outcome);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(app1.payload.data()),
                            qsizetype(app1.payload.size())),
                 payload);
    }

    // The image data and the segments other than APP1 are never read.
    void readsNoImageData()
    {
        const QByteArray big(60000, 'z');
        const QByteArray jpeg = Jpeg()
                                    .app0()
                                    .segment(0xE2, big)
                                    .segment(0xDB, big)
                                    .raw(QByteArray("\xFF\xDA\0\x08", 4) + QByteArray(500000, 'q'))
                                    .bytes();
        CountingByteSource source(bytesOf(jpeg));
        const ExifReading reading = readExifCaptureTime(source);
        QVERIFY(!reading.exifSegmentFound);
        QVERIFY(!reading.captureTime);
        // The walk stops right after the start-of-scan marker.
        QCOMPARE(source.position(), std::size_t(jpeg.indexOf("\xFF\xDA") + 2));
        QVERIFY2(source.bytesRead() < 100, qPrintable(QString::number(source.bytesRead())));
    }

    void stopsAtTheExifSegment()
    {
        const QByteArray payload =
            exifPayload(tiff(Order::Little, {ascii(kTagDateTime, "2001:01:01 01:01:01")}));
        const QByteArray head = Jpeg().app0().app1(payload).bytes();
        const QByteArray jpeg =
            head + Jpeg().segment(0xE2, QByteArray(60000, 'z')).scan().bytes().mid(2);
        CountingByteSource source(bytesOf(jpeg));
        const ExifReading reading = readExifCaptureTime(source);
        QVERIFY(reading.exifSegmentFound);
        QCOMPARE(reading.captureTime, std::optional<std::string>("2001/01/01;01:01:01"));
        QCOMPARE(source.position(), std::size_t(head.size()));
    }

    // The thumbnail of IFD1: found in either byte order and with SHORT
    // values; every broken link or range gives none, and nothing is read
    // outside the payload.
    void thumbnail_data()
    {
        QTest::addColumn<QByteArray>("tiffBlock");
        QTest::addColumn<bool>("found");
        const QByteArray thumb =
            QByteArray("\xFF\xD8", 2) + QByteArray(40, 'T') + QByteArray("\xFF\xD9", 2);
        auto patched = [&](qsizetype at, quint32 value, Order order = Order::Little) {
            TiffWriter w(order);
            w.bytes(tiffWithThumbnail(order, thumb));
            w.patchU32(at, value);
            return w.data();
        };
        QTest::newRow("little-endian") << tiffWithThumbnail(Order::Little, thumb) << true;
        QTest::newRow("big-endian") << tiffWithThumbnail(Order::Big, thumb) << true;
        QTest::newRow("short values") << tiffWithThumbnail(Order::Big, thumb, kShort) << true;
        QTest::newRow("no IFD1") << tiff(Order::Little, {ascii(kTagDateTime, "2019")}) << false;
        QTest::newRow("IFD1 link outside") << patched(kIfd1LinkAt, 0xFFFFFFF0) << false;
        QTest::newRow("IFD1 is IFD0") << patched(kIfd1LinkAt, 8) << false;
        QTest::newRow("offset outside") << patched(kThumbnailOffsetAt, 0xFFFFFFFE) << false;
        QTest::newRow("length past the end")
            << patched(kThumbnailLengthAt, quint32(thumb.size() + 1)) << false;
        QTest::newRow("length wraps") << patched(kThumbnailLengthAt, 0xFFFFFFFF) << false;
        QTest::newRow("not a JPEG") << patched(kThumbnailOffsetAt, kThumbnailAt + 2) << false;
        QTest::newRow("empty thumbnail") << patched(kThumbnailLengthAt, 0) << false;
    }

    void thumbnail()
    {
        QFETCH(QByteArray, tiffBlock);
        QFETCH(bool, found);
        const QByteArray payload = exifPayload(tiffBlock);
        const auto inPayload = exifThumbnailIn(bytesOf(payload));
        QCOMPARE(inPayload.has_value(), found);
        const QByteArray file = photo(tiffBlock);
        MemoryByteSource source(bytesOf(file));
        const std::vector<std::uint8_t> read = readExifThumbnail(source);
        QCOMPARE(!read.empty(), found);
        if (found) {
            const QByteArray expected = tiffBlock.mid(kThumbnailAt);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(read.data()), qsizetype(read.size())),
                     expected);
            QCOMPARE(qsizetype(inPayload->size()), expected.size());
        }
    }

    // The date reading is unchanged by the thumbnail beside it.
    void thumbnailAndDatesTogether()
    {
        const QByteArray file =
            photo(tiffWithThumbnail(Order::Little, QByteArray("\xFF\xD8xx", 4)));
        MemoryByteSource source(bytesOf(file));
        const ExifReading reading = readExifCaptureTime(source);
        QVERIFY(reading.exifSegmentFound);
        QVERIFY(!reading.captureTime);
    }
};

QTEST_GUILESS_MAIN(TestExifReader)
#include "tst_exifreader.moc"
