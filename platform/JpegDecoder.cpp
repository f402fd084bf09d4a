#include "platform/JpegDecoder.h"

#include <QColorSpace>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
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
    /// The data ran out and libjpeg went on as if the end marker had come.
    bool ranOut = false;
    QByteArrayView content;
    char message[JMSG_LENGTH_MAX] = {};
};

/// Whether the bytes libjpeg just skipped on its way to the marker it stands
/// on are all zeros: padding, not picture data left over.
bool skippedOnlyZeros(j_decompress_ptr info, QByteArrayView content, long skipped)
{
    // libjpeg warns before it moves its source past the marker, so the skipped
    // bytes end where the source stands; or, when the data ran out before an
    // end marker, where the content ends (the source then reads a stand-in).
    const auto *begin = reinterpret_cast<const JOCTET *>(content.data());
    const JOCTET *end = begin + content.size();
    const JOCTET *at = info->src->next_input_byte;
    if (at < begin || at > end)
        at = end;
    return skipped > 0 && skipped <= at - begin
           && std::all_of(at - skipped, at, [](JOCTET byte) { return byte == 0; });
}

bool losesPixels(j_decompress_ptr info, QByteArrayView content)
{
    switch (info->err->msg_code) {
    case JWRN_EXTRANEOUS_DATA:
        // Before the end marker, zeros may pad the last scan (endedWhole()
        // tells); anything else is a scan that did not decode to its own length.
        return info->err->msg_parm.i[1] != JPEG_EOI || !skippedOnlyZeros(info, content, info->err->msg_parm.i[0]);
    case JWRN_HIT_MARKER:        // a scan needed data that is not there
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
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
    if (errors->inPicture) {
        // Running out costs pixels only if a scan still needed data, which it
        // says itself, or if scans never came: scansCame() looks.
        if (info->err->msg_code == JWRN_JPEG_EOF)
            errors->ranOut = true;
        else if (losesPixels(reinterpret_cast<j_decompress_ptr>(info), errors->content))
            stop(info); // no use decoding the rest
    }
    ++info->err->num_warnings;
}

/// Whether every scan of a picture whose data came to an end early (before an
/// end marker, or in zeros) came. A scan that needed more warns; scans that
/// never came do not.
bool scansCame(j_decompress_ptr info)
{
    // Arithmetic decoding fills in what is missing without a warning.
    if (info->arith_code)
        return false;
    if (!jpeg_has_multiple_scans(info))
        return true;
    // Only a progressive picture records which scans came: every coefficient
    // of every component must have had its last refinement.
    if (!info->progressive_mode)
        return false;
    for (int component = 0; component < info->num_components; ++component) {
        const int *bits = info->coef_bits[component];
        if (!std::all_of(bits, bits + DCTSIZE2, [](int lowestBit) { return lowestBit == 0; }))
            return false;
    }
    return true;
}

/// How a picture decoded without loss came to its end.
struct Ending {
    bool scansCame = true;
    /// Where its data ended: at the end marker, or where the content did.
    qsizetype dataEnd = 0;
};

// The functions below call into libjpeg, which may jump back to their setjmp;
// they hold no object that a jump would fail to destroy.

bool startDecoding(jpeg_decompress_struct &info, ErrorManager &errors, const QByteArray &content, JOCTET **icc,
                   unsigned int *iccLength)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(content.constData()), (unsigned long)(content.size()));
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

std::optional<Ending> readPixels(jpeg_decompress_struct &info, ErrorManager &errors, uchar *bits,
                                qsizetype bytesPerLine, JSAMPLE *cmykRow)
{
    if (setjmp(errors.jump))
        return std::nullopt;
    while (info.output_scanline < info.output_height) {
        uchar *line = bits + qsizetype(info.output_scanline) * bytesPerLine;
        JSAMPROW row = cmykRow ? cmykRow : line;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return std::nullopt;
        if (cmykRow) {
            auto *out = reinterpret_cast<QRgb *>(line);
            for (JDIMENSION x = 0; x < info.output_width; ++x) {
                const JSAMPLE *in = cmykRow + size_t(x) * 4;
                const int k = in[3];
                out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
            }
        }
    }
    Ending ending;
    ending.scansCame = scansCame(&info); // before the end: finishing frees what tells
    jpeg_finish_decompress(&info);
    // Finishing reads the end marker; when the data ran out first, the source
    // stands in a stand-in marker of its own.
    const auto *begin = reinterpret_cast<const JOCTET *>(errors.content.data());
    const qsizetype read = info.src->next_input_byte - begin;
    ending.dataEnd = errors.ranOut || read < 2 || read > errors.content.size() ? errors.content.size() : read - 2;
    return ending;
}

/// Whether a scan of the picture runs short when its data is cut where the
/// decompressor's content ends, as if its end marker came right there.
bool runsShort(jpeg_decompress_struct &info, ErrorManager &errors)
{
    if (setjmp(errors.jump))
        return true;
    jpeg_create_decompress(&info);
    // The source puts an end marker where the bytes end.
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(errors.content.data()),
                 (unsigned long)(errors.content.size()));
    jpeg_read_header(&info, TRUE);
    // Each scan's data is read whole at any scale; the smallest skips most of the rest.
    info.scale_num = 1;
    info.scale_denom = 8;
    info.do_fancy_upsampling = FALSE;
    info.dct_method = JDCT_IFAST;
    errors.inPicture = true;
    jpeg_start_decompress(&info);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * JDIMENSION(info.output_components), 1);
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, row, 1);
    return false;
}

/// libjpeg's decompressor over `content`, destroyed with this; errors, and
/// warnings that mean lost pixels, jump back to the setjmp of the call decoding.
struct Decompressor {
    explicit Decompressor(QByteArrayView content)
    {
        errors.content = content;
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = stop;
        errors.base.emit_message = onMessage;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    jpeg_decompress_struct info{};
    ErrorManager errors;
};

/// Whether zeros just before the end of the picture's data are its own:
/// padding it needed none of, or its data's last bytes, which it needed to
/// the last (encoders pad a last byte with ones). Zeros are valid data, so a
/// tail that was never written (an exFAT file's short valid length, sectors
/// erased by a power loss) decodes silently and leaves zeros over. Data that
/// ends in zero bytes and is then padded with zeros reads the same way, and
/// is refused with it.
bool zerosAreItsOwn(QByteArrayView content, qsizetype dataEnd)
{
    qsizetype zerosFrom = dataEnd;
    while (zerosFrom > 0 && content[zerosFrom - 1] == 0)
        --zerosFrom;
    // Whether it needs any of its data from `cut` on.
    const auto needs = [&](qsizetype cut) {
        Decompressor probe(content.first(cut));
        return runsShort(probe.info, probe.errors);
    };
    if (zerosFrom == dataEnd || needs(dataEnd - 1))
        return true;
    return zerosFrom == dataEnd - 1 || !needs(zerosFrom);
}

/// Whether a picture decoded without loss came to the end of its data with
/// nothing missing.
bool endedWhole(QByteArrayView content, const Ending &ending, bool ranOut)
{
    const bool endsInZeros = ending.dataEnd > 0 && content[ending.dataEnd - 1] == 0;
    if ((ranOut || endsInZeros) && !ending.scansCame)
        return false;
    return !endsInZeros || zerosAreItsOwn(content, ending.dataEnd);
}

} // namespace

bool JpegDecoder::isJpeg(QByteArrayView content)
{
    return content.startsWith(QByteArrayView("\xff\xd8\xff", 3));
}

QImage JpegDecoder::decode(const QByteArray &content, int allocationLimitMB)
{
    Decompressor decompressor(content);
    jpeg_decompress_struct &info = decompressor.info;
    ErrorManager &errors = decompressor.errors;

    JOCTET *icc = nullptr;
    unsigned int iccLength = 0;
    const bool started = startDecoding(info, errors, content, &icc, &iccLength);
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
    const std::optional<Ending> ending =
        readPixels(info, errors, image.bits(), image.bytesPerLine(), cmykRow.empty() ? nullptr : cmykRow.data());
    if (!ending)
        throw Damaged(errors.message[0] ? errors.message : "the picture data ends early");
    if (!endedWhole(content, *ending, errors.ranOut))
        throw Damaged("the picture data ends early");
    if (icc && iccLength > 0)
        image.setColorSpace(QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char *>(icc), int(iccLength))));
    return image;
}

} // namespace pomelark
