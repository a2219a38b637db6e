#pragma once

#include "media/ByteSource.h"

#include <cstdint>
#include <optional>

namespace kyvane {

// Reads the creation time field of the movie header ("mvhd") of an MP4 or
// QuickTime file: seconds since 1904-01-01 00:00 UTC as the file states them,
// 32 bits in a version 0 header and 64 bits (taken as signed) in version 1.
//
// The top-level boxes are walked by their sizes up to the first "moov"; only
// that one is read, and of its children only the headers and the start of
// each "mvhd", the last of which decides. Media data ("mdat") and every other
// box are skipped, never read. Nothing when there is no such field, the
// structure breaks before it, or the walk meets more boxes than a real file
// holds. Uses only the standard library, so the fuzz target builds it alone.
std::optional<std::int64_t> readMovieCreationTime(ByteSource& source);

// Boxes looked at on each of the two levels before the walk gives up; real
// files hold a handful. It bounds the reading of a hostile file to a few tens
// of KiB.
inline constexpr int kMaxBoxesPerLevel = 1024;

} // namespace kyvane
