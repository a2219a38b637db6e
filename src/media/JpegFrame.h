#pragma once

#include "media/ByteSource.h"

#include <cstdint>
#include <optional>

namespace kyvane {

// What a JPEG's frame header says of the picture, read before any image
// data: how big it claims to be and how it is coded. A progressive picture
// cannot be decoded at a fraction of its size without holding all of its
// coefficients, so its size costs far more memory than a baseline one's.
struct JpegFrame
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 0;
    bool progressive = false;

    std::uint64_t pixels() const { return std::uint64_t(width) * height; }
};

// The first start-of-frame segment (SOF0 to SOF15 but DHT, JPG and DAC) of
// the JPEG in source, walking the header segments only. Nothing when there
// is none before the image data, or it is cut short.
std::optional<JpegFrame> readJpegFrame(ByteSource& source);

} // namespace kyvane
