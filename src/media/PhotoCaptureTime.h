#pragma once

#include <QString>

namespace kyvane {

// The capture time of a JPEG file: its Exif date; its last-modification time
// when it has an Exif segment without a usable date; else "none".
QString photoCaptureTime(const QString& fullPath);

} // namespace kyvane
