// libFuzzer entry point for the MP4/QuickTime box reader. The same function
// is replayed over the seed corpus by the normal test build (CorpusReplay.cpp).

#include "CountingByteSource.h"
#include "media/CreationTimeText.h"
#include "media/MovieCreationTime.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <span>

namespace {

// The reader promises to read little whatever the file claims.
constexpr std::size_t kMaxBytesRead = 64 * 1024;

std::int64_t secondsSince1970(std::int64_t stored)
{
    return stored >= 2082844800 ? stored - 2082844800 : stored;
}

// A text exists for every value but 0 and those whose microseconds overflow,
// and it is the UTC time of the value as gmtime gives it.
void checkText(std::int64_t stored)
{
    const auto text = kyvane::creationTimeText(stored);
    const std::int64_t seconds = secondsSince1970(stored);
    const bool expected =
        stored != 0 && seconds <= INT64_MAX / 1000000 && seconds >= -(INT64_MAX / 1000000);
    if (text.has_value() != expected)
        std::abort();
    if (!text)
        return;
    const std::time_t time = std::time_t(seconds);
    std::tm parts{};
    if (!gmtime_r(&time, &parts))
        std::abort();
    char gmtimeText[64];
    std::snprintf(gmtimeText, sizeof gmtimeText, "%lld-%02d-%02dT%02d:%02d:%02d.000000Z",
                  static_cast<long long>(parts.tm_year) + 1900, parts.tm_mon + 1, parts.tm_mday,
                  parts.tm_hour, parts.tm_min, parts.tm_sec);
    if (*text != gmtimeText)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);

    // The input as a whole file.
    CountingByteSource source(bytes);
    const auto stored = kyvane::readMovieCreationTime(source);
    if (source.position() > size || source.bytesRead() > kMaxBytesRead)
        std::abort();
    if (stored)
        checkText(*stored);

    // The first eight bytes as a stored creation time, to reach every value.
    if (size >= 8) {
        std::int64_t value = 0;
        std::memcpy(&value, data, sizeof value);
        checkText(value);
    }
    return 0;
}
