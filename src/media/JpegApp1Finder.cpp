#include "media/JpegApp1Finder.h"

namespace kyvane {

namespace {

constexpr std::uint8_t kMarkerPrefix = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kApp1 = 0xE1;

bool readByte(ByteSource& source, std::uint8_t& byte)
{
    return source.readExact(&byte, 1);
}

} // namespace

JpegApp1 findFirstApp1(ByteSource& source)
{
    JpegApp1 result;
    std::uint8_t start[2];
    if (!source.readExact(start, 2) || start[0] != kMarkerPrefix || start[1] != kStartOfImage)
        return result;

    result.outcome = JpegApp1::Outcome::NoApp1;
    // Every turn consumes at least four bytes, so the walk ends with the data.
    for (;;) {
        std::uint8_t byte = 0;
        if (!readByte(source, byte) || byte != kMarkerPrefix)
            return result;
        // One or more fill bytes FF come before the marker.
        do {
            if (!readByte(source, byte))
                return result;
        } while (byte == kMarkerPrefix);
        const std::uint8_t marker = byte;
        if (marker == kStartOfScan || marker == kEndOfImage)
            return result;

        std::uint8_t lengthBytes[2];
        if (!source.readExact(lengthBytes, 2))
            return result;
        // The length counts its own two bytes, so it is at most 65535 - 2
        // bytes of payload: the only allocation here is bounded by that.
        const unsigned length = (unsigned(lengthBytes[0]) << 8) | lengthBytes[1];
        if (length < 2)
            return result;
        const std::size_t payloadSize = length - 2;

        if (marker == kApp1) {
            result.payload.resize(payloadSize);
            if (!source.readExact(result.payload.data(), payloadSize)) {
                result.payload.clear();
                return result;
            }
            result.outcome = JpegApp1::Outcome::Found;
            return result;
        }
        if (!source.skip(payloadSize))
            return result;
    }
}

} // namespace kyvane
