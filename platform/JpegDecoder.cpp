#include "platform/JpegDecoder.h"

#include <QColorSpace>
#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// In this order: jpeglib.h needs FILE declared, jerror.h needs jpeglib.h's configuration.
#include <jpeglib.h>
#include <jerror.h>

namespace pomelark {

namespace {

/// libjpeg's error manager, extended: errors jump back to the decode, and
/// warnings that mean lost or wrong pixels end it the same way.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    /// Header warnings (stray bytes between markers) cost no pixels.
    bool inPicture = false;
    char message[JMSG_LENGTH_MAX] = {};
};

bool losesPixels(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:          // the file ends early
    case JWRN_HIT_MARKER:        // a scan ends early
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_EXTRANEOUS_DATA:   // the scan's data did not decode to its own length
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        break;
    }
    return false;
}

[[noreturn]] void stop(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // trace messages
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    if (errors->inPicture && losesPixels(info->err->msg_code))
        stop(info); // no use decoding the rest
    ++info->err->num_warnings;
}

// The two functions below call into libjpeg, which may jump back to their
// setjmp; they hold no object that a jump would fail to destroy.

bool startDecoding(jpeg_decompress_struct &info, ErrorManager &errors, std::FILE *file, JOCTET **icc,
                   unsigned int *iccLength)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    jpeg_read_icc_profile(&info, icc, iccLength);
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        break;
    default:
        // Straight into QImage::Format_RGB32's 0xffRRGGBB words.
        info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
        break;
    }
    errors.inPicture = true;
    jpeg_start_decompress(&info);
    return true;
}

bool readPixels(jpeg_decompress_struct &info, ErrorManager &errors, uchar *bits, qsizetype bytesPerLine,
                JSAMPLE *cmykRow)
{
    if (setjmp(errors.jump))
        return false;
    while (info.output_scanline < info.output_height) {
        uchar *line = bits + qsizetype(info.output_scanline) * bytesPerLine;
        JSAMPROW row = cmykRow ? cmykRow : line;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return false;
        if (cmykRow) {
            auto *out = reinterpret_cast<QRgb *>(line);
            for (JDIMENSION x = 0; x < info.output_width; ++x) {
                const JSAMPLE *in = cmykRow + size_t(x) * 4;
                const int k = in[3];
                out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

} // namespace

bool JpegDecoder::isJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(3);
    return head == QByteArray("\xff\xd8\xff", 3);
}

QImage JpegDecoder::decode(const QString &path, int allocationLimitMB)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(QFile::encodeName(path).constData(), "rbe"));
    if (!file)
        return {};

    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = stop;
    errors.base.emit_message = onMessage;
    const std::unique_ptr<jpeg_decompress_struct, void (*)(jpeg_decompress_struct *)> destroyer(
        &info, [](jpeg_decompress_struct *object) { jpeg_destroy_decompress(object); });

    JOCTET *icc = nullptr;
    unsigned int iccLength = 0;
    const bool started = startDecoding(info, errors, file.get(), &icc, &iccLength);
    const std::unique_ptr<JOCTET, decltype(&std::free)> iccOwner(icc, &std::free);
    if (!started)
        throw Damaged(errors.message);

    const bool grey = info.out_color_space == JCS_GRAYSCALE;
    const qint64 bytes = qint64(info.output_width) * info.output_height * (grey ? 1 : 4);
    if (bytes > qint64(allocationLimitMB) * 1024 * 1024)
        return {};
    QImage image(int(info.output_width), int(info.output_height), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    std::vector<JSAMPLE> cmykRow(info.out_color_space == JCS_CMYK ? size_t(info.output_width) * 4 : 0);
    if (!readPixels(info, errors, image.bits(), image.bytesPerLine(), cmykRow.empty() ? nullptr : cmykRow.data()))
        throw Damaged(errors.message[0] ? errors.message : "the picture data ends early");
    if (icc && iccLength > 0)
        image.setColorSpace(QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char *>(icc), int(iccLength))));
    return image;
}

} // namespace pomelark
