#pragma once

#include <cstddef>
#include <cstdint>

namespace kyvane {

// Sequential access to the first bytes of a file, so that the JPEG walk runs
// the same over a file on disk and over a buffer in memory.
class ByteSource
{
public:
    virtual ~ByteSource() = default;

    // Copies up to size bytes into out; returns how many were copied. Fewer
    // than size only at the end of the data or on a read error.
    virtual std::size_t read(std::uint8_t* out, std::size_t size) = 0;

    // Moves past exactly count bytes; false (and the position is undefined)
    // when fewer than count bytes are left.
    virtual bool skip(std::size_t count) = 0;

    // Reads exactly size bytes; false when the data ends first.
    bool readExact(std::uint8_t* out, std::size_t size)
    {
        std::size_t done = 0;
        while (done < size) {
            const std::size_t got = read(out + done, size - done);
            if (got == 0)
                return false;
            done += got;
        }
        return true;
    }
};

} // namespace kyvane
