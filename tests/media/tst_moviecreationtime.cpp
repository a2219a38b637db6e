#include "CountingByteSource.h"
#include "Mp4Bytes.h"
#include "media/CreationTimeText.h"
#include "media/MovieCreationTime.h"

#include <QtTest>

#include <optional>

using namespace kyvane;
using namespace mp4bytes;

using StoredTime = std::optional<qint64>;
Q_DECLARE_METATYPE(StoredTime)

namespace {

const StoredTime kNothing;
const StoredTime kMay(kMay2023);

StoredTime read(const QByteArray& file, std::size_t* bytesRead = nullptr)
{
    CountingByteSource source(
        {reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(file.size())});
    const auto stored = readMovieCreationTime(source);
    if (bytesRead)
        *bytesRead = source.bytesRead();
    return stored ? StoredTime(*stored) : kNothing;
}

QByteArray manyBoxes(int count)
{
    QByteArray boxes;
    for (int i = 0; i < count; ++i)
        boxes += box("free", {});
    return boxes;
}

} // namespace

// The structures follow what FFmpeg's probe tool answers for the same bytes;
// the differential test checks the common ones against the tool itself.
class TestMovieCreationTime : public QObject
{
    Q_OBJECT

private slots:
    void structure_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<StoredTime>("expected");

        const QByteArray header = mvhd(kMay2023);
        const QByteArray movie = box("moov", header + trak());
        QTest::newRow("media data before the movie") << movieLast(header) << kMay;
        QTest::newRow("media data after the movie") << movieFirst(header) << kMay;
        QTest::newRow("movie box alone") << movie << kMay;
        QTest::newRow("unknown boxes first")
            << join({box("abcd", "xyz"), box("free", {}), movie}) << kMay;
        QTest::newRow("empty file") << QByteArray() << kNothing;
        QTest::newRow("no movie box") << join({ftyp(), mdat()}) << kNothing;
        QTest::newRow("movie box without header")
            << join({ftyp(), box("moov", trak())}) << kNothing;
        QTest::newRow("movie header after the track")
            << join({ftyp(), box("moov", trak() + header)}) << kMay;
        // Only the first movie box counts, even when it has no header.
        QTest::newRow("two movie boxes")
            << join({ftyp(), movie, box("moov", mvhd(kMay2023 + 86400))}) << kMay;
        QTest::newRow("first movie box without header")
            << join({ftyp(), box("moov", trak()), movie}) << kNothing;
        // Within the movie box the last header wins.
        QTest::newRow("two movie headers")
            << join({ftyp(), box("moov", header + mvhd(kMay2023 + 86400))})
            << StoredTime(kMay2023 + 86400);
        QTest::newRow("movie header inside another box")
            << join({ftyp(), box("free", movie)}) << kNothing;

        // Versions: 1 has 64-bit times, taken as signed; every other
        // version has 32-bit ones.
        QTest::newRow("version 1") << movieLast(mvhd64(kMay2023)) << kMay;
        QTest::newRow("version 1, beyond 32 bits")
            << movieLast(mvhd64(0x123456789ULL)) << StoredTime(0x123456789LL);
        QTest::newRow("version 1, negative") << movieLast(mvhd64(~quint64(0))) << StoredTime(-1);
        QByteArray version2 = mvhd(kMay2023);
        version2[8] = 2;
        QTest::newRow("version 2 reads as 0") << movieLast(version2) << kMay;
        QTest::newRow("zero is passed on") << movieLast(mvhd(0)) << StoredTime(0);

        // Sizes.
        QTest::newRow("movie box up to the end (size 0)")
            << join({ftyp(), mdat(), boxWithSize(0, "moov", header + trak())}) << kMay;
        QTest::newRow("movie header up to the end of the movie (size 0)")
            << join({ftyp(), box("moov", boxWithSize(0, "mvhd", header.mid(8)))}) << kMay;
        QTest::newRow("64-bit media data size")
            << join({ftyp(), largeBox("mdat", QByteArray(100, 'x')), movie}) << kMay;
        QTest::newRow("64-bit movie size") << join({ftyp(), largeBox("moov", header)}) << kMay;
        QTest::newRow("64-bit movie header size")
            << join({ftyp(), box("moov", largeBox("mvhd", header.mid(8)))}) << kMay;
        QTest::newRow("box up to the end before the movie")
            << join({ftyp(), boxWithSize(0, "mdat", "xxxx"), movie}) << kNothing;
        QTest::newRow("box larger than the file before the movie")
            << join({ftyp(), boxWithSize(100000, "mdat", "xxxx"), movie}) << kNothing;
        QTest::newRow("64-bit size larger than any file")
            << join({be32(1), "mdat", be64(~quint64(0)), movie}) << kNothing;
        for (quint32 size : {1u, 2u, 4u, 7u})
            QTest::addRow("box of size %u before the movie", size)
                << join({ftyp(), boxWithSize(size, "free", {}), movie}) << kNothing;
        QTest::newRow("64-bit size below its header")
            << join({be32(1), "free", be64(8), movie}) << kNothing;

        // Inside the movie box a broken child ends the walk: a header read
        // before it stays.
        QTest::newRow("child of size 4 before the header")
            << join({ftyp(), box("moov", boxWithSize(4, "junk", {}) + header)}) << kNothing;
        QTest::newRow("child of size 4 after the header")
            << join({ftyp(), box("moov", header + boxWithSize(4, "junk", {}) + trak())}) << kMay;
        // A child larger than what is left of the movie box takes the rest.
        QTest::newRow("child past the movie's end before the header")
            << join({ftyp(), box("moov", boxWithSize(5000, "junk", {}) + header), mdat()})
            << kNothing;
        QTest::newRow("child past the movie's end after the header")
            << join({ftyp(), box("moov", header + boxWithSize(5000, "trak", {})), mdat()}) << kMay;
        QTest::newRow("header past the movie's end")
            << join({ftyp(), boxWithSize(8 + 40, "moov", header), mdat()}) << kMay;
        QTest::newRow("header too short for its time")
            << join({ftyp(), box("moov", box("mvhd", be32(0) + "\x01"))}) << kNothing;
        QTest::newRow("version 1 header too short for its time")
            << join({ftyp(), box("moov", box("mvhd", be32(0x01000000) + be32(kMay2023)))})
            << kNothing;

        // Files cut short.
        const QByteArray whole = movieLast(header);
        const qsizetype timeEnds = whole.indexOf("mvhd") + 4 + 4 + 4;
        QTest::newRow("cut before the time") << whole.left(timeEnds - 4) << kNothing;
        QTest::newRow("cut inside the time") << whole.left(timeEnds - 1) << kNothing;
        QTest::newRow("cut right after the time") << whole.left(timeEnds) << kMay;
        QTest::newRow("cut in the track") << whole.left(whole.size() - 10) << kMay;
        QTest::newRow("cut in the media data")
            << join({ftyp(), mdat(1000), box("moov", header)}).left(500) << kNothing;

        // More boxes than a real file holds.
        QTest::newRow("many boxes before the movie")
            << join({manyBoxes(kMaxBoxesPerLevel - 1), movie}) << kMay;
        QTest::newRow("too many boxes before the movie")
            << join({manyBoxes(kMaxBoxesPerLevel), movie}) << kNothing;
        QTest::newRow("too many boxes before the header")
            << box("moov", manyBoxes(kMaxBoxesPerLevel) + header) << kNothing;

        QTest::newRow("a JPEG") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\0", 11) << kNothing;
    }

    void structure()
    {
        QFETCH(QByteArray, file);
        QFETCH(StoredTime, expected);
        QCOMPARE(read(file), expected);
    }

    // Media data is skipped, never read, wherever it stands.
    void readsOnlyHeaders_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray bigData = box("mdat", QByteArray(4 << 20, 'x'));
        const QByteArray movie =
            box("moov", mvhd(kMay2023) + box("trak", QByteArray(1 << 20, 't')));
        QTest::newRow("media data first") << join({ftyp(), bigData, movie});
        QTest::newRow("media data last") << join({ftyp(), movie, bigData});
    }

    void readsOnlyHeaders()
    {
        QFETCH(QByteArray, file);
        std::size_t bytesRead = 0;
        QCOMPARE(read(file, &bytesRead), kMay);
        // Three top-level headers, two child headers, the start of mvhd.
        QVERIFY2(bytesRead <= 3 * 8 + 2 * 8 + 12, qPrintable(QString::number(bytesRead)));
    }

    // Whatever a hostile file claims, the reading stays within 64 KiB.
    void hostileFileReadsLittle()
    {
        std::size_t bytesRead = 0;
        QCOMPARE(read(join({manyBoxes(kMaxBoxesPerLevel - 1),
                            box("moov", manyBoxes(kMaxBoxesPerLevel))}),
                      &bytesRead),
                 kNothing);
        QVERIFY2(bytesRead <= 64 * 1024, qPrintable(QString::number(bytesRead)));
    }

    // Values and answers as FFmpeg's probe tool gave them for the same
    // movie headers.
    void text_data()
    {
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<QString>("expected"); // empty: no creation time

        QTest::newRow("zero") << qint64(0) << "";
        QTest::newRow("May 2023") << qint64(kMay2023) << "2023-05-01T12:34:56.000000Z";
        QTest::newRow("largest 32-bit") << qint64(0xFFFFFFFF) << "2040-02-06T06:28:15.000000Z";
        QTest::newRow("1970 boundary") << qint64(2082844800) << "1970-01-01T00:00:00.000000Z";
        // Below the boundary a value is taken as counted from 1970.
        QTest::newRow("one") << qint64(1) << "1970-01-01T00:00:01.000000Z";
        QTest::newRow("one day") << qint64(86400) << "1970-01-02T00:00:00.000000Z";
        QTest::newRow("just below the boundary")
            << qint64(2082844799) << "2036-01-01T23:59:59.000000Z";
        QTest::newRow("beyond 32 bits") << qint64(0x100000000) << "2040-02-06T06:28:16.000000Z";
        QTest::newRow("last of year 9999")
            << qint64(2082844800 + 253402300799) << "9999-12-31T23:59:59.000000Z";
        QTest::newRow("year 10000")
            << qint64(2082844800 + 253402300800) << "10000-01-01T00:00:00.000000Z";
        QTest::newRow("minus one") << qint64(-1) << "1969-12-31T23:59:59.000000Z";
        QTest::newRow("1904") << qint64(-2082844800) << "1904-01-01T00:00:00.000000Z";
        QTest::newRow("year 999") << qint64(-30610224001) << "999-12-31T23:59:59.000000Z";
        QTest::newRow("year 0") << qint64(-62167219200) << "0-01-01T00:00:00.000000Z";
        QTest::newRow("year -1") << qint64(-62167219201) << "-1-12-31T23:59:59.000000Z";
        // Microseconds of the time must fit in 64 bits.
        QTest::newRow("six-digit year") << qint64(9223372036855) << "294181-01-08T04:00:55.000000Z";
        QTest::newRow("largest with microseconds")
            << qint64(2082844800 + 9223372036854) << "294247-01-10T04:00:54.000000Z";
        QTest::newRow("too large") << qint64(2082844800 + 9223372036855) << "";
        QTest::newRow("most negative with microseconds")
            << qint64(-9223372036854) << "-290308-12-21T19:59:06.000000Z";
        QTest::newRow("too negative") << qint64(-9223372036855) << "";
        QTest::newRow("2^62") << (qint64(1) << 62) << "";
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "";
    }

    void text()
    {
        QFETCH(qint64, stored);
        QFETCH(QString, expected);
        const auto text = creationTimeText(stored);
        QCOMPARE(text ? QString::fromStdString(*text) : QString(), expected);
    }
};

QTEST_GUILESS_MAIN(TestMovieCreationTime)
#include "tst_moviecreationtime.moc"
