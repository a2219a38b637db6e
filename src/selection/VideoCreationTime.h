#pragma once

#include "core/EngineSettings.h"

#include <QString>
#include <QStringList>

namespace kyvane {

// The capture time of an MP4 or QuickTime file: the container's creation
// time as ffprobe reports it, or "none". Blocks until ffprobe ends, at most
// settings.ffprobeTimeoutMs.
QString videoCaptureTime(const QString& fullPath, const EngineSettings& settings);

// The ffprobe to run: the program folder's copy when there is an executable
// one, else the one on the search path; empty when there is none.
QString ffprobeProgram();

// The arguments that make ffprobe print only the creation time tag.
QStringList ffprobeArguments(const QString& fullPath);

// Shapes ffprobe's output "2023-05-01T12:34:56.000000Z\n" into
// "2023/05/01;12:34:56": the text before the first ".", every "-" made "/",
// the first "T" made ";"; "none" unless that is exactly 19 characters.
QString captureTimeFromCreationTime(const QString& toolOutput);

} // namespace kyvane
