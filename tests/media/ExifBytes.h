#pragma once

#include <QByteArray>
#include <QList>

#include <initializer_list>

// Builders of JPEG headers and Exif blocks for the tests and the fuzz corpus.
// Everything is made here byte by byte; no outside image is used.
namespace exifbytes {

enum class Order { Little, Big };

// Numbers written in one byte order, with patches at fixed places for the
// malformed cases.
class TiffWriter
{
public:
    explicit TiffWriter(Order order) : m_order(order) {}

    TiffWriter& u16(quint32 value)
    {
        const char a = char(value & 0xFF), b = char((value >> 8) & 0xFF);
        m_bytes.append(m_order == Order::Little ? a : b).append(m_order == Order::Little ? b : a);
        return *this;
    }
    TiffWriter& u32(quint32 value)
    {
        return m_order == Order::Little ? u16(value & 0xFFFF).u16(value >> 16)
                                        : u16(value >> 16).u16(value & 0xFFFF);
    }
    TiffWriter& bytes(const QByteArray& raw)
    {
        m_bytes.append(raw);
        return *this;
    }
    // The TIFF header: byte order, 42, and the offset of IFD0.
    TiffWriter& header(quint32 ifd0Offset)
    {
        m_bytes.append(m_order == Order::Little ? "II" : "MM");
        return u16(42).u32(ifd0Offset);
    }
    void patchU16(qsizetype at, quint32 value)
    {
        TiffWriter w(m_order);
        w.u16(value);
        m_bytes.replace(at, 2, w.data());
    }
    void patchU32(qsizetype at, quint32 value)
    {
        TiffWriter w(m_order);
        w.u32(value);
        m_bytes.replace(at, 4, w.data());
    }
    qsizetype size() const { return m_bytes.size(); }
    const QByteArray& data() const { return m_bytes; }

private:
    Order m_order;
    QByteArray m_bytes;
};

constexpr quint16 kAscii = 2;
constexpr quint16 kLong = 4;
constexpr quint16 kUndefined = 7;
constexpr quint16 kTagDateTime = 0x0132;
constexpr quint16 kTagExifPointer = 0x8769;
constexpr quint16 kTagOriginal = 0x9003;
constexpr quint16 kTagDigitized = 0x9004;
constexpr quint16 kShort = 3;
constexpr quint16 kTagThumbnailOffset = 0x0201;
constexpr quint16 kTagThumbnailLength = 0x0202;

// One directory entry; value holds the value's bytes, stored inline when
// they fit in four bytes and in the data area after the directories else.
struct Entry
{
    quint16 tag;
    quint16 type;
    quint32 count;
    QByteArray value;
};

// An ASCII entry with its terminating NUL, as cameras write it.
inline Entry ascii(quint16 tag, const QByteArray& text)
{
    return {tag, kAscii, quint32(text.size() + 1), text + '\0'};
}

// A well-formed TIFF block: header, IFD0, then the Exif directory when
// exifEntries is not empty (with the pointer to it as IFD0's last entry),
// then the values that do not fit inline.
inline QByteArray tiff(Order order, const QList<Entry>& ifd0Entries,
                       const QList<Entry>& exifEntries = {})
{
    const bool withExif = !exifEntries.isEmpty();
    const quint32 ifd0Count = quint32(ifd0Entries.size()) + (withExif ? 1 : 0);
    const quint32 ifd0Size = 2 + 12 * ifd0Count + 4;
    const quint32 exifOffset = 8 + ifd0Size;
    const quint32 exifSize = withExif ? 2 + 12 * quint32(exifEntries.size()) + 4 : 0;
    quint32 dataOffset = exifOffset + exifSize;

    TiffWriter out(order);
    QByteArray dataArea;
    auto writeEntry = [&](const Entry& e) {
        out.u16(e.tag).u16(e.type).u32(e.count);
        if (e.value.size() <= 4) {
            out.bytes(e.value + QByteArray(4 - e.value.size(), '\0'));
        } else {
            out.u32(dataOffset + quint32(dataArea.size()));
            dataArea.append(e.value);
        }
    };

    out.header(8).u16(ifd0Count);
    for (const Entry& e : ifd0Entries)
        writeEntry(e);
    if (withExif)
        out.u16(kTagExifPointer).u16(kLong).u32(1).u32(exifOffset);
    out.u32(0);
    if (withExif) {
        out.u16(quint32(exifEntries.size()));
        for (const Entry& e : exifEntries)
            writeEntry(e);
        out.u32(0);
    }
    out.bytes(dataArea);
    return out.data();
}

// Where tiffWithThumbnail() puts its parts, for the malformed cases.
constexpr qsizetype kIfd1LinkAt = 10; // IFD0's link to IFD1
constexpr qsizetype kIfd1At = 14;     // IFD1: two entries, then 0
constexpr qsizetype kThumbnailOffsetAt = kIfd1At + 2 + 8;
constexpr qsizetype kThumbnailLengthAt = kIfd1At + 2 + 12 + 8;
constexpr qsizetype kThumbnailAt = kIfd1At + 2 + 2 * 12 + 4;

// A TIFF block with an empty IFD0 linked to IFD1, whose JPEGInterchangeFormat
// entries point at thumbnail in the data area, as cameras store it.
inline QByteArray tiffWithThumbnail(Order order, const QByteArray& thumbnail, quint16 type = kLong)
{
    TiffWriter out(order);
    out.header(8).u16(0).u32(kIfd1At).u16(2);
    auto entry = [&](quint16 tag, quint32 value) {
        out.u16(tag).u16(type).u32(1);
        if (type == kShort)
            out.u16(value).u16(0);
        else
            out.u32(value);
    };
    entry(kTagThumbnailOffset, kThumbnailAt);
    entry(kTagThumbnailLength, quint32(thumbnail.size()));
    out.u32(0).bytes(thumbnail);
    return out.data();
}

// The APP1 payload of an Exif block: the mark, two padding bytes, the TIFF.
inline QByteArray exifPayload(const QByteArray& tiffBlock)
{
    return QByteArray("Exif\0\0", 6) + tiffBlock;
}

// A JPEG header made of segments, ending in a start of scan and a little
// stand-in image data.
class Jpeg
{
public:
    Jpeg() { m_bytes.append("\xFF\xD8", 2); }

    Jpeg& segment(quint8 marker, const QByteArray& payload)
    {
        const int length = int(payload.size()) + 2;
        m_bytes.append(char(0xFF)).append(char(marker));
        m_bytes.append(char(length >> 8)).append(char(length & 0xFF));
        m_bytes.append(payload);
        return *this;
    }
    Jpeg& app0() { return segment(0xE0, QByteArray("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14)); }
    Jpeg& app1(const QByteArray& payload) { return segment(0xE1, payload); }
    Jpeg& raw(const QByteArray& bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }
    // Start of scan, some entropy-coded bytes and the end of image.
    Jpeg& scan()
    {
        segment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
        m_bytes.append(QByteArray(64, '\x5A'));
        m_bytes.append("\xFF\xD9", 2);
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// A whole JPEG file with an Exif block put in as the first segment after
// the start of image.
inline QByteArray withExifSegment(const QByteArray& jpegFile, const QByteArray& tiffBlock)
{
    QByteArray app1 = Jpeg().app1(exifPayload(tiffBlock)).bytes().mid(2);
    return jpegFile.left(2) + app1 + jpegFile.mid(2);
}

// A typical photo header: APP0, the Exif block, scan.
inline QByteArray photo(const QByteArray& tiffBlock)
{
    return Jpeg().app0().app1(exifPayload(tiffBlock)).scan().bytes();
}

} // namespace exifbytes
