#include "platform/JpegDecoder.h"

#include "platform/JpegFootprint.h"
#include "platform/StoppableWork.h"

#include <QColorSpace>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    /// Zeros libjpeg skipped after the picture's last block on its way to the
    /// end marker: it needed none of them.
    long zerosBeforeEnd = 0;
    /// A bit for each component that a scan named.
    unsigned scannedComponents = 0;
    /// The most libjpeg's own buffers may take, in bytes.
    qint64 memoryLimit = 0;
    /// The row of blocks an arithmetic decoder had come to when it found the
    /// end marker before the end of its scan; -1 when it did not.
    int endMetInRow = -1;
    QByteArrayView content;
    char message[JMSG_LENGTH_MAX] = {};
    /// Looked at between rows; once requested, the decode jumps back stopped.
    std::stop_token stop;
    bool stopped = false;
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

/// Notes the component a scan header names, for scansCame().
void noteScanned(j_decompress_ptr info, ErrorManager &errors, int componentId)
{
    for (int index = 0; index < info->num_components; ++index) {
        if (info->comp_info[index].component_id == componentId) {
            errors.scannedComponents |= 1u << index;
            return;
        }
    }
}

void onMessage(j_common_ptr info, int level)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    if (level >= 0) { // trace messages
        if (info->err->msg_code == JTRC_SOS_COMPONENT)
            noteScanned(reinterpret_cast<j_decompress_ptr>(info), *errors, info->err->msg_parm.i[0]);
        return;
    }
    if (errors->inPicture) {
        // Running out costs pixels only if a scan still needed data, which it
        // says itself, or if scans never came: scansCame() looks.
        if (info->err->msg_code == JWRN_JPEG_EOF)
            errors->ranOut = true;
        else if (losesPixels(reinterpret_cast<j_decompress_ptr>(info), errors->content))
            stop(info); // no use decoding the rest
        else if (info->err->msg_code == JWRN_EXTRANEOUS_DATA)
            errors->zerosBeforeEnd = info->err->msg_parm.i[0];
    }
    ++info->err->num_warnings;
}

/// Whether every scan of a picture whose data came to an end early (before an
/// end marker, or in zeros) came. A scan that needed more warns; scans that
/// never came do not.
bool scansCame(j_decompress_ptr info, unsigned scannedComponents)
{
    if (!jpeg_has_multiple_scans(info))
        return true;
    // A sequential picture gives each component one scan.
    if (!info->progressive_mode)
        return scannedComponents == (1u << info->num_components) - 1;
    // A progressive one: every coefficient of every component must have had
    // its last refinement.
    for (int component = 0; component < info->num_components; ++component) {
        const int *bits = info->coef_bits[component];
        if (!std::all_of(bits, bits + DCTSIZE2, [](int lowestBit) { return lowestBit == 0; }))
            return false;
    }
    return true;
}

/// Called between rows of blocks of an arithmetic-coded picture. Its decoder
/// meets the end marker with the data it needs for the rest of the scan, and
/// takes zeros for it without a word: a whole picture's encoder leaves out the
/// zeros that end its data, a flat end most (a white margin, a black bar), and
/// a cut file that something ended with a marker reads the same. Markers
/// between scans and restart intervals say the data went on.
void watchArithmeticEnd(j_common_ptr common)
{
    auto *info = reinterpret_cast<j_decompress_ptr>(common);
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    if (info->unread_marker != JPEG_EOI || info->input_iMCU_row >= info->total_iMCU_rows || errors->endMetInRow >= 0)
        return;
    errors->endMetInRow = int(info->input_iMCU_row);
    // The end came in this scan, so it is the last: a picture that its scans
    // leave unfinished lost those that should have followed.
    if (jpeg_has_multiple_scans(info) && !scansCame(info, errors->scannedComponents)) {
        std::snprintf(errors->message, sizeof errors->message, "the picture data ends early");
        std::longjmp(errors->jump, 1);
    }
}

/// How a picture decoded without loss came to its end.
struct Ending {
    bool arithmetic = false;
    /// A sequential picture in more than one scan.
    bool sequentialScans = false;
    bool scansCame = true;
    /// Where its data ended: at the end marker, or where the content did.
    qsizetype dataEnd = 0;
    /// Where the decoder stood when it had decoded the last block: past what it
    /// needed and what it read ahead of its need (a few bytes).
    qsizetype lastBlockEnd = 0;
};

// The functions below call into libjpeg, which may jump back to their setjmp;
// they hold no object that a jump would fail to destroy.

/// Makes the decompressor, its buffers bounded: past the bound its start fails
/// (it has nowhere else to put them) instead of taking the memory.
void create(jpeg_decompress_struct &info, const ErrorManager &errors)
{
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = long(std::max<qint64>(errors.memoryLimit, 1));
}

bool readHeader(jpeg_decompress_struct &info, ErrorManager &errors, const QByteArray &content, JOCTET **icc,
                unsigned int *iccLength)
{
    if (setjmp(errors.jump))
        return false;
    create(info, errors);
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
    jpeg_calc_output_dimensions(&info);
    return true;
}

bool startDecoding(jpeg_decompress_struct &info, ErrorManager &errors)
{
    if (setjmp(errors.jump))
        return false;
    errors.inPicture = true;
    jpeg_start_decompress(&info);
    return true;
}

/// Whether every pixel of `line` is the colour at `pixel`.
bool isOneColour(const uchar *line, JDIMENSION width, int bytesPerPixel, const uchar *pixel)
{
    for (JDIMENSION x = 0; x < width; ++x, line += bytesPerPixel) {
        if (std::memcmp(line, pixel, size_t(bytesPerPixel)) != 0)
            return false;
    }
    return true;
}

std::optional<Ending> readPixels(jpeg_decompress_struct &info, ErrorManager &errors, uchar *bits,
                                qsizetype bytesPerLine, JSAMPLE *cmykRow)
{
    if (setjmp(errors.jump))
        return std::nullopt;
    const int bytesPerPixel = info.out_color_space == JCS_GRAYSCALE ? 1 : 4;
    const JDIMENSION rowOfBlocksHeight = JDIMENSION(info.max_v_samp_factor * DCTSIZE);
    const bool oneScan = !jpeg_has_multiple_scans(&info);
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
        // Zeros in place of data a whole picture's encoder left out decode as
        // its flat end: one colour, from the row of blocks after the end's on
        // (before it, the colours of the last data blend in). Anything else
        // was made of nothing.
        if (oneScan && errors.endMetInRow >= 0) {
            const JDIMENSION flatFrom = JDIMENSION(errors.endMetInRow + 1) * rowOfBlocksHeight;
            const JDIMENSION at = info.output_scanline - 1;
            if (at >= flatFrom
                && !isOneColour(line, info.output_width, bytesPerPixel, bits + qsizetype(flatFrom) * bytesPerLine)) {
                std::snprintf(errors.message, sizeof errors.message, "the picture data ends early");
                return std::nullopt;
            }
        }
    }
    Ending ending;
    ending.arithmetic = info.arith_code;
    ending.sequentialScans = jpeg_has_multiple_scans(&info) && !info.progressive_mode;
    ending.scansCame = scansCame(&info, errors.scannedComponents); // before the end: finishing frees what tells
    jpeg_finish_decompress(&info);
    // Finishing reads the end marker; when the data ran out first, the source
    // stands in a stand-in marker of its own.
    const auto *begin = reinterpret_cast<const JOCTET *>(errors.content.data());
    const qsizetype read = info.src->next_input_byte - begin;
    ending.dataEnd = errors.ranOut || read < 2 || read > errors.content.size() ? errors.content.size() : read - 2;
    ending.lastBlockEnd = ending.dataEnd - std::clamp<qsizetype>(errors.zerosBeforeEnd, 0, ending.dataEnd);
    return ending;
}

/// Called between rows: ends a decode whose stop was requested, and watches an
/// arithmetic-coded picture's end.
void watchProgress(j_common_ptr common)
{
    auto *errors = reinterpret_cast<ErrorManager *>(common->err);
    if (errors->stop.stop_requested()) {
        errors->stopped = true;
        std::longjmp(errors->jump, 1);
    }
    if (reinterpret_cast<j_decompress_ptr>(common)->arith_code)
        watchArithmeticEnd(common);
}

/// Reads the header of the decompressor's content, for a probe; jumps to the
/// caller's setjmp on errors.
void readProbeHeader(jpeg_decompress_struct &info, const ErrorManager &errors)
{
    create(info, errors);
    // The source puts an end marker where the bytes end.
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(errors.content.data()),
                 (unsigned long)(errors.content.size()));
    jpeg_read_header(&info, TRUE);
}

/// Whether a scan of the picture runs short when its data is cut where the
/// decompressor's content ends, as if its end marker came right there.
bool runsShort(jpeg_decompress_struct &info, ErrorManager &errors)
{
    if (setjmp(errors.jump))
        return true;
    readProbeHeader(info, errors);
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

/// Appends to `coefficients` those of the last blocks of each component (its
/// last MCU row) as decoded from the decompressor's content. False when a scan
/// runs short or the data is damaged.
bool readLastBlocks(jpeg_decompress_struct &info, ErrorManager &errors, std::vector<JCOEF> &coefficients)
{
    if (setjmp(errors.jump))
        return false;
    readProbeHeader(info, errors);
    errors.inPicture = true;
    jvirt_barray_ptr *arrays = jpeg_read_coefficients(&info);
    for (int index = 0; index < info.num_components; ++index) {
        const jpeg_component_info &component = info.comp_info[index];
        // The arrays hold whole MCU rows.
        const JDIMENSION rows = JDIMENSION(component.v_samp_factor);
        const JDIMENSION height = (component.height_in_blocks + rows - 1) / rows * rows;
        JBLOCKARRAY blocks = (*info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&info), arrays[index],
                                                            height - rows, rows, FALSE);
        for (JDIMENSION row = 0; row < rows; ++row) {
            for (JDIMENSION block = 0; block < component.width_in_blocks; ++block)
                coefficients.insert(coefficients.end(), blocks[row][block], blocks[row][block] + DCTSIZE2);
        }
    }
    return true;
}

/// libjpeg's decompressor over `content`, destroyed with this; errors, and
/// warnings that mean lost pixels, jump back to the setjmp of the call decoding.
struct Decompressor {
    /// libjpeg's own buffers may take at most `memoryLimit` bytes.
    Decompressor(QByteArrayView content, qint64 memoryLimit)
    {
        errors.content = content;
        errors.memoryLimit = memoryLimit;
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

/// Whether the picture needs any of its data from `cut` on.
bool needsFrom(QByteArrayView content, qsizetype cut, qint64 memoryLimit)
{
    Decompressor probe(content.first(cut), memoryLimit);
    return runsShort(probe.info, probe.errors);
}

/// Whether the picture, which needs its data into byte `end - 1`, needs the
/// last bit of that byte: whether setting it changes the last blocks, or
/// spoils them. Encoders fill what is left of a last byte with ones, so data
/// that ends in a zero byte needs every bit of it.
bool needsLastBit(QByteArrayView content, qsizetype end, qint64 memoryLimit)
{
    std::vector<JCOEF> asIs, changed;
    {
        Decompressor probe(content.first(end), memoryLimit);
        if (!readLastBlocks(probe.info, probe.errors, asIs))
            return true;
    } // its blocks go before the next decode's come
    QByteArray lastBitSet = content.first(end).toByteArray();
    lastBitSet[end - 1] = char(lastBitSet[end - 1] | 1);
    Decompressor probe(lastBitSet, memoryLimit);
    return !readLastBlocks(probe.info, probe.errors, changed) || changed != asIs;
}

/// Whether the zeros that end the picture's data are its own: padding it
/// needed none of, or its data's last bytes, which it needs to the last bit.
/// Zeros are valid data, so a tail that was never written (an exFAT file's
/// short valid length, sectors erased by a power loss) decodes silently and
/// leaves zeros over; the decoder is done with such a tail wherever the
/// picture happens to end, most often within a byte. Data that ends in zero
/// bytes and is then padded with zeros reads the same way, and is refused with
/// it: a photo refused stays on the card, one taken for whole is sent damaged.
/// The probes read the picture's coefficients whole, within `memoryLeft`
/// bytes: a picture too large for that is not taken to end in its own zeros.
bool zerosAreItsOwn(QByteArrayView content, const Ending &ending, const JpegFootprint &footprint, qint64 memoryLeft)
{
    qsizetype zerosFrom = ending.dataEnd;
    while (zerosFrom > 0 && content[zerosFrom - 1] == 0)
        --zerosFrom;
    // A zero after an FF is the data's own stuffing.
    if (zerosFrom > 0 && uchar(content[zerosFrom - 1]) == 0xff)
        ++zerosFrom;
    // Zeros it never read, it needed none of, whatever its kind.
    if (ending.lastBlockEnd <= zerosFrom)
        return true;
    // Arithmetic decoding takes zeros past the end of its data as data (its
    // encoders leave them out) without a word: zeros it read may be padding
    // or a tail that was never written, and nothing tells which.
    if (ending.arithmetic || footprint.coefficientBytes > memoryLeft)
        return false;
    if (!needsFrom(content, zerosFrom, memoryLeft))
        return true; // read ahead of its need
    // A picture in several sequential scans was never taken to end in zeros
    // it needed: such pictures are rare, and the zeros much likelier lost.
    if (ending.sequentialScans)
        return false;
    return needsFrom(content, ending.dataEnd - 1, memoryLeft) && needsLastBit(content, ending.dataEnd, memoryLeft);
}

/// Whether a picture decoded without loss came to the end of its data with
/// nothing missing.
bool endedWhole(QByteArrayView content, const Ending &ending, bool ranOut, const JpegFootprint &footprint,
                qint64 memoryLeft)
{
    // Arithmetic decoding fills in what is missing without a warning.
    if (ranOut && (ending.arithmetic || !ending.scansCame))
        return false;
    const bool endsInZeros = ending.dataEnd > 0 && content[ending.dataEnd - 1] == 0;
    return !endsInZeros || (ending.scansCame && zerosAreItsOwn(content, ending, footprint, memoryLeft));
}

} // namespace

bool JpegDecoder::isJpeg(QByteArrayView content)
{
    return content.startsWith(QByteArrayView("\xff\xd8\xff", 3));
}

QImage JpegDecoder::decode(const QByteArray &content, int allocationLimitMB, std::stop_token stop)
{
    const qint64 limit = qint64(allocationLimitMB) * 1024 * 1024;
    Decompressor decompressor(content, limit);
    jpeg_decompress_struct &info = decompressor.info;
    ErrorManager &errors = decompressor.errors;
    errors.stop = stop;

    JOCTET *icc = nullptr;
    unsigned int iccLength = 0;
    const bool read = readHeader(info, errors, content, &icc, &iccLength);
    const std::unique_ptr<JOCTET, decltype(&std::free)> iccOwner(icc, &std::free);
    if (!read)
        throw Damaged(errors.message);

    // Before the start: a picture in several scans is read whole into memory
    // there, at whatever size a (damaged) header claims; and a file too small
    // for the picture it claims would be decoded to its end from nothing.
    const JpegFootprint footprint = JpegFootprint::of(info);
    // A header that claims more than its file can hold is damaged, whatever
    // the limit: a file of a few hundred bytes may claim gigapixels.
    if (!footprint.fitsIn(content.size()))
        throw Damaged("the file is too small for the picture its header claims");
    const qint64 pixelBytes = footprint.outputBytes(QSize(int(info.output_width), int(info.output_height)));
    if (pixelBytes + footprint.decoderBytes() > limit)
        return {};
    const qint64 memoryLeft = limit - pixelBytes;
    info.mem->max_memory_to_use = long(memoryLeft);
    jpeg_progress_mgr progress{};
    progress.progress_monitor = watchProgress;
    info.progress = &progress;
    if (!startDecoding(info, errors)) {
        if (errors.stopped)
            throw WorkStopped();
        if (errors.base.msg_code == JERR_NO_BACKING_STORE)
            return {}; // larger than counted
        throw Damaged(errors.message);
    }
    const bool grey = info.out_color_space == JCS_GRAYSCALE;
    QImage image(int(info.output_width), int(info.output_height), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    std::vector<JSAMPLE> cmykRow(info.out_color_space == JCS_CMYK ? size_t(info.output_width) * 4 : 0);
    const std::optional<Ending> ending =
        readPixels(info, errors, image.bits(), image.bytesPerLine(), cmykRow.empty() ? nullptr : cmykRow.data());
    if (errors.stopped)
        throw WorkStopped();
    if (!ending)
        throw Damaged(errors.message[0] ? errors.message : "the picture data ends early");
    if (!endedWhole(content, *ending, errors.ranOut, footprint, memoryLeft))
        throw Damaged("the picture data ends early");
    // The end's probes decode again, each beyond a stop's reach.
    if (stop.stop_requested())
        throw WorkStopped();
    if (icc && iccLength > 0)
        image.setColorSpace(QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char *>(icc), int(iccLength))));
    return image;
}

} // namespace pomelark
