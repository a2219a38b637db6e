#include "media/IsoBoxHeader.h"

namespace kyvane {

namespace {
constexpr std::uint64_t kCompactHeaderSize = 8;
constexpr std::uint64_t kLargeHeaderSize = 16;
} // namespace

std::uint32_t bigEndian32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
           std::uint32_t(bytes[2]) << 8 | std::uint32_t(bytes[3]);
}

std::uint64_t bigEndian64(const std::uint8_t* bytes)
{
    return std::uint64_t(bigEndian32(bytes)) << 32 | bigEndian32(bytes + 4);
}

std::optional<IsoBoxHeader> readIsoBoxHeader(ByteSource& source)
{
    std::uint8_t bytes[kCompactHeaderSize];
    if (!source.readExact(bytes, sizeof bytes))
        return std::nullopt;
    IsoBoxHeader header;
    header.type = bigEndian32(bytes + 4);
    const std::uint32_t size = bigEndian32(bytes);
    if (size == 0)
        return header;
    if (size != 1) {
        if (size < kCompactHeaderSize)
            return std::nullopt;
        header.payloadSize = size - kCompactHeaderSize;
        return header;
    }
    std::uint8_t large[8];
    if (!source.readExact(large, sizeof large))
        return std::nullopt;
    const std::uint64_t largeSize = bigEndian64(large);
    if (largeSize < kLargeHeaderSize)
        return std::nullopt;
    header.headerSize = kLargeHeaderSize;
    header.payloadSize = largeSize - kLargeHeaderSize;
    return header;
}

} // namespace kyvane
