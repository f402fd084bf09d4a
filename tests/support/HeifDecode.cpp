#include "support/HeifDecode.h"

#include <QColor>
#include <QFile>
#include <QList>
#include <QPoint>

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <vector>

namespace pomelark::test {

namespace {

QImage decodePixels(const heif_image_handle *handle, bool applyTransforms)
{
    std::unique_ptr<heif_decoding_options, decltype(&heif_decoding_options_free)> options(
        heif_decoding_options_alloc(), &heif_decoding_options_free);
    options->ignore_transformations = applyTransforms ? 0 : 1;
    heif_image *raw = nullptr;
    if (heif_decode_image(handle, &raw, heif_colorspace_RGB, heif_chroma_interleaved_RGB, options.get()).code
        != heif_error_Ok)
        return {};
    std::unique_ptr<heif_image, decltype(&heif_image_release)> image(raw, &heif_image_release);
    const int width = heif_image_get_width(raw, heif_channel_interleaved);
    const int height = heif_image_get_height(raw, heif_channel_interleaved);
    int stride = 0;
    const uint8_t *plane = heif_image_get_plane_readonly(raw, heif_channel_interleaved, &stride);
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.scanLine(y), plane + size_t(y) * size_t(stride), size_t(width) * 3);
    return picture;
}

} // namespace

std::optional<DecodedHeic> decodeHeic(const QString &path)
{
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(), &heif_context_free);
    if (heif_context_read_from_file(context.get(), QFile::encodeName(path).constData(), nullptr).code != heif_error_Ok)
        return std::nullopt;
    heif_image_handle *rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return std::nullopt;
    std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)> handle(rawHandle,
                                                                                   &heif_image_handle_release);
    DecodedHeic decoded;
    decoded.shown = decodePixels(rawHandle, true);
    decoded.stored = decodePixels(rawHandle, false);
    if (decoded.shown.isNull() || decoded.stored.isNull())
        return std::nullopt;

    heif_item_id exifId = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(rawHandle, "Exif", &exifId, 1) == 1) {
        std::vector<char> data(heif_image_handle_get_metadata_size(rawHandle, exifId));
        if (data.size() > 4 && heif_image_handle_get_metadata(rawHandle, exifId, data.data()).code == heif_error_Ok) {
            // The block starts with the offset of its TIFF header.
            const uint32_t offset = (uint32_t(uint8_t(data[0])) << 24) | (uint32_t(uint8_t(data[1])) << 16)
                                    | (uint32_t(uint8_t(data[2])) << 8) | uint32_t(uint8_t(data[3]));
            if (4 + size_t(offset) < data.size())
                decoded.exif = QByteArray(data.data() + 4 + offset, qsizetype(data.size() - 4 - offset));
        }
    }
    if (heif_image_handle_get_color_profile_type(rawHandle) == heif_color_profile_type_prof) {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(rawHandle)), '\0');
        if (heif_image_handle_get_raw_color_profile(rawHandle, icc.data()).code == heif_error_Ok)
            decoded.icc = icc;
    }
    return decoded;
}

QString exifValue(const QByteArray &exif, const char *key)
{
    if (exif.isEmpty())
        return {};
    Exiv2::ExifData data;
    try {
        Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte *>(exif.constData()), exif.size());
    } catch (const std::exception &) {
        return {};
    }
    const auto found = data.findKey(Exiv2::ExifKey(key));
    if (found == data.end())
        return {};
    return QString::fromStdString(found->toString());
}

QString redCorner(const QImage &image)
{
    const int dx = image.width() / 8, dy = image.height() / 8;
    const QList<std::pair<QString, QPoint>> corners = {
        {QStringLiteral("top-left"), {dx, dy}},
        {QStringLiteral("top-right"), {image.width() - 1 - dx, dy}},
        {QStringLiteral("bottom-left"), {dx, image.height() - 1 - dy}},
        {QStringLiteral("bottom-right"), {image.width() - 1 - dx, image.height() - 1 - dy}}};
    for (const auto &[name, point] : corners) {
        const QColor colour = image.pixelColor(point);
        if (colour.red() > 180 && colour.green() < 90 && colour.blue() < 90)
            return name;
    }
    return QStringLiteral("none");
}

} // namespace pomelark::test
