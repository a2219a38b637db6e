#pragma once

#include <QString>

namespace kyvane {

// The moment a photo or video was taken, "YYYY/MM/DD;hh:mm:ss", or "none".
// ".jpg" and ".jpeg" are read for their Exif date, ".mp4" and ".mov" for
// the creation time of their movie header, every other file has none.
// Thread-safe, no shared state.
QString GetCaptureTime(const QString& fullPath);

} // namespace kyvane
