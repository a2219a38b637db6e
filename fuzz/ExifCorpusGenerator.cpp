// Writes the seed corpus of the Exif fuzz target: small JPEG headers made by
// the same builders as the tests, well-formed and broken.
//
//   exif_corpus_generator <folder>

#include "CorpusFolder.h"
#include "ExifBytes.h"

#include <QCoreApplication>

using namespace exifbytes;

namespace {

const QByteArray kDate = "2019:07:14 18:03:22";

QByteArray withU32(Order order, QByteArray block, qsizetype at, quint32 value)
{
    TiffWriter w(order);
    w.u32(value);
    return block.replace(at, 4, w.data());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto folder = corpusFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir& dir = *folder;

    const QByteArray allThree[] = {
        tiff(Order::Little, {ascii(kTagDateTime, "2001:01:01 01:01:01")},
             {ascii(kTagOriginal, kDate), ascii(kTagDigitized, "2018:02:03 04:05:06")}),
        tiff(Order::Big, {ascii(kTagDateTime, "2001:01:01 01:01:01")},
             {ascii(kTagOriginal, kDate), ascii(kTagDigitized, "2018:02:03 04:05:06")}),
    };
    const QByteArray exifApp1 = exifPayload(allThree[0]);
    const QByteArray thumbnail =
        QByteArray("\xFF\xD8", 2) + QByteArray(32, 'T') + QByteArray("\xFF\xD9", 2);

    const bool ok =
        writeCorpusFile(dir, "le-all-dates.jpg", photo(allThree[0])) &&
        writeCorpusFile(dir, "be-all-dates.jpg", photo(allThree[1])) &&
        writeCorpusFile(dir, "le-datetime-only.jpg",
              photo(tiff(Order::Little, {ascii(kTagDateTime, kDate)}))) &&
        writeCorpusFile(dir, "be-blank-original.jpg",
              photo(tiff(
                  Order::Big, {},
                  {ascii(kTagOriginal, "    :  :     :  :  "), ascii(kTagDigitized, kDate)}))) &&
        writeCorpusFile(dir, "no-date-tags.jpg", photo(tiff(Order::Little, {ascii(0x010F, "Maker")}))) &&
        writeCorpusFile(dir, "invalid-dates.jpg",
              photo(tiff(Order::Big, {ascii(kTagDateTime, "2019:02:30 10:00:00")},
                         {ascii(kTagOriginal, "2019:13:14 24:00:00")}))) &&
        writeCorpusFile(dir, "inline-value.jpg",
              photo(tiff(Order::Little, {{kTagDateTime, kAscii, 4, "2019"}}))) &&
        writeCorpusFile(dir, "no-app1.jpg", Jpeg().app0().scan().bytes()) &&
        writeCorpusFile(dir, "xmp-first.jpg",
              Jpeg()
                  .app1("http://ns.adobe.com/xap/1.0/ <x:xmpmeta/>")
                  .app1(exifApp1)
                  .scan()
                  .bytes()) &&
        writeCorpusFile(dir, "fill-bytes.jpg", Jpeg().raw("\xFF\xFF").app0().app1(exifApp1).scan().bytes()) &&
        writeCorpusFile(dir, "cut-in-app1.jpg", Jpeg().app0().app1(exifApp1).bytes().chopped(20)) &&
        writeCorpusFile(dir, "ifd0-count-past-end.jpg",
              photo(withU32(Order::Little, allThree[0], 8, 0x0000FFFF))) &&
        writeCorpusFile(dir, "exif-pointer-to-ifd0.jpg",
              photo(withU32(Order::Big, allThree[1], 22 + 8, 8))) &&
        writeCorpusFile(dir, "value-offset-outside.jpg",
              photo(withU32(Order::Little, allThree[0], 40 + 8, 0xFFFFFFF0))) &&
        writeCorpusFile(dir, "exif-payload-only.bin", exifApp1) &&
        writeCorpusFile(dir, "le-thumbnail.jpg", photo(tiffWithThumbnail(Order::Little, thumbnail))) &&
        writeCorpusFile(dir, "be-thumbnail-short.jpg",
              photo(tiffWithThumbnail(Order::Big, thumbnail, kShort))) &&
        writeCorpusFile(dir, "thumbnail-outside.jpg",
              photo(withU32(Order::Little, tiffWithThumbnail(Order::Little, thumbnail),
                            kThumbnailLengthAt, 0xFFFFFFF0))) &&
        writeCorpusFile(dir, "ifd1-is-ifd0.jpg",
              photo(withU32(Order::Big, tiffWithThumbnail(Order::Big, thumbnail), kIfd1LinkAt, 8)));
    return ok ? 0 : 1;
}
