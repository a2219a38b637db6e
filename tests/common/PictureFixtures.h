#pragma once

// Pictures for the thumbnail tests and benchmark: real small pictures, and
// small files whose headers claim huge pictures (decompression bombs).

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <QtEndian>

namespace picturefixtures {

// A picture of one colour, encoded as format ("JPEG", "PNG", "BMP", "GIF");
// a JPEG progressive if asked.
inline QByteArray pictureOf(const QColor& colour, const QSize& size, const char* format,
                            bool progressive = false)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// The JPEG with its frame header claiming width by height: a file of a few
// hundred bytes that says it is a huge picture.
inline QByteArray jpegClaiming(QByteArray jpeg, quint16 width, quint16 height)
{
    for (qsizetype at = 2; at + 9 < jpeg.size(); ++at) {
        const auto marker = quint8(jpeg[at + 1]);
        if (quint8(jpeg[at]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            qToBigEndian(height, jpeg.data() + at + 5);
            qToBigEndian(width, jpeg.data() + at + 7);
            return jpeg;
        }
    }
    return {};
}

inline quint32 crc32Of(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The PNG with its header chunk claiming width by height, its check sum
// made anew so that a decoder believes it.
inline QByteArray pngClaiming(QByteArray png, quint32 width, quint32 height)
{
    // Signature (8), IHDR length (4), "IHDR", width, height, five bytes, CRC.
    constexpr qsizetype kIhdrType = 12;
    qToBigEndian(width, png.data() + kIhdrType + 4);
    qToBigEndian(height, png.data() + kIhdrType + 8);
    qToBigEndian(crc32Of(png.mid(kIhdrType, 4 + 13)), png.data() + kIhdrType + 4 + 13);
    return png;
}

// bytes as a gzip stream (the compressed SVG form).
inline QByteArray gzipOf(const QByteArray& bytes)
{
    // qCompress gives a length of four bytes, a zlib stream of a header of
    // two bytes, the deflate data and an Adler-32 sum of four.
    const QByteArray zlib = qCompress(bytes);
    QByteArray gzip = QByteArray::fromHex("1f8b08000000000000ff");
    gzip += zlib.mid(4 + 2, zlib.size() - 4 - 2 - 4);
    char trailer[8];
    qToLittleEndian(crc32Of(bytes), trailer);
    qToLittleEndian(quint32(bytes.size()), trailer + 4);
    return gzip + QByteArray(trailer, 8);
}

// An SVG document of one green square with count further elements.
inline QByteArray svgWithElements(int count)
{
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'>"
                     "<rect width='40' height='40' fill='#00ff00'/>";
    for (int i = 0; i < count; ++i)
        svg += "<g/>";
    return svg + "</svg>";
}

// An SVG document whose text expands without end through its entities.
inline QByteArray svgWithEntityBomb()
{
    QByteArray svg = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY a 'aaaaaaaaaa'>";
    for (char level = 'b'; level <= 'j'; ++level) {
        const char previous = char(level - 1);
        svg += QByteArray("<!ENTITY ") + level + " '";
        for (int i = 0; i < 10; ++i)
            svg += QByteArray("&") + previous + ";";
        svg += "'>";
    }
    return svg + "]><svg xmlns='http://www.w3.org/2000/svg'><text>&j;</text></svg>";
}

// An SVG document in which each of levels groups uses the one before twice:
// a few lines that draw 2^levels squares.
inline QByteArray svgWithUseChain(int levels)
{
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' "
                     "xmlns:xlink='http://www.w3.org/1999/xlink' width='40' height='40'>"
                     "<defs><rect id='l0' width='40' height='40' fill='#00ff00'/>";
    for (int level = 1; level <= levels; ++level) {
        const QByteArray previous = "#l" + QByteArray::number(level - 1);
        svg += "<g id='l" + QByteArray::number(level) + "'><use xlink:href='" + previous +
               "'/><use xlink:href='" + previous + "'/></g>";
    }
    return svg + "</defs><use xlink:href='#l" + QByteArray::number(levels) + "'/></svg>";
}

// A baseline (SOF0) JPEG of width by height, three components without
// subsampling, each coded in a scan of its own: a sequential picture in
// several scans, which a decoder holds whole as coefficients, as it does a
// progressive one. Every block is zero: the picture is a mid grey.
inline QByteArray jpegInSeveralScans(quint16 width, quint16 height)
{
    auto segment = [](quint8 marker, const QByteArray& payload) {
        QByteArray out("\xFF", 1);
        out += char(marker);
        char length[2];
        qToBigEndian(quint16(payload.size() + 2), length);
        return out + QByteArray(length, 2) + payload;
    };
    QByteArray jpeg("\xFF\xD8", 2);
    jpeg += segment(0xDB, QByteArray(1, '\0') + QByteArray(64, '\x01'));
    QByteArray frame(1, '\x08');
    char size[4];
    qToBigEndian(height, size);
    qToBigEndian(width, size + 2);
    frame += QByteArray(size, 4);
    frame += char(3);
    for (char id = 1; id <= 3; ++id)
        frame += QByteArray(1, id) + QByteArray("\x11\x00", 2);
    jpeg += segment(0xC0, frame);
    // One code of one bit in each table: DC difference 0, end of block.
    const QByteArray oneCode = QByteArray(1, '\x01') + QByteArray(15, '\0') + QByteArray(1, '\0');
    jpeg += segment(0xC4, QByteArray(1, '\x00') + oneCode);
    jpeg += segment(0xC4, QByteArray(1, '\x10') + oneCode);
    const qint64 blocks = qint64((width + 7) / 8) * ((height + 7) / 8);
    for (char id = 1; id <= 3; ++id) {
        jpeg += segment(0xDA, QByteArray(1, '\x01') + QByteArray(1, id) +
                                  QByteArray("\x00\x00\x3F\x00", 4));
        jpeg += QByteArray((blocks * 2 + 7) / 8, '\0'); // two zero bits a block
    }
    return jpeg + QByteArray("\xFF\xD9", 2);
}

// The JPEG with its frame header hidden from a walk that takes every marker
// for one with a length: a TEM marker (FF 01), which stands alone, comes
// right after the start of image, and its two "length" bytes lead past the
// real frame header into an APP1 segment that holds a frame header of a
// 16 by 16 picture. A decoder skips the two bytes, reads the real frame and
// skips the APP1 segment.
inline QByteArray jpegFrameBehindStandaloneMarker(const QByteArray& jpeg)
{
    // The end of the first frame header, walking the segments.
    qsizetype at = 2;
    qsizetype frameEnd = -1;
    while (at + 4 <= jpeg.size() && quint8(jpeg[at]) == 0xFF) {
        const auto marker = quint8(jpeg[at + 1]);
        const qsizetype length = qFromBigEndian<quint16>(jpeg.constData() + at + 2);
        if (marker == 0xDA)
            break;
        at += 2 + length;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            frameEnd = at;
            break;
        }
    }
    if (frameEnd < 0)
        return {};
    const QByteArray fakeFrame = QByteArray::fromHex("ffc00011080010001003011100021101031101");
    QByteArray app1("\xFF\xE1", 2);
    char length[2];
    qToBigEndian(quint16(fakeFrame.size() + 2), length);
    app1 += QByteArray(length, 2) + fakeFrame;
    QByteArray middle = jpeg.mid(2, frameEnd - 2);
    for (int pad = 0; pad < 300; ++pad) {
        QByteArray padded = middle;
        if (pad > 0) {
            char commentLength[2];
            qToBigEndian(quint16(pad + 2), commentLength);
            padded +=
                QByteArray("\xFF\xFE", 2) + QByteArray(commentLength, 2) + QByteArray(pad, 'A');
        }
        // What the walk skips: the rest up to the fake frame header.
        const qsizetype skipped = padded.size() + 4;
        char temLength[2];
        qToBigEndian(quint16(skipped + 2), temLength);
        if (quint8(temLength[0]) == 0xFF || quint8(temLength[1]) == 0xFF)
            continue; // the decoder would take it for a marker
        return QByteArray("\xFF\xD8\xFF\x01", 4) + QByteArray(temLength, 2) + padded + app1 +
               jpeg.mid(frameEnd);
    }
    return {};
}

} // namespace picturefixtures
