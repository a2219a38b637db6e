// Writes the seed corpus of the MP4 fuzz target: small box structures made by
// the same builders as the tests, well-formed and broken. The corpus also
// holds three files made by FFmpeg (ffmpeg -f lavfi -i color=s=16x16:d=0.1
// -metadata creation_time=2023-05-01T12:34:56Z, as MP4 with and without
// -movflags +faststart and as MOV), which this program does not write.
//
//   mp4_corpus_generator <folder>

#include "Mp4Bytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace mp4bytes;

namespace {

bool write(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;

    const QByteArray header = mvhd(kMay2023);
    const QByteArray whole = movieLast(header);
    const bool ok =
        write(dir, "movie-last.mp4", whole) && write(dir, "movie-first.mp4", movieFirst(header)) &&
        write(dir, "version1.mp4", movieLast(mvhd64(kMay2023))) &&
        write(dir, "no-creation-time.mp4", movieLast(mvhd(0))) &&
        write(dir, "two-movies.mp4", join({ftyp(), box("moov", header), box("moov", mvhd(1))})) &&
        write(dir, "two-headers.mp4", join({ftyp(), box("moov", header + mvhd(1))})) &&
        write(dir, "large-sizes.mp4",
              join({ftyp(), largeBox("mdat", "data"),
                    largeBox("moov", largeBox("mvhd", header.mid(8)))})) &&
        write(dir, "size-zero.mp4",
              join({ftyp(), boxWithSize(0, "moov", boxWithSize(0, "mvhd", header.mid(8)))})) &&
        write(dir, "child-past-end.mp4",
              join({ftyp(), box("moov", header + boxWithSize(5000, "trak", {})), mdat()})) &&
        write(dir, "small-size.mp4",
              join({ftyp(), boxWithSize(4, "free", {}), box("moov", header)})) &&
        write(dir, "cut-in-movie.mp4", whole.left(whole.size() - 10));
    return ok ? 0 : 1;
}
