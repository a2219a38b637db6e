#pragma once

#include "core/EngineSettings.h"

#include <QString>

namespace kyvane {

// The moment a photo or video was taken, "YYYY/MM/DD;hh:mm:ss", or "none".
// ".jpg" and ".jpeg" are read for their Exif date, ".mp4" and ".mov" are
// asked of ffprobe, every other file has none. Thread-safe, no shared state.
QString GetCaptureTime(const QString& fullPath, const EngineSettings& settings = EngineSettings{});

} // namespace kyvane
