#pragma once

#include "media/MemoryByteSource.h"

#include <span>

// A source over a buffer that counts the bytes actually read; skipped bytes
// are not counted, as a file source seeks over them. Standard library only,
// so the fuzz targets use it too.
class CountingByteSource final : public kyvane::ByteSource
{
public:
    explicit CountingByteSource(std::span<const std::uint8_t> data) : m_inner(data) {}

    std::size_t read(std::uint8_t* out, std::size_t size) override
    {
        const std::size_t got = m_inner.read(out, size);
        m_bytesRead += got;
        return got;
    }
    bool skip(std::size_t count) override { return m_inner.skip(count); }

    std::size_t bytesRead() const { return m_bytesRead; }
    // Bytes read or skipped so far.
    std::size_t position() const { return m_inner.position(); }

private:
    kyvane::MemoryByteSource m_inner;
    std::size_t m_bytesRead = 0;
};
