#include "platform/JpegFootprint.h"

#include "platform/FileDescriptor.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

// In this order: jpeglib.h needs FILE declared.
#include <jpeglib.h>

namespace pomelark {

namespace {

struct QuietErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<QuietErrors *>(info->err)->jump, 1);
}

void ignore(j_common_ptr, int) {}

qint64 roundedUp(JDIMENSION value, int multiple)
{
    return (qint64(value) + multiple - 1) / multiple * multiple;
}

/// Reads the header of `content`, or of `file` when it is given, into `info`;
/// false when it cannot. Holds no object that the jump back would fail to destroy.
bool readHeader(jpeg_decompress_struct &info, QuietErrors &errors, QByteArrayView content, FILE *file)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    if (file)
        jpeg_stdio_src(&info, file);
    else
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(content.data()), (unsigned long)(content.size()));
    return jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
}

std::optional<JpegFootprint> readFrom(QByteArrayView content, FILE *file)
{
    jpeg_decompress_struct info{};
    QuietErrors errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.emit_message = ignore;
    const bool read = readHeader(info, errors, content, file);
    std::optional<JpegFootprint> footprint;
    if (read)
        footprint = JpegFootprint::of(info);
    jpeg_destroy_decompress(&info);
    return footprint;
}

} // namespace

qint64 JpegFootprint::outputBytes(QSize output) const
{
    return qint64(output.width()) * output.height() * (grey ? 1 : 4);
}

QSize JpegFootprint::scaledBy(int eighths) const
{
    const auto scaled = [eighths](int length) { return int((qint64(length) * eighths + 7) / 8); };
    return QSize(scaled(size.width()), scaled(size.height()));
}

bool JpegFootprint::fitsIn(qint64 fileBytes) const
{
    return arithmetic || fileBytes * 8 >= blocks;
}

JpegFootprint JpegFootprint::of(const jpeg_decompress_struct &info)
{
    JpegFootprint footprint;
    footprint.size = QSize(int(info.image_width), int(info.image_height));
    footprint.grey = info.num_components == 1;
    footprint.arithmetic = info.arith_code;
    // As jpeg_has_multiple_scans() tells, which wants a decompressor it may change.
    footprint.severalScans = info.progressive_mode || info.comps_in_scan < info.num_components;
    for (int index = 0; index < info.num_components; ++index) {
        const jpeg_component_info &component = info.comp_info[index];
        footprint.blocks += qint64(component.width_in_blocks) * component.height_in_blocks;
        footprint.coefficientBytes += roundedUp(component.width_in_blocks, component.h_samp_factor)
                                      * roundedUp(component.height_in_blocks, component.v_samp_factor)
                                      * qint64(DCTSIZE2 * sizeof(JCOEF));
    }
    return footprint;
}

std::optional<JpegFootprint> JpegFootprint::read(QByteArrayView content)
{
    return readFrom(content, nullptr);
}

std::optional<JpegFootprint> JpegFootprint::readFile(const QString &path)
{
    // Read as it is needed: a file too large to hold, and on a card that may
    // go, is neither read whole nor mapped. Opened without blocking, and only
    // a regular file: a named pipe in a photo's place would wait for a writer.
    FileDescriptor descriptor = FileDescriptor::openToRead(path);
    if (!descriptor.isRegularFile())
        return std::nullopt;
    FILE *file = ::fdopen(descriptor.get(), "rb");
    if (!file)
        return std::nullopt;
    descriptor.release();
    std::optional<JpegFootprint> footprint = readFrom({}, file);
    std::fclose(file);
    return footprint;
}

} // namespace pomelark
