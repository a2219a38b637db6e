#include "media/JpegDecodeCost.h"

#include <QBuffer>
#include <QIODevice>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace kyvane {

namespace {

constexpr std::size_t kChunk = 16 * 1024;

// libjpeg ends the process on an error unless told otherwise: here an error
// jumps back to the reader, and warnings are not printed.
struct ErrorJump
{
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->back, 1);
}

void quiet(j_common_ptr, int) {}

// Feeds libjpeg from a device in chunks: only the header is read.
struct DeviceSource
{
    jpeg_source_mgr manager;
    QIODevice* device;
    JOCTET buffer[kChunk];
};

void initSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<DeviceSource*>(info->src);
    const qint64 got = source->device->read(reinterpret_cast<char*>(source->buffer), kChunk);
    if (got <= 0) {
        // The data ended: an end-of-image marker, which ends the header
        // with an error rather than a wait.
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        source->manager.bytes_in_buffer = 2;
    } else {
        source->manager.bytes_in_buffer = std::size_t(got);
    }
    source->manager.next_input_byte = source->buffer;
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count)
{
    auto* source = reinterpret_cast<DeviceSource*>(info->src);
    while (count > 0) {
        if (source->manager.bytes_in_buffer == 0)
            fillInput(info);
        const std::size_t step = std::min(std::size_t(count), source->manager.bytes_in_buffer);
        source->manager.next_input_byte += step;
        source->manager.bytes_in_buffer -= step;
        count -= long(step);
    }
}

void termSource(j_decompress_ptr) {}

} // namespace

std::optional<JpegDecodeCost> readJpegDecodeCost(QIODevice& device)
{
    jpeg_decompress_struct info{};
    ErrorJump errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpBack;
    errors.manager.emit_message = quiet;
    // Freed whether the header is read or an error jumps back; nothing
    // with a destructor lives between the jump's two ends.
    auto* source = new DeviceSource{};
    source->device = &device;
    source->manager.init_source = initSource;
    source->manager.fill_input_buffer = fillInput;
    source->manager.skip_input_data = skipInput;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = termSource;

    std::optional<JpegDecodeCost> cost;
    if (setjmp(errors.back) == 0) {
        jpeg_create_decompress(&info);
        info.src = &source->manager;
        if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK) {
            JpegDecodeCost read;
            read.width = info.image_width;
            read.height = info.image_height;
            read.components = info.num_components;
            read.wholePictureHeld =
                info.progressive_mode || info.comps_in_scan < info.num_components;
            cost = read;
        }
    }
    jpeg_destroy_decompress(&info);
    delete source;
    return cost;
}

std::optional<JpegDecodeCost> readJpegDecodeCost(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readJpegDecodeCost(buffer);
}

} // namespace kyvane
