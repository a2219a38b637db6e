#pragma once

#include "media/ByteSource.h"

class QIODevice;

namespace kyvane {

// A ByteSource over an open, random-access device (a QFile). Skipping seeks,
// so skipped bytes are never read.
class QIODeviceByteSource final : public ByteSource
{
public:
    explicit QIODeviceByteSource(QIODevice& device);

    std::size_t read(std::uint8_t* out, std::size_t size) override;
    bool skip(std::size_t count) override;

private:
    QIODevice& m_device;
};

} // namespace kyvane
