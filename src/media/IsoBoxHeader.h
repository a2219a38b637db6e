#pragma once

#include "media/ByteSource.h"

#include <cstdint>
#include <optional>

namespace kyvane {

// The header of one box of an ISO base media (MP4) or QuickTime file: a
// 32-bit big-endian size that counts the header itself, a four-character
// type, and, when the size is 1, a 64-bit size after the type.
struct IsoBoxHeader
{
    std::uint32_t type = 0;
    std::uint64_t headerSize = 8; // 16 with a 64-bit size
    // Bytes of the box after its header; nothing when the box runs to the
    // end of what holds it (size 0).
    std::optional<std::uint64_t> payloadSize;
};

constexpr std::uint32_t isoBoxType(const char (&name)[5])
{
    return std::uint32_t(std::uint8_t(name[0])) << 24 | std::uint32_t(std::uint8_t(name[1])) << 16 |
           std::uint32_t(std::uint8_t(name[2])) << 8 | std::uint32_t(std::uint8_t(name[3]));
}

// Reads the next box header from the source. Nothing when the data ends
// inside the header or the size cannot hold the header (2 to 7, or a 64-bit
// size below 16), since the walk cannot go on from such a box.
std::optional<IsoBoxHeader> readIsoBoxHeader(ByteSource& source);

// Big-endian numbers of an MP4 file.
std::uint32_t bigEndian32(const std::uint8_t* bytes);
std::uint64_t bigEndian64(const std::uint8_t* bytes);

} // namespace kyvane
