#include "media/QIODeviceByteSource.h"

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
    // Compared unsigned: a count beyond the largest qint64 (a hostile box
    // size) must not turn negative and seek backwards.
    const qint64 position = m_device.pos();
    const qint64 left = m_device.size() - position;
    if (left < 0 || count > quint64(left))
        return false;
    return m_device.seek(position + qint64(count));
}

} // namespace kyvane
