// libFuzzer entry point for the Exif reader. The same function is replayed
// over the seed corpus by the normal test build (CorpusReplay.cpp).

#include "media/ExifDate.h"
#include "media/ExifDateTags.h"
#include "media/ExifReader.h"
#include "media/ExifThumbnail.h"
#include "media/MemoryByteSource.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

namespace {

// Every capture time the reader gives must have the fixed form.
void checkCaptureTime(const std::string& text)
{
    static constexpr std::string_view kShape = "dddd/dd/dd;dd:dd:dd";
    if (text.size() != kShape.size())
        std::abort();
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i])
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);

    // The input as a whole file.
    kyvane::MemoryByteSource source(bytes);
    const kyvane::ExifReading reading = kyvane::readExifCaptureTime(source);
    if (reading.captureTime) {
        if (!reading.exifSegmentFound)
            std::abort();
        checkCaptureTime(*reading.captureTime);
    }
    if (source.position() > size)
        std::abort();

    // The input as the payload of an APP1 segment, which reaches the TIFF
    // parsing without the JPEG framing.
    if (const auto tags = kyvane::readExifDateTags(bytes)) {
        for (const auto* tag :
             {&tags->dateTimeOriginal, &tags->dateTimeDigitized, &tags->dateTime}) {
            if (!*tag)
                continue;
            if ((*tag)->size() > size)
                std::abort();
            if (const auto captureTime = kyvane::captureTimeFromExifDate(**tag))
                checkCaptureTime(*captureTime);
        }
    }

    // The embedded thumbnail, from the whole file and from the input as an
    // APP1 payload: a JPEG start inside the input, never past its end.
    kyvane::MemoryByteSource thumbnailSource(bytes);
    const std::vector<std::uint8_t> thumbnail = kyvane::readExifThumbnail(thumbnailSource);
    if (!thumbnail.empty() && (thumbnail.size() > size || thumbnail[0] != 0xFF))
        std::abort();
    if (const auto inPayload = kyvane::exifThumbnailIn(bytes)) {
        if (inPayload->data() < data || inPayload->data() + inPayload->size() > data + size ||
            inPayload->size() < 2 || (*inPayload)[1] != 0xD8)
            std::abort();
    }

    // The input as a date text.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto captureTime = kyvane::captureTimeFromExifDate(text))
        checkCaptureTime(*captureTime);
    return 0;
}
