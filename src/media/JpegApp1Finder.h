#pragma once

#include "media/ByteSource.h"

#include <cstdint>
#include <vector>

namespace kyvane {

struct JpegApp1
{
    enum class Outcome {
        NotJpeg, // empty, unreadable, or not starting with FF D8
        NoApp1,  // the walk ended before any APP1 segment
        Found,   // payload holds the first APP1 segment
    };

    Outcome outcome = Outcome::NotJpeg;
    std::vector<std::uint8_t> payload; // at most 65533 bytes
};

// Walks the JPEG segments from the start of the source to the first APP1
// segment and returns its payload. The walk ends at start of scan (DA), end of
// image (D9), or a segment that cannot be read whole, so image data is never
// read. Other segments are skipped, not read.
JpegApp1 findFirstApp1(ByteSource& source);

} // namespace kyvane
