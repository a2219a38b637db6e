#pragma once

#include "selection/ByteSource.h"

// Passes reads and skips on to another source and counts the bytes read;
// skipped bytes are not counted, as they are never read.
class CountingByteSource final : public kyvane::ByteSource
{
public:
    explicit CountingByteSource(kyvane::ByteSource& inner) : m_inner(inner) {}

    std::size_t read(std::uint8_t* out, std::size_t size) override
    {
        const std::size_t got = m_inner.read(out, size);
        m_bytesRead += got;
        return got;
    }
    bool skip(std::size_t count) override { return m_inner.skip(count); }

    std::size_t bytesRead() const { return m_bytesRead; }

private:
    kyvane::ByteSource& m_inner;
    std::size_t m_bytesRead = 0;
};
