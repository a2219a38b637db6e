#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kyvane {

// The raw text of the three date tags of an Exif block, each absent when its
// entry is missing or cannot be read inside the block. The text ends at its
// first NUL; it is not yet checked to be a date.
struct ExifDateTags
{
    std::optional<std::string> dateTimeOriginal;  // 0x9003, Exif directory
    std::optional<std::string> dateTimeDigitized; // 0x9004, Exif directory
    std::optional<std::string> dateTime;          // 0x0132, IFD0
};

// Reads the date tags from the payload of an APP1 segment. Returns nothing
// when the payload is not an Exif block: it does not begin with "Exif", or
// the TIFF header after the six-byte mark has no "II" or "MM" byte order.
//
// Every offset is checked against the payload; a directory whose entries do
// not all fit is not read; only IFD0 and the Exif directory it points to are
// visited, so no chain of offsets can make the reading loop.
std::optional<ExifDateTags> readExifDateTags(std::span<const std::uint8_t> app1Payload);

} // namespace kyvane
