#include "FfmpegTools.h"
#include "Mp4Bytes.h"
#include "media/CaptureTime.h"
#include "media/VideoCreationTime.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace kyvane;
using namespace mp4bytes;

namespace {

const QString kMayCapture = QStringLiteral("2023/05/01;12:34:56");

// How a file made by ffmpeg is changed before both readers see it.
enum class Change {
    None,
    LargeMediaSize, // the "free" box ffmpeg leaves before "mdat" becomes its 64-bit size
    Version1Header, // the movie header rewritten with 64-bit times
    CutAfterHeader, // the file ends inside the movie box, after its header
    CutBeforeTime,  // the file ends inside the movie header, before the time
    NotAVideo,      // the output is replaced by text
};

QByteArray changed(QByteArray file, Change change)
{
    const qsizetype movie = file.indexOf("moov") - 4;
    const qsizetype header = file.indexOf("mvhd") - 4;
    switch (change) {
    case Change::None:
        return file;
    case Change::LargeMediaSize: {
        const qsizetype free = file.indexOf("free") - 4;
        const qsizetype media = file.indexOf("mdat") - 4;
        if (free < 0 || media != free + 8)
            qFatal("no free box before mdat");
        const quint64 size = qFromBigEndian<quint32>(file.constData() + media) + 8;
        return file.replace(free, 16, be32(1) + "mdat" + be64(size));
    }
    case Change::Version1Header: {
        // Media data stands before the movie box, so its offsets stay right.
        if (file.indexOf("mdat") > movie)
            qFatal("expected mdat before moov");
        const QByteArray body = file.mid(header + 8, 100);
        const auto u32 = [&](int at) { return qFromBigEndian<quint32>(body.constData() + at); };
        const QByteArray wide = box("mvhd", join({be32(0x01000000), be64(u32(4)), be64(u32(8)),
                                                  be32(u32(12)), be64(u32(16)), body.mid(20)}));
        file.replace(header, 108, wide);
        const quint32 movieSize = qFromBigEndian<quint32>(file.constData() + movie);
        return file.replace(movie, 4, be32(movieSize + 12));
    }
    case Change::CutAfterHeader:
        return file.left(header + 108 + 20);
    case Change::CutBeforeTime:
        return file.left(header + 12);
    case Change::NotAVideo:
        return "This is a shopping list, not a video.\n";
    }
    return file;
}

// Replaces PATH for the life of the object.
class ScopedPath
{
public:
    explicit ScopedPath(const QByteArray& value) : m_old(qgetenv("PATH"))
    {
        qputenv("PATH", value);
    }
    ~ScopedPath() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

} // namespace

Q_DECLARE_METATYPE(Change)

class TestVideoCaptureTime : public QObject
{
    Q_OBJECT

private:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_media.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_media;

private slots:
    // Files made by ffmpeg, read by this program and by ffprobe: the two
    // capture times are the same, and the expected one.
    void sameAsFfprobe_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("expected");

        const QStringList may = {"-metadata", "creation_time=2023-05-01T12:34:56Z"};
        const QStringList faststart = may + QStringList{"-movflags", "+faststart"};
        QTest::newRow("MP4") << "clip.mp4" << may << Change::None << kMayCapture;
        QTest::newRow("MP4, faststart") << "clip.mp4" << faststart << Change::None << kMayCapture;
        QTest::newRow("MOV") << "clip.mov" << may << Change::None << kMayCapture;
        QTest::newRow("MOV, faststart") << "clip.mov" << faststart << Change::None << kMayCapture;
        QTest::newRow("upper-case name, blanks and shell characters")
            << "my clip $(touch X) 'a'.MOV" << may << Change::None << kMayCapture;
        QTest::newRow("no creation time") << "clip.mp4" << QStringList() << Change::None << "none";
        QTest::newRow("fraction and zone")
            << "clip.mp4" << QStringList{"-metadata", "creation_time=2023-05-01T14:34:56.789+02:00"}
            << Change::None << kMayCapture;
        // Stored as seconds since 1904: a small count is read as counted
        // from 1970, and a time past 2040 has lost its high bits on writing.
        QTest::newRow("1960 reads as 1970-based")
            << "clip.mp4" << QStringList{"-metadata", "creation_time=1960-06-01T00:00:00Z"}
            << Change::None << "2026/06/02;00:00:00";
        QTest::newRow("1904 plus one second")
            << "clip.mp4" << QStringList{"-metadata", "creation_time=1904-01-01T00:00:01Z"}
            << Change::None << "1970/01/01;00:00:01";
        QTest::newRow("2050 wraps in 32 bits")
            << "clip.mov" << QStringList{"-metadata", "creation_time=2050-01-01T00:00:00Z"}
            << Change::None << "1979/11/26;17:31:44";
        QTest::newRow("64-bit media data size")
            << "clip.mp4" << may << Change::LargeMediaSize << kMayCapture;
        QTest::newRow("version 1 movie header")
            << "clip.mov" << may << Change::Version1Header << kMayCapture;
        QTest::newRow("cut in the movie box after its header")
            << "clip.mp4" << faststart << Change::CutAfterHeader << kMayCapture;
        QTest::newRow("cut in the movie header before the time")
            << "clip.mp4" << may << Change::CutBeforeTime << "none";
        QTest::newRow("not a video") << "list.mp4" << may << Change::NotAVideo << "none";
    }

    void sameAsFfprobe()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        QFETCH(Change, change);
        QFETCH(QString, expected);
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty() ||
            QStandardPaths::findExecutable("ffprobe").isEmpty())
            QSKIP("ffmpeg is not installed (./kyvane.sh test installs it)");

        const QString made = m_media.filePath("made." + name.section('.', -1).toLower());
        const QString path = write(name, changed(ffmpegtools::makeClip(made, options), change));

        const QString ours = GetCaptureTime(path);
        QCOMPARE(ours, ffmpegtools::ffprobeCaptureTime(path));
        QCOMPARE(ours, expected);
    }

    // No other program takes part: the capture time comes with no ffprobe
    // anywhere on the search path.
    void needsNoOutsideProgram()
    {
        const QString mp4 = write("clip.mp4", movieLast(mvhd(kMay2023)));
        const QString mov = write("clip.mov", movieFirst(mvhd64(kMay2023 + 86400)));
        QTemporaryDir emptyDir;
        const ScopedPath path(QFile::encodeName(emptyDir.path()));
        QCOMPARE(GetCaptureTime(mp4), kMayCapture);
        QCOMPARE(GetCaptureTime(mov), QStringLiteral("2023/05/02;12:34:56"));
    }

    void onlyMp4AndMovNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow(".mp4") << "clip.mp4" << kMayCapture;
        QTest::newRow(".MOV") << "CLIP.MOV" << kMayCapture;
        QTest::newRow(".Mp4") << "clip.Mp4" << kMayCapture;
        QTest::newRow(".m4v") << "clip.m4v"
                              << "none";
        QTest::newRow(".avi") << "clip.avi"
                              << "none";
        QTest::newRow("no extension") << "clip"
                                      << "none";
        QTest::newRow(".mp4.avi") << "clip.mp4.avi"
                                  << "none";
    }

    void onlyMp4AndMovNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(GetCaptureTime(write(name, movieLast(mvhd(kMay2023)))), expected);
    }

    void notARegularFile()
    {
        QCOMPARE(GetCaptureTime(m_media.filePath("missing.mp4")), QStringLiteral("none"));
        QVERIFY(QDir(m_media.path()).mkdir("folder.mov"));
        QCOMPARE(GetCaptureTime(m_media.filePath("folder.mov")), QStringLiteral("none"));
        // Opening a FIFO would wait for a writer for ever.
        const QString fifo = m_media.filePath("pipe.mp4");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(GetCaptureTime(fifo), QStringLiteral("none"));
    }

    // The capture time form of the creation time text, as ffprobe's output
    // was shaped: only the exact form passes.
    void shaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("usual") << "2023-05-01T12:34:56.000000Z\n" << kMayCapture;
        QTest::newRow("one digit of fraction") << "2023-05-01T12:34:56.5" << kMayCapture;
        QTest::newRow("no fraction") << "2023-05-01T12:34:56Z\n"
                                     << "none";
        QTest::newRow("empty") << ""
                               << "none";
        QTest::newRow("year 999") << "999-12-31T23:59:59.000000Z"
                                  << "none";
        QTest::newRow("year 10000") << "10000-01-01T00:00:00.000000Z"
                                    << "none";
        QTest::newRow("negative year") << "-100-01-01T00:00:00.000000Z"
                                       << "none";
        QTest::newRow("blank instead of T") << "2023-05-01 12:34:56.000000Z"
                                            << "none";
        QTest::newRow("letters for digits") << "abcd-ef-ghTij:kl:mn.0"
                                            << "none";
    }

    void shaping()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(captureTimeFromCreationTime(text), expected);
    }

    // Workers ask from their own threads at the same time; each call has its
    // own file and reader.
    void callsFromSeveralThreads()
    {
        QStringList videos;
        for (int day = 0; day < 6; ++day)
            videos << write(QString("%1.mp4").arg(day), movieLast(mvhd(kMay2023 + day * 86400)));
        std::vector<QString> results(videos.size());
        std::vector<std::thread> threads;
        for (qsizetype i = 0; i < videos.size(); ++i)
            threads.emplace_back([&, i] {
                for (int round = 0; round < 50; ++round)
                    results[i] = GetCaptureTime(videos[i]);
            });
        for (std::thread& t : threads)
            t.join();
        for (qsizetype i = 0; i < videos.size(); ++i)
            QCOMPARE(results[i],
                     QStringLiteral("2023/05/%1;12:34:56").arg(1 + i, 2, 10, QChar('0')));
    }
};

QTEST_GUILESS_MAIN(TestVideoCaptureTime)
#include "tst_videocapturetime.moc"
