#pragma once

#include <QtGlobal>

namespace kyvane {

// How much a picture may claim before the file explorer decodes it for a
// thumbnail. Checked on the picture's header alone, so a small file that
// claims a huge picture (a decompression bomb) costs nothing.
struct PictureBudget
{
    // A baseline JPEG is decoded at an eighth of its size a few rows at a
    // time: its cost is time, not memory.
    qint64 baselineJpegPixels = 200'000'000;
    // A progressive JPEG holds every coefficient of the whole picture while
    // it is decoded (two bytes for each of every component's samples), and
    // PNG, GIF and BMP are decoded whole at four bytes a pixel.
    qint64 progressiveJpegPixels = 24'000'000;
    qint64 wholeDecodePixels = 24'000'000;
    // A thumbnail embedded in the Exif block is a small picture by nature.
    int embeddedThumbnailSide = 1024;
    // SVG is rendered element by element: a document past these is refused
    // before it is parsed for rendering. Each <use> may repeat a whole tree.
    qint64 svgBytes = 256 * 1024;
    int svgElements = 5000;
    int svgUses = 16;
};

// The limits of the engine in one place. The shipped program always uses
// these defaults; tests pass shorter time-outs.
struct EngineSettings
{
    int connectTimeoutMs = 30000; // TCP connect
    int readTimeoutMs = 30000;    // every line read from a server
    qint64 chunkSize = 819200;    // bytes sent between two stop checks and reports
    // Workers record every outcome in the outcome store. Only the upload
    // benchmark turns it off, to measure what recording costs.
    bool recordOutcomes = true;
    PictureBudget pictures;
};

} // namespace kyvane
