#pragma once

#include "media/ByteSource.h"

#include <span>

namespace kyvane {

// A ByteSource over a buffer the caller keeps alive.
class MemoryByteSource final : public ByteSource
{
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> data);

    std::size_t read(std::uint8_t* out, std::size_t size) override;
    bool skip(std::size_t count) override;

    // Bytes handed out or skipped so far.
    std::size_t position() const { return m_position; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};

} // namespace kyvane
