// Writes the seed corpus of the MP4 fuzz target: small box structures made by
// the same builders as the tests, well-formed and broken. The corpus also
// holds three files made by FFmpeg (ffmpeg -f lavfi -i color=s=16x16:d=0.1
// -metadata creation_time=2023-05-01T12:34:56Z, as MP4 with and without
// -movflags +faststart and as MOV), which this program does not write.
//
//   mp4_corpus_generator <folder>

#include "CorpusFolder.h"
#include "Mp4Bytes.h"

#include <QCoreApplication>

using namespace mp4bytes;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto folder = corpusFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir& dir = *folder;

    const QByteArray header = mvhd(kMay2023);
    const QByteArray whole = movieLast(header);
    const bool ok =
        writeCorpusFile(dir, "movie-last.mp4", whole) &&
        writeCorpusFile(dir, "movie-first.mp4", movieFirst(header)) &&
        writeCorpusFile(dir, "version1.mp4", movieLast(mvhd64(kMay2023))) &&
        writeCorpusFile(dir, "no-creation-time.mp4", movieLast(mvhd(0))) &&
        writeCorpusFile(dir, "two-movies.mp4",
                        join({ftyp(), box("moov", header), box("moov", mvhd(1))})) &&
        writeCorpusFile(dir, "two-headers.mp4", join({ftyp(), box("moov", header + mvhd(1))})) &&
        writeCorpusFile(dir, "large-sizes.mp4",
                        join({ftyp(), largeBox("mdat", "data"),
                              largeBox("moov", largeBox("mvhd", header.mid(8)))})) &&
        writeCorpusFile(
            dir, "size-zero.mp4",
            join({ftyp(), boxWithSize(0, "moov", boxWithSize(0, "mvhd", header.mid(8)))})) &&
        writeCorpusFile(
            dir, "child-past-end.mp4",
            join({ftyp(), box("moov", header + boxWithSize(5000, "trak", {})), mdat()})) &&
        writeCorpusFile(dir, "small-size.mp4",
                        join({ftyp(), boxWithSize(4, "free", {}), box("moov", header)})) &&
        writeCorpusFile(dir, "cut-in-movie.mp4", whole.left(whole.size() - 10));
    return ok ? 0 : 1;
}
