#include "media/PhotoCaptureTime.h"

#include "media/ExifReader.h"
#include "media/OpenMediaFile.h"
#include "media/QIODeviceByteSource.h"

#include <QDateTime>
#include <QFile>

namespace kyvane {

namespace {

const QString kNone = QStringLiteral("none");

// Local time to two-second precision, the seconds rounded down to even.
QString modificationCaptureTime(const QFile& file)
{
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime).toLocalTime();
    if (!modified.isValid())
        return kNone;
    const QDate day = modified.date();
    const QTime time = modified.time();
    const QString text =
        QString::asprintf("%04d/%02d/%02d;%02d:%02d:%02d", day.year(), day.month(), day.day(),
                          time.hour(), time.minute(), time.second() - time.second() % 2);
    // A year outside 1..9999 would not fit the fixed form.
    return text.size() == 19 && day.year() > 0 ? text : kNone;
}

} // namespace

QString photoCaptureTime(const QString& fullPath)
{
    QFile file(fullPath);
    if (!openMediaFile(file))
        return kNone;
    QIODeviceByteSource source(file);
    const ExifReading reading = readExifCaptureTime(source);
    if (reading.captureTime)
        return QString::fromLatin1(*reading.captureTime);
    if (reading.exifSegmentFound)
        return modificationCaptureTime(file);
    return kNone;
}

} // namespace kyvane
