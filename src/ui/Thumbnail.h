#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace kyvane {

// True for the picture files the file explorer shows a thumbnail of: .jpg,
// .jpeg, .bmp, .gif, .png and .svg, in any case.
bool isPictureFile(const QString& fileName);

// A picture fitted into box: the thumbnail a camera embedded in the Exif
// block where there is one, else the picture decoded straight at the small
// size (a JPEG is then decoded at a fraction of its size, never whole). Null
// when the file cannot be read or decoded.
QImage loadThumbnail(const QString& path, const QSize& box);

} // namespace kyvane
