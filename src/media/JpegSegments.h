#pragma once

#include "media/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kyvane {

// Walks the header segments of a JPEG file from its start: each marker with
// the size of its payload, which the caller then reads or skips. The walk
// ends at start of scan (DA), end of image (D9), a marker without a length,
// or data that ends, so image data is never read.
class JpegSegments
{
public:
    struct Segment
    {
        std::uint8_t marker = 0;
        std::size_t payloadSize = 0; // at most 65533
    };

    // Reads the start of image (FF D8); false when the source is no JPEG.
    static bool startsJpeg(ByteSource& source);

    explicit JpegSegments(ByteSource& source) : m_source(source) {}

    // The next segment, its payload not yet read; nothing at the end of the
    // walk. Before the next call the caller reads or skips the payload.
    std::optional<Segment> next();

private:
    ByteSource& m_source;
};

} // namespace kyvane
