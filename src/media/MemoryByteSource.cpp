#include "media/MemoryByteSource.h"

#include <algorithm>
#include <cstring>

namespace kyvane {

MemoryByteSource::MemoryByteSource(std::span<const std::uint8_t> data) : m_data(data) {}

std::size_t MemoryByteSource::read(std::uint8_t* out, std::size_t size)
{
    const std::size_t count = std::min(size, m_data.size() - m_position);
    if (count > 0)
        std::memcpy(out, m_data.data() + m_position, count);
    m_position += count;
    return count;
}

bool MemoryByteSource::skip(std::size_t count)
{
    if (count > m_data.size() - m_position)
        return false;
    m_position += count;
    return true;
}

} // namespace kyvane
