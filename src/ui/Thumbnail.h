#pragma once

#include "core/EngineSettings.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace kyvane {

// True for the picture files the file explorer shows a thumbnail of: .jpg,
// .jpeg, .bmp, .gif, .png and .svg, in any case.
bool isPictureFile(const QString& fileName);

// A picture fitted into box: the thumbnail a camera embedded in the Exif
// block where there is one, else the picture decoded straight at the small
// size. The decoder is chosen by the file's content among JPEG, PNG, GIF,
// BMP and SVG, whatever its name says, and a picture whose header claims
// more than budget allows is refused before any decoding. Null when the file
// is refused or cannot be read or decoded. Slow for big pictures: call it off
// the user-interface thread.
QImage loadThumbnail(const QString& path, const QSize& box, const PictureBudget& budget);

} // namespace kyvane
