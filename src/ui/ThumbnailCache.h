#pragma once

#include "core/EngineSettings.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace kyvane {

// The thumbnails the desktop's file managers share (the freedesktop.org
// thumbnail standard): 128-pixel PNG files in the user's cache folder,
// ~/.cache/thumbnails/normal/, named by the MD5 of the file's URI and
// carrying that URI and the file's modification time, so a thumbnail made
// by a file manager serves here and one made here serves there.
namespace ThumbnailCache {

// The file's thumbnail fitted into box: the shared one where it is there
// and still of this version of the file, else made anew under budget and
// stored for the next time. Null when the picture is refused or cannot be
// read. Slow on a miss: call it off the user-interface thread.
QImage thumbnailFor(const QString& path, const QSize& box, const PictureBudget& budget);

// Where the shared thumbnail of path lies, whether it is there or not.
QString cacheFileFor(const QString& path);

// The side of the "normal" size.
constexpr int kNormalSide = 128;

} // namespace ThumbnailCache

} // namespace kyvane
