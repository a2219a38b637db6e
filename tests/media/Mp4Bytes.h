#pragma once

#include <QByteArray>
#include <QtEndian>

#include <initializer_list>

// Builders of MP4/QuickTime box structures for the tests and the fuzz corpus.
// Everything is made here byte by byte; no outside video is used.
namespace mp4bytes {

// 2023-05-01T12:34:56Z counted from 1904-01-01.
constexpr quint32 kMay2023 = 3765789296u;

inline QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray be64(quint64 value)
{
    QByteArray bytes(8, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray join(std::initializer_list<QByteArray> parts)
{
    QByteArray all;
    for (const QByteArray& part : parts)
        all += part;
    return all;
}

// A box with a 32-bit size that counts its header.
inline QByteArray box(const char* type, const QByteArray& payload)
{
    return be32(quint32(8 + payload.size())) + type + payload;
}

// A box with size 1 and a 64-bit size after the type.
inline QByteArray largeBox(const char* type, const QByteArray& payload)
{
    return be32(1) + type + be64(quint64(16 + payload.size())) + payload;
}

// A box whose size field says anything, for the hostile cases.
inline QByteArray boxWithSize(quint32 size, const char* type, const QByteArray& payload)
{
    return be32(size) + type + payload;
}

// A movie header of version 0 (32-bit times) with the usual 100-byte payload.
inline QByteArray mvhd(quint32 creationTime)
{
    return box("mvhd", join({be32(0), be32(creationTime), be32(creationTime), be32(1000), be32(120),
                             QByteArray(80, '\0')}));
}

// A movie header of version 1 (64-bit times), 112-byte payload.
inline QByteArray mvhd64(quint64 creationTime)
{
    return box("mvhd", join({be32(0x01000000), be64(creationTime), be64(creationTime), be32(1000),
                             be64(120), QByteArray(80, '\0')}));
}

inline QByteArray ftyp()
{
    return box("ftyp", QByteArray("isom") + be32(0x200) + "isomiso2avc1mp41");
}

inline QByteArray trak()
{
    return box("trak", box("tkhd", QByteArray(84, '\0')));
}

inline QByteArray mdat(int size = 64)
{
    return box("mdat", QByteArray(size, '\x5a'));
}

// The two usual layouts: media data before the movie box (as a camera
// writes) and after it (as "faststart" moves it).
inline QByteArray movieLast(const QByteArray& header)
{
    return join({ftyp(), mdat(), box("moov", header + trak())});
}

inline QByteArray movieFirst(const QByteArray& header)
{
    return join({ftyp(), box("moov", header + trak()), mdat()});
}

} // namespace mp4bytes
