#include "browsing/VideoFrameConverter.h"

#include "platform/ImageTurns.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <QScopeGuard>

#include <algorithm>
#include <iterator>
#include <utility>

namespace pomelark {

namespace {

/// The layout each label stands for. Labels left out (RGB and opaque GPU ones)
/// are never converted here.
constexpr std::pair<QVideoFrameFormat::PixelFormat, AVPixelFormat> layouts[] = {
    {QVideoFrameFormat::Format_YUV420P, AV_PIX_FMT_YUV420P},
    {QVideoFrameFormat::Format_YUV422P, AV_PIX_FMT_YUV422P},
    {QVideoFrameFormat::Format_YUV420P10, AV_PIX_FMT_YUV420P10LE},
    {QVideoFrameFormat::Format_NV12, AV_PIX_FMT_NV12},
    {QVideoFrameFormat::Format_NV21, AV_PIX_FMT_NV21},
    {QVideoFrameFormat::Format_P010, AV_PIX_FMT_P010LE},
    {QVideoFrameFormat::Format_P016, AV_PIX_FMT_P016LE},
    {QVideoFrameFormat::Format_UYVY, AV_PIX_FMT_UYVY422},
    {QVideoFrameFormat::Format_YUYV, AV_PIX_FMT_YUYV422},
    {QVideoFrameFormat::Format_Y8, AV_PIX_FMT_GRAY8},
    {QVideoFrameFormat::Format_Y16, AV_PIX_FMT_GRAY16LE},
};

AVPixelFormat layoutOf(QVideoFrameFormat::PixelFormat label)
{
    const auto *found = std::find_if(std::begin(layouts), std::end(layouts),
                                     [label](const auto &layout) { return layout.first == label; });
    return found == std::end(layouts) ? AV_PIX_FMT_NONE : found->second;
}

int matrixOf(QVideoFrameFormat::ColorSpace space)
{
    switch (space) {
    case QVideoFrameFormat::ColorSpace_BT709:
        return SWS_CS_ITU709;
    case QVideoFrameFormat::ColorSpace_BT2020:
        return SWS_CS_BT2020;
    default:
        // What ffmpeg assumes of a stream that does not say.
        return SWS_CS_ITU601;
    }
}

} // namespace

VideoFrameConverter::~VideoFrameConverter()
{
    sws_freeContext(m_scaler);
}

bool VideoFrameConverter::converts(QVideoFrameFormat::PixelFormat format)
{
    return layoutOf(format) != AV_PIX_FMT_NONE;
}

QImage VideoFrameConverter::convert(const QVideoFrame &frame, QSize shown, PictureShape seen)
{
    const AVPixelFormat layout = layoutOf(frame.pixelFormat());
    const QSize source = frame.size();
    // Scaled as stored, then turned: libswscale does not turn.
    const QSize size = seen.turnsSideways() ? shown.transposed() : shown;
    if (!frame.isValid() || layout == AV_PIX_FMT_NONE || source.isEmpty() || size.isEmpty())
        return {};
    QVideoFrame mapped = frame;
    if (!mapped.map(QVideoFrame::ReadOnly))
        return {};
    const auto unmap = qScopeGuard([&] { mapped.unmap(); });

    // What the label promises, held against what was mapped.
    const int planes = av_pix_fmt_count_planes(layout);
    int rowBytes[4] = {};
    if (mapped.planeCount() != planes || av_image_fill_linesizes(rowBytes, layout, source.width()) < 0)
        return {};
    const uint8_t *data[4] = {};
    int strides[4] = {};
    ptrdiff_t wideStrides[4] = {};
    for (int plane = 0; plane < planes; ++plane) {
        if (!mapped.bits(plane) || mapped.bytesPerLine(plane) < rowBytes[plane])
            return {};
        data[plane] = mapped.bits(plane);
        strides[plane] = mapped.bytesPerLine(plane);
        wideStrides[plane] = strides[plane];
    }
    size_t needed[4] = {};
    if (av_image_fill_plane_sizes(needed, layout, source.height(), wideStrides) < 0)
        return {};
    for (int plane = 0; plane < planes; ++plane) {
        if (mapped.mappedBytes(plane) < 0 || size_t(mapped.mappedBytes(plane)) < needed[plane])
            return {};
    }

    const Shape shape{source, layout, size, matrixOf(mapped.surfaceFormat().colorSpace()),
                      mapped.surfaceFormat().colorRange() == QVideoFrameFormat::ColorRange_Full};
    if (!m_scaler || shape != m_shape) {
        sws_freeContext(m_scaler);
        // Bicubic, as ffmpeg's own conversion, unless shrinking: averaging
        // areas keeps fine detail from aliasing and is the fastest good filter
        // for a 4K frame into a window; without full chroma interpolation it
        // would shift colour edges by a pixel.
        const int filter = size.width() < source.width() ? SWS_AREA | SWS_FULL_CHR_H_INT : SWS_BICUBIC;
        m_scaler = sws_getContext(source.width(), source.height(), layout, size.width(), size.height(),
                                  AV_PIX_FMT_BGRA, filter, nullptr, nullptr, nullptr);
        m_shape = shape;
        if (!m_scaler)
            return {};
        const int *coefficients = sws_getCoefficients(shape.matrix);
        sws_setColorspaceDetails(m_scaler, coefficients, shape.fullRange ? 1 : 0, coefficients, 1, 0, 1 << 16,
                                 1 << 16);
    }

    QImage picture(size, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    uint8_t *target[4] = {picture.bits()};
    const int targetStrides[4] = {int(picture.bytesPerLine())};
    sws_scale(m_scaler, data, strides, 0, source.height(), target, targetStrides);
    return seen.clockwiseTurn == 0 ? picture : turnedClockwise(picture, seen.clockwiseTurn);
}

} // namespace pomelark
