#include "platform/JpegFootprint.h"

#include "platform/FileDescriptor.h"

#include <QFile>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

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

/// The header's APPn and COM segments, counted as they go by.
struct SegmentTally {
    std::array<JpegFootprint::Segments, 16> application{};
    JpegFootprint::Segments comments;
    qint64 iccProfileBytes = 0;
};

/// The next byte of the source, or -1 when it has none to give now.
int nextByte(j_decompress_ptr info)
{
    jpeg_source_mgr *source = info->src;
    if (source->bytes_in_buffer == 0 && !source->fill_input_buffer(info))
        return -1;
    --source->bytes_in_buffer;
    return *source->next_input_byte++;
}

/// Counts the segment whose marker libjpeg has just read into the tally at
/// `client_data`, and skips it unread, but for the start of an APP2 segment,
/// which tells an ICC profile chunk: its size matters here, not its content,
/// and none of it is kept, however many segments there are.
boolean countSegment(j_decompress_ptr info)
{
    auto *tally = static_cast<SegmentTally *>(info->client_data);
    const int high = nextByte(info);
    const int low = nextByte(info);
    if (high < 0 || low < 0)
        return FALSE;
    // As libjpeg takes a length too short for itself: no content.
    long left = std::max((high << 8 | low) - 2, 0);
    const int marker = info->unread_marker;
    JpegFootprint::Segments &segments =
        marker == JPEG_COM ? tally->comments : tally->application[size_t(marker - JPEG_APP0)];
    ++segments.count;
    segments.bytes += left;
    // "ICC_PROFILE", its terminating zero, the chunk's number and the count of chunks.
    constexpr char iccTag[] = "ICC_PROFILE";
    constexpr long iccHeaderBytes = sizeof iccTag + 2;
    if (marker == JPEG_APP0 + 2 && left >= iccHeaderBytes) {
        char header[iccHeaderBytes];
        for (char &byte : header) {
            const int next = nextByte(info);
            if (next < 0)
                return FALSE;
            byte = char(next);
        }
        left -= iccHeaderBytes;
        if (std::memcmp(header, iccTag, sizeof iccTag) == 0)
            tally->iccProfileBytes += left;
    }
    if (left > 0)
        info->src->skip_input_data(info, left);
    return TRUE;
}

/// Reads the header of `content`, or of `file` when it is given, into `info`,
/// its segments into `tally`; false when it cannot. Holds no object that the
/// jump back would fail to destroy.
bool readHeader(jpeg_decompress_struct &info, QuietErrors &errors, SegmentTally &tally, QByteArrayView content,
                FILE *file)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    info.client_data = &tally;
    // APP0 and APP14 too, whose JFIF and Adobe headers tell libjpeg the colour
    // space, which the footprint does not depend on.
    for (int marker = JPEG_APP0; marker < JPEG_APP0 + 16; ++marker)
        jpeg_set_marker_processor(&info, marker, countSegment);
    jpeg_set_marker_processor(&info, JPEG_COM, countSegment);
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
    SegmentTally tally;
    const bool read = readHeader(info, errors, tally, content, file);
    std::optional<JpegFootprint> footprint;
    if (read) {
        footprint = JpegFootprint::of(info);
        footprint->applicationSegments = tally.application;
        footprint->comments = tally.comments;
        footprint->iccProfileBytes = tally.iccProfileBytes;
    }
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
    // Opened without blocking, and only a regular file: a named pipe in a
    // photo's place would wait for a writer.
    const FileDescriptor descriptor = FileDescriptor::openToRead(path);
    if (!descriptor.isRegularFile())
        return std::nullopt;
    return readOpen(descriptor.get());
}

std::optional<JpegFootprint> JpegFootprint::readOpen(int fd)
{
    // Read as it is needed: a file too large to hold, and on a card that may
    // go, is neither read whole nor mapped.
    FileDescriptor own(::dup(fd));
    if (!own.isOpen() || ::lseek(own.get(), 0, SEEK_SET) != 0)
        return std::nullopt;
    FILE *file = ::fdopen(own.get(), "rb");
    if (!file)
        return std::nullopt;
    own.release();
    std::optional<JpegFootprint> footprint = readFrom({}, file);
    std::fclose(file);
    return footprint;
}

} // namespace pomelark
