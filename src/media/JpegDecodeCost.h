#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

class QIODevice;

namespace kyvane {

// What decoding a JPEG costs, read by the decoder's own library from the
// picture's header up to its first scan, so that what it finds is what the
// decoder will use (a hand-written walk can be led to another frame header
// than the one the decoder finds, behind a marker without a length).
struct JpegDecodeCost
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 0;
    // The decoder holds the coefficients of the whole picture, whatever the
    // scale it decodes at: a progressive picture, or one whose first scan
    // holds fewer components than the frame (the others come in later
    // scans).
    bool wholePictureHeld = false;

    std::uint64_t pixels() const { return std::uint64_t(width) * height; }
};

// From the start of device: nothing when it is no JPEG the decoder accepts.
std::optional<JpegDecodeCost> readJpegDecodeCost(QIODevice& device);
std::optional<JpegDecodeCost> readJpegDecodeCost(const QByteArray& bytes);

} // namespace kyvane
