#include "TempProgramFolder.h"
#include "selection/CaptureTime.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <signal.h>
#include <thread>
#include <vector>

using namespace kyvane;

namespace {

// A stand-in for ffprobe: marks that it ran, writes its arguments one per
// line and its working folder to files beside it, then does what the test
// asks.
QByteArray standIn(const QByteArray& body)
{
    return "#!/bin/sh\n"
           "here=$(dirname \"$0\")\n"
           ": > \"$here/ran\"\n"
           "pwd > \"$here/workdir\"\n"
           "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$here/args\"\n" +
           body + "\n";
}

void installTool(const QString& path, const QByteArray& script)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file.errorString()));
    QCOMPARE(file.write(script), script.size());
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

bool processExists(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
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

class TestVideoCaptureTime : public QObject
{
    Q_OBJECT

private:
    QString makeVideo(const QString& name)
    {
        const QString path = m_media.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("not really a video") < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_media;

private slots:
    void toolOutput_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("usual output")
            << QByteArray("printf '2023-05-01T12:34:56.000000Z\\n'") << "2023/05/01;12:34:56";
        QTest::newRow("no fraction") << QByteArray("printf '2023-05-01T12:34:56Z\\n'") << "none";
        QTest::newRow("no line break, one digit of fraction")
            << QByteArray("printf '2023-05-01T12:34:56.5'") << "2023/05/01;12:34:56";
        QTest::newRow("empty") << QByteArray("true") << "none";
        QTest::newRow("error text")
            << QByteArray("echo 'No such file or directory'; exit 1") << "none";
        // Standard error is part of the output: a message before the time
        // spoils it, and a time split over both streams comes out whole.
        QTest::newRow("warning on stderr")
            << QByteArray("echo warning >&2; printf '2023-05-01T12:34:56.000000Z\\n'") << "none";
        QTest::newRow("split over stderr and stdout")
            << QByteArray("printf '2023-05-01' >&2; printf 'T12:34:56.0\\n'")
            << "2023/05/01;12:34:56";
        // Only the capture-time form passes: the value goes into a line of
        // blank-separated fields, so a blank or any other stray character
        // would break it.
        QTest::newRow("letters for digits")
            << QByteArray("printf 'abcd-ef-ghTij:kl:mn.0'") << "none";
        QTest::newRow("blank instead of T")
            << QByteArray("printf '2023-05-01 12:34:56.000000Z\n'") << "none";
        QTest::newRow("19 characters of another kind")
            << QByteArray("printf 'Duration: 00:01:02.5'") << "none";
        // The first "." decides even with much more output after it; the
        // tool is drained, so it never blocks on a full pipe.
        QTest::newRow("long output after the time")
            << QByteArray("printf '2023-05-01T12:34:56.000000Z\\n'; head -c 3000000 /dev/zero")
            << "2023/05/01;12:34:56";
        QTest::newRow("long output without a dot")
            << QByteArray("head -c 3000000 /dev/zero | tr '\\0' x") << "none";
    }

    void toolOutput()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        TempProgramFolder folder;
        installTool(folder.file("ffprobe"), standIn(body));
        QCOMPARE(GetCaptureTime(makeVideo("clip.mp4")), expected);
        QVERIFY(folder.exists("ran"));
    }

    void argumentsAndWorkingFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "clip.mp4";
        QTest::newRow("spaces") << "my holiday clip.MOV";
        QTest::newRow("shell characters") << "a \"b\" $(touch X); `touch Y` & c' | d > e.mp4";
        QTest::newRow("name starting with a dash") << "-v.mov";
    }

    void argumentsAndWorkingFolder()
    {
        QFETCH(QString, name);
        TempProgramFolder folder;
        installTool(folder.file("ffprobe"), standIn("printf '2021-01-02T03:04:05.000Z\\n'"));
        const QString path = makeVideo(name);

        QCOMPARE(GetCaptureTime(path), QStringLiteral("2021/01/02;03:04:05"));

        const QStringList expected = {"-v",
                                      "quiet",
                                      path,
                                      "-of",
                                      "default=noprint_wrappers=1:nokey=1",
                                      "-show_entries",
                                      "format_tags=creation_time"};
        QCOMPARE(QString::fromUtf8(folder.read("args")).split('\n', Qt::SkipEmptyParts), expected);
        QCOMPARE(QDir(QString::fromUtf8(folder.read("workdir")).trimmed()).canonicalPath(),
                 QDir(folder.path()).canonicalPath());
        // Nothing in the name was run by a shell.
        for (const QString& dir : {folder.path(), m_media.path(), QDir::currentPath()}) {
            QVERIFY(!QFile::exists(QDir(dir).filePath("X")));
            QVERIFY(!QFile::exists(QDir(dir).filePath("Y")));
            QVERIFY(!QFile::exists(QDir(dir).filePath("e.mp4")));
        }
    }

    void otherExtensionsStartNoProcess_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow(".avi") << "clip.avi";
        QTest::newRow(".mkv") << "clip.mkv";
        QTest::newRow("no extension") << "clip";
        QTest::newRow(".mp4.avi") << "clip.mp4.avi";
    }

    void otherExtensionsStartNoProcess()
    {
        QFETCH(QString, name);
        TempProgramFolder folder;
        installTool(folder.file("ffprobe"), standIn("printf '2021-01-02T03:04:05.000Z\\n'"));
        QCOMPARE(GetCaptureTime(makeVideo(name)), QStringLiteral("none"));
        QVERIFY(!folder.exists("ran"));
    }

    void hangingToolIsKilled()
    {
        TempProgramFolder folder;
        installTool(folder.file("ffprobe"),
                    standIn("echo $$ > \"$here/pid\"; printf '2023-05-01T12:34:56.000000Z\\n'; "
                            "exec sleep 600"));
        EngineSettings settings;
        settings.ffprobeTimeoutMs = 500;

        QCOMPARE(GetCaptureTime(makeVideo("clip.mov"), settings), QStringLiteral("none"));

        bool ok = false;
        const qint64 pid = folder.read("pid").trimmed().toLongLong(&ok);
        QVERIFY(ok && pid > 0);
        // Killed and reaped: not even a zombie is left.
        QVERIFY2(!processExists(pid), qPrintable(QString::number(pid)));
    }

    void toolIsLookedForBesideTheProgramFirst()
    {
        TempProgramFolder folder;
        QTemporaryDir pathDir;
        installTool(pathDir.filePath("ffprobe"), "#!/bin/sh\nprintf '2001-01-01T01:01:01.0'\n");
        const ScopedPath path(QFile::encodeName(pathDir.path()));
        const QString video = makeVideo("clip.mp4");

        QCOMPARE(GetCaptureTime(video), QStringLiteral("2001/01/01;01:01:01"));

        installTool(folder.file("ffprobe"), "#!/bin/sh\nprintf '2002-02-02T02:02:02.0'\n");
        QCOMPARE(GetCaptureTime(video), QStringLiteral("2002/02/02;02:02:02"));

        // A copy that may not be run is passed over.
        QVERIFY(
            QFile::setPermissions(folder.file("ffprobe"), QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(GetCaptureTime(video), QStringLiteral("2001/01/01;01:01:01"));
    }

    void missingTool()
    {
        TempProgramFolder folder;
        QTemporaryDir emptyDir;
        const ScopedPath path(QFile::encodeName(emptyDir.path()));
        QCOMPARE(GetCaptureTime(makeVideo("clip.mp4")), QStringLiteral("none"));
    }

    void toolThatCannotStart()
    {
        TempProgramFolder folder;
        QTemporaryDir emptyDir;
        const ScopedPath path(QFile::encodeName(emptyDir.path()));
        // Executable, but no program the system can start.
        installTool(folder.file("ffprobe"), "#!/nonexistent/interpreter\n");
        QCOMPARE(GetCaptureTime(makeVideo("clip.mp4")), QStringLiteral("none"));
    }

    // Workers ask from their own threads at the same time; each call has
    // its own child process and output.
    void callsFromSeveralThreads()
    {
        TempProgramFolder folder;
        // Each clip's name carries the day the stand-in reports for it.
        installTool(
            folder.file("ffprobe"),
            standIn(
                "day=$(basename \"$3\" .mp4); sleep 0.2; printf '2020-01-%sT00:00:00.0' \"$day\""));
        QStringList videos;
        for (int day = 10; day < 16; ++day)
            videos << makeVideo(QString::number(day) + ".mp4");

        std::vector<QString> results(videos.size());
        std::vector<std::thread> threads;
        for (qsizetype i = 0; i < videos.size(); ++i)
            threads.emplace_back([&, i] { results[i] = GetCaptureTime(videos[i]); });
        for (std::thread& t : threads)
            t.join();

        for (qsizetype i = 0; i < videos.size(); ++i)
            QCOMPARE(results[i], QStringLiteral("2020/01/%1;00:00:00").arg(10 + i));
    }

    void realFfprobe()
    {
        const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
        if (ffmpeg.isEmpty() || QStandardPaths::findExecutable("ffprobe").isEmpty())
            QSKIP("ffmpeg and ffprobe are not installed");
        TempProgramFolder folder;
        const QString video = m_media.filePath("real clip; $(touch X).mp4");
        QProcess make;
        make.setProcessChannelMode(QProcess::MergedChannels);
        make.start(ffmpeg, {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                            "color=c=black:s=16x16:d=0.1", "-metadata",
                            "creation_time=2021-03-04T05:06:07.000000Z", video});
        QVERIFY(make.waitForFinished(60000));
        QVERIFY2(make.exitCode() == 0, make.readAll().constData());

        QCOMPARE(GetCaptureTime(video), QStringLiteral("2021/03/04;05:06:07"));
        QVERIFY(!QFile::exists(folder.file("X")));

        const QString renamed = m_media.filePath("real.MOV");
        QVERIFY(QFile::rename(video, renamed));
        QCOMPARE(GetCaptureTime(renamed), QStringLiteral("2021/03/04;05:06:07"));
    }
};

QTEST_GUILESS_MAIN(TestVideoCaptureTime)
#include "tst_videocapturetime.moc"
