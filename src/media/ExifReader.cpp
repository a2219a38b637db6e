#include "media/ExifReader.h"

#include "media/ExifDate.h"
#include "media/ExifDateTags.h"
#include "media/JpegApp1Finder.h"

namespace kyvane {

ExifReading readExifCaptureTime(ByteSource& source)
{
    ExifReading reading;
    const JpegApp1 app1 = findFirstApp1(source);
    if (app1.outcome != JpegApp1::Outcome::Found)
        return reading;
    const auto tags = readExifDateTags(app1.payload);
    if (!tags)
        return reading;

    reading.exifSegmentFound = true;
    for (const auto* tag : {&tags->dateTimeOriginal, &tags->dateTimeDigitized, &tags->dateTime}) {
        if (!*tag)
            continue;
        if (auto captureTime = captureTimeFromExifDate(**tag)) {
            reading.captureTime = std::move(captureTime);
            break;
        }
    }
    return reading;
}

} // namespace kyvane
