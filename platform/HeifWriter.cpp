#include "platform/HeifWriter.h"

#include "platform/CpuBudget.h"
#include "platform/FileDescriptor.h"
#include "platform/StoppableWork.h"
#include "platform/SystemErrorText.h"

#include <QColorSpace>
#include <QFile>
#include <QList>
#include <QtConcurrent/QtConcurrentMap>

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace pomelark {

namespace {

using Kind = HeifWriter::Error::Kind;

template <typename T, void (*Free)(T *)>
struct Deleter {
    void operator()(T *object) const { Free(object); }
};
void releaseImage(heif_image *image) { heif_image_release(image); }
void releaseHandle(heif_image_handle *handle) { heif_image_handle_release(handle); }

using Context = std::unique_ptr<heif_context, Deleter<heif_context, heif_context_free>>;
using Encoder = std::unique_ptr<heif_encoder, Deleter<heif_encoder, heif_encoder_release>>;
using Image = std::unique_ptr<heif_image, Deleter<heif_image, releaseImage>>;
using Handle = std::unique_ptr<heif_image_handle, Deleter<heif_image_handle, releaseHandle>>;
using EncodingOptions = std::unique_ptr<heif_encoding_options, Deleter<heif_encoding_options, heif_encoding_options_free>>;
using Nclx = std::unique_ptr<heif_color_profile_nclx, Deleter<heif_color_profile_nclx, heif_nclx_color_profile_free>>;

void check(const heif_error &error, const char *step)
{
    if (error.code != heif_error_Ok)
        throw HeifWriter::Error(Kind::encoding, std::string(step) + ": " + (error.message ? error.message : "?"));
}

/// Fills rows [first, last) of the luma plane and the chroma rows they cover
/// (`first` even) from RGB32 pixels: full-range BT.601, chroma averaged over 2 × 2.
void fillYCbCr420(const QImage &rgb, int first, int last, uint8_t *y, int yStride, uint8_t *cb, uint8_t *cr,
                  int cStride)
{
    const int width = rgb.width();
    for (int row = first; row < last; row += 2) {
        const auto *top = reinterpret_cast<const QRgb *>(rgb.constScanLine(row));
        const auto *bottom = row + 1 < last ? reinterpret_cast<const QRgb *>(rgb.constScanLine(row + 1)) : nullptr;
        uint8_t *yTop = y + size_t(row) * size_t(yStride);
        uint8_t *yBottom = yTop + yStride;
        uint8_t *cbRow = cb + size_t(row / 2) * size_t(cStride);
        uint8_t *crRow = cr + size_t(row / 2) * size_t(cStride);
        for (int x = 0; x < width; x += 2) {
            int r = 0, g = 0, b = 0, n = 0;
            auto take = [&](const QRgb *line, uint8_t *out, int at) {
                const int pr = qRed(line[at]), pg = qGreen(line[at]), pb = qBlue(line[at]);
                out[at] = uint8_t((19595 * pr + 38470 * pg + 7471 * pb + 32768) >> 16);
                r += pr, g += pg, b += pb, ++n;
            };
            take(top, yTop, x);
            if (x + 1 < width)
                take(top, yTop, x + 1);
            if (bottom) {
                take(bottom, yBottom, x);
                if (x + 1 < width)
                    take(bottom, yBottom, x + 1);
            }
            r /= n, g /= n, b /= n;
            cbRow[x / 2] = uint8_t(std::clamp((-11059 * r - 21709 * g + 32768 * b + 8421376) >> 16, 0, 255));
            crRow[x / 2] = uint8_t(std::clamp((32768 * r - 27439 * g - 5329 * b + 8421376) >> 16, 0, 255));
        }
    }
}

/// Fills rows [first, last) as fillYCbCr420() does from a grey picture's own
/// values: a grey RGB pixel's luma is its value and its chroma neutral, so no
/// RGB copy of the picture need be made for it.
void fillGreyYCbCr420(const QImage &grey, int first, int last, uint8_t *y, int yStride, uint8_t *cb, uint8_t *cr,
                      int cStride)
{
    const int width = grey.width();
    for (int row = first; row < last; ++row)
        std::memcpy(y + size_t(row) * size_t(yStride), grey.constScanLine(row), size_t(width));
    for (int row = first / 2; row < (last + 1) / 2; ++row) {
        std::memset(cb + size_t(row) * size_t(cStride), 128, size_t((width + 1) / 2));
        std::memset(cr + size_t(row) * size_t(cStride), 128, size_t((width + 1) / 2));
    }
}

/// The picture as libheif's 4:2:0 image. Takes the picture so that its pixels
/// are let go before the encoder, which holds far more, starts.
Image heifImageFrom(QImage pixels, const heif_color_profile_nclx *nclx, const StoppableWork *work)
{
    // Grey pictures are encoded as colour here; a grey profile would not fit them.
    QByteArray icc;
    if (pixels.colorSpace().isValid() && !pixels.isGrayscale())
        icc = pixels.colorSpace().iccProfile();
    const bool grey = pixels.format() == QImage::Format_Grayscale8;
    if (!grey)
        pixels = std::move(pixels).convertToFormat(QImage::Format_RGB32);
    const int width = pixels.width(), height = pixels.height();
    heif_image *raw = nullptr;
    check(heif_image_create(width, height, heif_colorspace_YCbCr, heif_chroma_420, &raw), "image");
    Image image(raw);
    const int chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
    check(heif_image_add_plane(raw, heif_channel_Y, width, height, 8), "plane");
    check(heif_image_add_plane(raw, heif_channel_Cb, chromaWidth, chromaHeight, 8), "plane");
    check(heif_image_add_plane(raw, heif_channel_Cr, chromaWidth, chromaHeight, 8), "plane");
    int yStride = 0, cbStride = 0, crStride = 0;
    uint8_t *y = heif_image_get_plane(raw, heif_channel_Y, &yStride);
    uint8_t *cb = heif_image_get_plane(raw, heif_channel_Cb, &cbStride);
    uint8_t *cr = heif_image_get_plane(raw, heif_channel_Cr, &crStride);
    if (cbStride != crStride)
        throw HeifWriter::Error(Kind::encoding, "chroma planes differ");

    // libheif's own conversion runs on one core and costs a noticeable share of
    // a send; bands of rows convert in parallel here instead.
    QList<int> bands;
    for (int first = 0; first < height; first += 64)
        bands << first;
    QtConcurrent::blockingMap(bands, [&](int first) {
        if (work && work->stopRequested())
            return;
        const int last = std::min(height, first + 64);
        if (grey)
            fillGreyYCbCr420(pixels, first, last, y, yStride, cb, cr, cbStride);
        else
            fillYCbCr420(pixels, first, last, y, yStride, cb, cr, cbStride);
    });
    if (work)
        work->throwIfStopped();
    check(heif_image_set_nclx_color_profile(raw, nclx), "colour");
    if (!icc.isEmpty())
        check(heif_image_set_raw_color_profile(raw, "prof", icc.constData(), size_t(icc.size())), "profile");
    return image;
}

Encoder hevcEncoder(heif_context *context, int quality, QSize size)
{
    heif_encoder *raw = nullptr;
    check(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &raw), "encoder");
    Encoder encoder(raw);
    check(heif_encoder_set_lossy_quality(raw, quality), "quality");
    // libheif defaults to x265's "slow" preset, whose rate-distortion optimised
    // quantisation takes half the encoding time for about 4 % of file size on
    // camera photos; "medium" leaves it out (see the conversion benchmark).
    check(heif_encoder_set_parameter_string(raw, "preset", "medium"), "preset");
    // SAO stays on, x265's default, though it codes the whole picture's
    // bitstream on one thread after its rows are analysed (a 12-MP photo's
    // encode takes some 15 % longer on 8 CPUs): x265 3.5 sets up its SAO
    // filter for every row of coding units whether SAO is on or not, and frees
    // it only when it is on. With it off each encode left its filters behind,
    // some 1 MB for a 12-MP photo, and a long send grew without end. (Its
    // selective SAO, which would free them, turns SAO on too.)
    // 32-pixel coding tree units give twice the rows for x265's wavefront, so
    // more cores work at the start and the end of a picture, at equal quality.
    // libheif picks smaller units itself for pictures too small for 64.
    if (std::min(size.width(), size.height()) >= 64)
        check(heif_encoder_set_parameter_string(raw, "x265:ctu", "32"), "ctu");
    // x265 counts the machine's processors, not the CPUs we may use: under a
    // CPU set or a cgroup quota its pool would outnumber them. That its threads
    // also stay on those CPUs is NumaAffinity.cpp's part.
    check(heif_encoder_set_parameter_string(raw, "x265:pools", QByteArray::number(CpuBudget().cpus()).constData()),
          "pools");
    return encoder;
}

/// Where the encoded bytes go, and the errno of the write that failed.
struct Output {
    int fd = -1;
    int error = 0;
};

heif_error writeToFile(heif_context *, const void *data, size_t size, void *userdata)
{
    auto *output = static_cast<Output *>(userdata);
    // A full disk first takes part of a write and says nothing; only writing
    // the rest fails with the system's reason.
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t written = ::write(output->fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            output->error = written < 0 ? errno : EIO;
            return {heif_error_Encoding_error, heif_suberror_Cannot_write_output_data, "cannot write the file"};
        }
        bytes += written;
        size -= size_t(written);
    }
    return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

/// The failure of a file operation: the system's English for the log, its
/// words in the display language for the user.
HeifWriter::Error fileError(Kind kind, const char *step, int error)
{
    return HeifWriter::Error(kind, std::string(step) + ": " + SystemErrorText::systemDescription(error).toStdString(),
                             SystemErrorText::of(error));
}

/// libheif's planes of a 4:2:0 picture of `size`: lines aligned to 16 bytes.
qint64 yuvBytes(QSize size)
{
    const auto aligned = [](qint64 width) { return (width + 15) / 16 * 16; };
    const qint64 width = size.width(), height = size.height();
    return aligned(width) * height + 2 * aligned((width + 1) / 2) * ((height + 1) / 2);
}

/// How many frame encoders x265 runs, each with its own state for every row
/// of coding units, on `cpus` threads: with wavefront parallelism (three
/// columns of units or more) a few by the number of CPUs, without it as many
/// as there are CPUs, up to half the rows.
qint64 frameEncoders(qint64 columns, qint64 rows, qint64 cpus)
{
    if (columns < 3)
        return std::min({cpus, (rows + 1) / 2, qint64(16)});
    return cpus >= 32 ? 6 : cpus >= 16 ? 4 : cpus >= 8 ? 3 : cpus >= 4 ? 2 : 1;
}

} // namespace

qint64 HeifWriter::peakBytes(QSize size, qint64 pictureBytes, bool rgbCopy, qint64 codedBytes)
{
    // x265 codes the picture in units of 32 pixels (hevcEncoder() asks for
    // them, and libheif takes them for a side under 64), and lays out no side
    // shorter than two of them. It holds its pictures (the source, the
    // reconstruction and the quarter-size one of its look-ahead) with margins
    // of 64 pixels left and right and 48 above and below, the analysis and
    // coefficients of every unit, the state of every row of units in each of
    // its frame encoders, pools for each thread, and the coded bytes several
    // times: in its rows, its joined stream, its units, and libheif's copy of
    // them. A picture a few units wide thus costs per row far more than its
    // pixels. Fitted on bench/send_memory_bench's sweep (1 to 510 megapixels,
    // and tall and wide ones from 32 to 65500 pixels across, on 8 and 2 CPUs)
    // within 8 %, and raised to stay 4 to 25 % above each (small ones most).
    constexpr qint64 unit = 32;
    constexpr qint64 kilobyte = 1024, megabyte = 1024 * kilobyte;
    constexpr double bytesPerUnitPixel = 8.0;
    constexpr double bytesPerPlaneByte = 2.75;
    constexpr double timesCoded = 5.6;
    const auto units = [](qint64 length) { return std::max<qint64>(2, (length + unit - 1) / unit); };
    const qint64 columns = units(size.width()), rows = units(size.height());
    const qint64 width = columns * unit, height = rows * unit;
    const qint64 planes = (width + 128) * (height + 96) + 2 * (width / 2 + 64) * (height / 2 + 48);
    const qint64 threads = CpuBudget().cpus();
    const qint64 encoder = 8 * megabyte + threads * megabyte + qint64(bytesPerUnitPixel * double(width * height))
                           + qint64(bytesPerPlaneByte * double(planes))
                           + rows * (12 + 16 * frameEncoders(columns, rows, threads)) * kilobyte
                           + qint64(timesCoded * double(codedBytes));
    const qint64 pixels = qint64(size.width()) * size.height();
    const qint64 filling = pictureBytes + (rgbCopy ? 4 * pixels : 0) + yuvBytes(size);
    return std::max(filling, yuvBytes(size) + encoder);
}

QByteArray HeifWriter::exifBlock(const Options &options)
{
    if (options.exif.isEmpty() && !options.dateTimeOriginal)
        return {};
    Exiv2::ExifData exif;
    if (!options.exif.isEmpty()) {
        try {
            Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte *>(options.exif.constData()),
                                      uint32_t(options.exif.size()));
        } catch (const std::exception &) {
            // A block Exiv2 cannot parse is not carried over; the date still is.
            exif.clear();
        }
        Exiv2::ExifThumb(exif).erase();
    }
    if (options.dateTimeOriginal)
        exif["Exif.Photo.DateTimeOriginal"] = options.dateTimeOriginal->toStdString();
    if (exif.empty())
        return {};
    exif["Exif.Image.Orientation"] = uint16_t(1);
    Exiv2::Blob blob;
    try {
        Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    } catch (const std::exception &) {
        return {};
    }
    return QByteArray(reinterpret_cast<const char *>(blob.data()), qsizetype(blob.size()));
}

void HeifWriter::write(QImage pixels, const QString &path, const Options &options)
{
    if (std::max(pixels.width(), pixels.height()) > largestSide)
        throw Error(Kind::tooLarge, "a side longer than " + std::to_string(largestSide) + " pixels");
    if (options.work)
        options.work->throwIfStopped();
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.isOpen())
        throw fileError(Kind::destination, "open", errno);
    if (pixels.isNull())
        throw Error(Kind::encoding, "no picture");

    // Full-range BT.601, as JPEG itself stores colour.
    Nclx nclx(heif_nclx_color_profile_alloc());
    nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
    nclx->full_range_flag = 1;

    Context context(heif_context_alloc());
    const QSize size = pixels.size();
    Image image = heifImageFrom(std::move(pixels), nclx.get(), options.work);
    Encoder encoder = hevcEncoder(context.get(), options.quality, size);

    EncodingOptions encoding(heif_encoding_options_alloc());
    encoding->image_orientation = heif_orientation(options.orientation >= 1 && options.orientation <= 8
                                                       ? options.orientation
                                                       : 1);
    encoding->output_nclx_profile = nclx.get();

    heif_image_handle *rawHandle = nullptr;
    heif_error encoded{};
    {
        // x265 takes no stop: a work stopped now abandons the encode and,
        // once it ends, its result.
        const StoppableWork::Unstoppable unstoppable(options.work);
        encoded = heif_context_encode_image(context.get(), image.get(), encoder.get(), encoding.get(), &rawHandle);
    }
    Handle handle(rawHandle);
    if (options.work)
        options.work->throwIfStopped();
    check(encoded, "encode");
    // The encoder keeps all it worked with until it is let go, and the file is
    // written in memory before it goes out: neither need the other.
    encoder.reset();
    image.reset();

    const QByteArray exif = exifBlock(options);
    if (!exif.isEmpty())
        check(heif_context_add_exif_metadata(context.get(), handle.get(), exif.constData(), int(exif.size())), "exif");

    // A full disk shows only here: the reason is the file's, not libheif's.
    heif_writer writer{1, &writeToFile};
    Output output{file.get()};
    const heif_error written = heif_context_write(context.get(), &writer, &output);
    if (output.error != 0)
        throw fileError(Kind::encoding, "write", output.error);
    if (written.code != heif_error_Ok)
        throw Error(Kind::encoding, std::string("write: ") + (written.message ? written.message : "?"));
}

} // namespace pomelark
