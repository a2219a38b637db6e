#include "media/JpegApp1Finder.h"

#include "media/JpegSegments.h"

namespace kyvane {

namespace {
constexpr std::uint8_t kApp1 = 0xE1;
} // namespace

JpegApp1 findFirstApp1(ByteSource& source)
{
    JpegApp1 result;
    if (!JpegSegments::startsJpeg(source))
        return result;

    result.outcome = JpegApp1::Outcome::NoApp1;
    JpegSegments segments(source);
    while (const auto segment = segments.next()) {
        if (segment->marker == kApp1) {
            // At most 65533 bytes: the only allocation here is bounded.
            result.payload.resize(segment->payloadSize);
            if (!source.readExact(result.payload.data(), segment->payloadSize)) {
                result.payload.clear();
                return result;
            }
            result.outcome = JpegApp1::Outcome::Found;
            return result;
        }
        if (!source.skip(segment->payloadSize))
            return result;
    }
    return result;
}

} // namespace kyvane
