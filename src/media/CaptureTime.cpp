#include "media/CaptureTime.h"

#include "media/CaptureExtension.h"
#include "media/PhotoCaptureTime.h"
#include "media/VideoCreationTime.h"

namespace kyvane {

QString GetCaptureTime(const QString& fullPath)
{
    const QString extension = captureExtension(fullPath);
    if (extension == QLatin1String(".jpg") || extension == QLatin1String(".jpeg"))
        return photoCaptureTime(fullPath);
    if (extension == QLatin1String(".mp4") || extension == QLatin1String(".mov"))
        return videoCaptureTime(fullPath);
    return QStringLiteral("none");
}

} // namespace kyvane
