#include "media/JpegSegments.h"

namespace kyvane {

namespace {

constexpr std::uint8_t kMarkerPrefix = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;

bool readByte(ByteSource& source, std::uint8_t& byte)
{
    return source.readExact(&byte, 1);
}

} // namespace

bool JpegSegments::startsJpeg(ByteSource& source)
{
    std::uint8_t start[2];
    return source.readExact(start, 2) && start[0] == kMarkerPrefix && start[1] == kStartOfImage;
}

std::optional<JpegSegments::Segment> JpegSegments::next()
{
    // Every segment consumes at least four bytes, so the walk ends with the
    // data.
    std::uint8_t byte = 0;
    if (!readByte(m_source, byte) || byte != kMarkerPrefix)
        return std::nullopt;
    // One or more fill bytes FF come before the marker.
    do {
        if (!readByte(m_source, byte))
            return std::nullopt;
    } while (byte == kMarkerPrefix);
    const std::uint8_t marker = byte;
    if (marker == kStartOfScan || marker == kEndOfImage)
        return std::nullopt;

    std::uint8_t lengthBytes[2];
    if (!m_source.readExact(lengthBytes, 2))
        return std::nullopt;
    // The length counts its own two bytes.
    const unsigned length = (unsigned(lengthBytes[0]) << 8) | lengthBytes[1];
    if (length < 2)
        return std::nullopt;
    return Segment{marker, length - 2};
}

} // namespace kyvane
