#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kyvane {

// Writes a movie header's creation time as the creation time tag of a video,
// "2023-05-01T12:34:56.000000Z", in UTC. The rules are those FFmpeg's probe
// tool follows, found by running it:
// - 0 means no creation time: nothing;
// - a value from 2082844800 (1970-01-01 counted from 1904) on is counted
//   from 1904; a smaller one is taken as already counted from 1970, as some
//   writers store it;
// - a time whose microseconds overflow 64 bits gives nothing;
// - the year is written without padding and may have a sign or more than
//   four digits ("999-12-31T...", "10000-01-01T...").
std::optional<std::string> creationTimeText(std::int64_t stored);

} // namespace kyvane
