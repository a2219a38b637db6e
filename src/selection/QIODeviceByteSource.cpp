#include "selection/QIODeviceByteSource.h"

#include <QIODevice>

namespace kyvane {

QIODeviceByteSource::QIODeviceByteSource(QIODevice& device) : m_device(device) {}

std::size_t QIODeviceByteSource::read(std::uint8_t* out, std::size_t size)
{
    const qint64 got = m_device.read(reinterpret_cast<char*>(out), qint64(size));
    return got > 0 ? std::size_t(got) : 0;
}

bool QIODeviceByteSource::skip(std::size_t count)
{
    const qint64 position = m_device.pos();
    if (qint64(count) > m_device.size() - position)
        return false;
    return m_device.seek(position + qint64(count));
}

} // namespace kyvane
