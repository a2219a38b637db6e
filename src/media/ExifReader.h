#pragma once

#include "media/ByteSource.h"

#include <optional>
#include <string>

namespace kyvane {

struct ExifReading
{
    // True when the first APP1 segment is an Exif block that could be read,
    // whether or not it holds a date.
    bool exifSegmentFound = false;
    // "YYYY/MM/DD;hh:mm:ss" of the first valid of DateTimeOriginal,
    // DateTimeDigitized and DateTime.
    std::optional<std::string> captureTime;
};

// Reads the capture date of a JPEG from its first APP1 segment. A first
// APP1 that is not Exif (an XMP packet, an unknown byte order) counts as no
// Exif segment: a later Exif segment is not looked at. Uses only the
// standard library, so the fuzz target builds it alone.
ExifReading readExifCaptureTime(ByteSource& source);

} // namespace kyvane
