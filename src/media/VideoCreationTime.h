#pragma once

#include <QString>

namespace kyvane {

// The capture time of an MP4 or QuickTime file: the creation time of its
// movie header, shaped by captureTimeFromCreationTime, or "none". Reads only
// the box headers up to the movie header, never the media data.
QString videoCaptureTime(const QString& fullPath);

// Shapes a creation time tag "2023-05-01T12:34:56.000000Z\n" into
// "2023/05/01;12:34:56": the text before the first ".", every "-" made "/",
// the first "T" made ";"; "none" unless that has the capture-time form.
QString captureTimeFromCreationTime(const QString& creationTime);

} // namespace kyvane
