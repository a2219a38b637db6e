// Capture time of short MP4 files: Kyvane's own box reader against ffprobe,
// started once per file as the program used to, on the same files. Prints
// the time per file of each, their ratio, and the bytes read per file.
//
//   bench_capturetime [--files N] [--folder DIR]
//
// The files are copies of one ffmpeg clip, each with its own creation time,
// in /dev/shm (or --folder) so that no disk decides the figures.
#include "FfmpegTools.h"

#include "media/CaptureTime.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace kyvane;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The clip with its movie header's creation time moved on by index hours.
QByteArray variant(QByteArray clip, int index)
{
    const qsizetype time = clip.indexOf("mvhd") + 8;
    const quint32 created =
        qFromBigEndian<quint32>(clip.constData() + time) + quint32(index) * 3600;
    qToBigEndian(created, clip.data() + time);
    return clip;
}

// The clip's boxes with its media data grown to 1 GiB, written as a sparse
// file: the media data before the movie box or after it.
void writeLargeFile(const QString& path, const QByteArray& clip, bool mediaFirst)
{
    const qsizetype mediaAt = clip.indexOf("mdat") - 4;
    const qsizetype movieAt = clip.indexOf("moov") - 4;
    const QByteArray movie = clip.mid(movieAt, qFromBigEndian<quint32>(clip.constData() + movieAt));
    const quint64 mediaSize = quint64(1) << 30;
    QByteArray mediaHeader(16, '\0');
    qToBigEndian(quint32(1), mediaHeader.data());
    mediaHeader.replace(4, 4, "mdat");
    qToBigEndian(mediaSize, mediaHeader.data() + 8);

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(clip.left(mediaAt < movieAt ? mediaAt : movieAt)); // ftyp and the like
    if (!mediaFirst)
        file.write(movie);
    file.write(mediaHeader);
    if (!file.resize(file.pos() + qint64(mediaSize) - 16) || !file.seek(file.size()))
        qFatal("cannot grow %s", qPrintable(path));
    if (mediaFirst)
        file.write(movie);
}

// Bytes this process has read through read calls so far.
qint64 bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray first = io.readLine(); // "rchar: N"
    return first.startsWith("rchar:") ? first.mid(6).trimmed().toLongLong() : -1;
}

// Bytes read for the capture time of one file, the reading of /proc itself
// taken out.
qint64 bytesReadFor(const QString& path)
{
    const qint64 idle0 = bytesReadSoFar();
    const qint64 idle1 = bytesReadSoFar();
    const QString captured = GetCaptureTime(path);
    const qint64 after = bytesReadSoFar();
    if (captured == QLatin1String("none"))
        qFatal("no capture time for %s", qPrintable(path));
    return (after - idle1) - (idle1 - idle0);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int count = 1000;
    QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--files") == 0)
            count = std::max(1, atoi(argv[i + 1]));
        else if (qstrcmp(argv[i], "--folder") == 0)
            base = QString::fromLocal8Bit(argv[i + 1]);
    }
    QTemporaryDir folder(QDir(base).filePath(QStringLiteral("kyvane-bench-XXXXXX")));
    if (!folder.isValid())
        qFatal("cannot make a folder under %s", qPrintable(base));

    const QByteArray clip = ffmpegtools::makeClip(
        folder.filePath(QStringLiteral("clip.mp4")),
        {"-metadata", "creation_time=2023-05-01T12:34:56Z"}, QStringLiteral("64x64"));
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << folder.filePath(QStringLiteral("clip%1.mp4").arg(i, 4, 10, QChar('0')));
        writeFile(files.last(), variant(clip, i));
    }

    QElapsedTimer timer;
    timer.start();
    QStringList ours;
    for (const QString& file : std::as_const(files))
        ours << GetCaptureTime(file);
    const double oursMs = double(timer.nsecsElapsed()) / 1e6 / count;

    timer.restart();
    QStringList theirs;
    for (const QString& file : std::as_const(files))
        theirs << ffmpegtools::ffprobeCaptureTime(file);
    const double ffprobeMs = double(timer.nsecsElapsed()) / 1e6 / count;

    int different = 0;
    for (int i = 0; i < count; ++i)
        different += ours[i] != theirs[i] ? 1 : 0;

    // Reading stays small whatever the file's size: 1 GiB of (sparse) media
    // data before the movie box, and after it.
    const QString mediaFirst = folder.filePath(QStringLiteral("large-media-first.mp4"));
    const QString movieFirst = folder.filePath(QStringLiteral("large-movie-first.mp4"));
    writeLargeFile(mediaFirst, clip, true);
    writeLargeFile(movieFirst, clip, false);

    std::printf("capture time of %d short MP4 files (%lld bytes each)\n", count,
                static_cast<long long>(clip.size()));
    std::printf("  ffprobe, one process per file: %9.3f ms per file\n", ffprobeMs);
    std::printf("  own box reader:                %9.3f ms per file\n", oursMs);
    std::printf("  ratio own/ffprobe:             %9.5f   (target <= 0.01)\n", oursMs / ffprobeMs);
    std::printf("  files where the answers differ: %d\n", different);
    std::printf("  bytes read, short file:         %lld\n",
                static_cast<long long>(bytesReadFor(files.first())));
    for (const QString& large : {mediaFirst, movieFirst})
        std::printf("  bytes read, %s (%lld MiB): %lld\n", qPrintable(QFileInfo(large).fileName()),
                    static_cast<long long>(QFileInfo(large).size() >> 20),
                    static_cast<long long>(bytesReadFor(large)));
    return different == 0 ? 0 : 1;
}
