#include "support/LargePictures.h"

#include <QFile>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace pomelark::test {

QByteArray claimingSize(QByteArray jpeg, QSize size)
{
    // The first frame header: baseline, extended, progressive, or either arithmetic.
    for (qsizetype at = 2; at + 9 <= jpeg.size(); ++at) {
        if (uchar(jpeg[at]) != 0xff)
            continue;
        const uchar marker = uchar(jpeg[at + 1]);
        if (marker == 0xc0 || marker == 0xc1 || marker == 0xc2 || marker == 0xc9 || marker == 0xca) {
            // Marker, length, precision, then height and width, high byte first.
            jpeg[at + 5] = char(size.height() >> 8);
            jpeg[at + 6] = char(size.height());
            jpeg[at + 7] = char(size.width() >> 8);
            jpeg[at + 8] = char(size.width());
            return jpeg;
        }
    }
    throw std::runtime_error("no frame header");
}

QList<HeaderClaim> hugeHeaderClaims()
{
    return {
        {"progressive grey", {.colour = JpegColour::grey, .progressive = true}, QSize(65500, 32784)},
        {"arithmetic progressive grey",
         {.colour = JpegColour::grey, .progressive = true, .arithmetic = true},
         QSize(65500, 32784)},
        {"progressive 4:4:4 colour", {.progressive = true, .fullChroma = true}, QSize(23170, 23170)},
        {"progressive CMYK", {.colour = JpegColour::cmyk, .progressive = true}, QSize(23170, 23170)},
        {"progressive grey, fitting in memory", {.colour = JpegColour::grey, .progressive = true}, QSize(24000, 24000)},
    };
}

QString makeLargeJpeg(const QString &path, QSize size, bool progressive)
{
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        throw std::runtime_error("cannot write fixture");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(size.width()) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < size.width(); ++x) {
            const int checker = ((x / 4 + y / 4) % 2) * 24;
            row[size_t(x) * 3 + 0] = JSAMPLE(qint64(x) * 200 / size.width() + checker);
            row[size_t(x) * 3 + 1] = JSAMPLE(qint64(y) * 200 / size.height() + checker);
            row[size_t(x) * 3 + 2] = JSAMPLE(120 + checker);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return path;
}

} // namespace pomelark::test
