#pragma once

#include "media/ByteSource.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kyvane {

// The JPEG thumbnail that a camera stores in IFD1 of the Exif block (tags
// JPEGInterchangeFormat 0x0201 and its length 0x0202), as a view into the
// APP1 payload. Nothing when there is no IFD1, the tags are missing, the
// bytes lie outside the payload or do not begin with a JPEG start (FF D8).
// Only IFD0's link to IFD1 is followed, so no chain of offsets can loop.
std::optional<std::span<const std::uint8_t>>
exifThumbnailIn(std::span<const std::uint8_t> app1Payload);

// The embedded thumbnail of a JPEG file from its first APP1 segment, empty
// when it has none. Reads the header segments only, never the image data,
// so at most one segment (64 KB) is held.
std::vector<std::uint8_t> readExifThumbnail(ByteSource& source);

} // namespace kyvane
