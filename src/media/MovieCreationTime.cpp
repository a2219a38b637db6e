#include "media/MovieCreationTime.h"

#include "media/IsoBoxHeader.h"

#include <limits>

namespace kyvane {

namespace {

constexpr std::uint32_t kMovie = isoBoxType("moov");
constexpr std::uint32_t kMovieHeader = isoBoxType("mvhd");

bool skip(ByteSource& source, std::uint64_t count)
{
    if (count > std::numeric_limits<std::size_t>::max())
        return false;
    return source.skip(std::size_t(count));
}

// Reads the creation time at the start of an "mvhd" payload of payloadSize
// bytes and consumes the whole payload. *complete is false when the data
// ends before the payload does.
std::optional<std::int64_t> readMovieHeader(ByteSource& source, std::uint64_t payloadSize,
                                            bool& complete)
{
    complete = false;
    std::uint8_t versionAndFlags[4];
    if (payloadSize < sizeof versionAndFlags || !source.readExact(versionAndFlags, 4))
        return std::nullopt;
    const bool wide = versionAndFlags[0] == 1;
    const std::uint64_t fieldSize = wide ? 8 : 4;
    if (payloadSize < 4 + fieldSize)
        return std::nullopt;
    std::uint8_t field[8];
    if (!source.readExact(field, std::size_t(fieldSize)))
        return std::nullopt;
    const std::int64_t value =
        wide ? std::int64_t(bigEndian64(field)) : std::int64_t(bigEndian32(field));
    complete = skip(source, payloadSize - 4 - fieldSize);
    return value;
}

// Walks the children of a "moov" box of payloadSize bytes (nothing: up to
// the end of the file). A child that claims more than is left of the box is
// cut to what is left; a child that breaks the walk ends it, keeping a
// creation time already read.
std::optional<std::int64_t> readMovieBox(ByteSource& source,
                                         std::optional<std::uint64_t> payloadSize)
{
    std::optional<std::int64_t> creationTime;
    std::uint64_t left = payloadSize.value_or(std::numeric_limits<std::uint64_t>::max());
    for (int box = 0; box < kMaxBoxesPerLevel; ++box) {
        const auto header = readIsoBoxHeader(source);
        if (!header || header->headerSize > left)
            break;
        left -= header->headerSize;
        std::uint64_t childSize = left;
        if (header->payloadSize && *header->payloadSize < left)
            childSize = *header->payloadSize;

        bool complete = false;
        if (header->type == kMovieHeader) {
            const auto value = readMovieHeader(source, childSize, complete);
            if (!value)
                break;
            creationTime = value;
        } else {
            complete = skip(source, childSize);
        }
        left -= childSize;
        if (!complete || left == 0)
            break;
    }
    return creationTime;
}

} // namespace

std::optional<std::int64_t> readMovieCreationTime(ByteSource& source)
{
    for (int box = 0; box < kMaxBoxesPerLevel; ++box) {
        const auto header = readIsoBoxHeader(source);
        if (!header)
            return std::nullopt;
        if (header->type == kMovie)
            return readMovieBox(source, header->payloadSize);
        // A box up to the end of the file leaves nothing after it; one that
        // claims more than the file holds has no next box.
        if (!header->payloadSize || !skip(source, *header->payloadSize))
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace kyvane
