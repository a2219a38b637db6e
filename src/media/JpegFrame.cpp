#include "media/JpegFrame.h"

#include "media/JpegSegments.h"

namespace kyvane {

namespace {

constexpr std::uint8_t kDefineHuffmanTables = 0xC4;
constexpr std::uint8_t kJpegExtension = 0xC8;
constexpr std::uint8_t kDefineArithmeticConditioning = 0xCC;

bool isStartOfFrame(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != kDefineHuffmanTables &&
           marker != kJpegExtension && marker != kDefineArithmeticConditioning;
}

// SOF2, SOF6, SOF10 and SOF14 code the picture progressively.
bool isProgressive(std::uint8_t marker)
{
    return (marker & 0x03) == 0x02;
}

} // namespace

std::optional<JpegFrame> readJpegFrame(ByteSource& source)
{
    if (!JpegSegments::startsJpeg(source))
        return std::nullopt;
    JpegSegments segments(source);
    while (const auto segment = segments.next()) {
        if (!isStartOfFrame(segment->marker)) {
            if (!source.skip(segment->payloadSize))
                return std::nullopt;
            continue;
        }
        // Precision, height, width, number of components.
        std::uint8_t header[6];
        if (segment->payloadSize < sizeof header || !source.readExact(header, sizeof header))
            return std::nullopt;
        JpegFrame frame;
        frame.height = (std::uint32_t(header[1]) << 8) | header[2];
        frame.width = (std::uint32_t(header[3]) << 8) | header[4];
        frame.components = header[5];
        frame.progressive = isProgressive(segment->marker);
        return frame;
    }
    return std::nullopt;
}

} // namespace kyvane
