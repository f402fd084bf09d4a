#include "look/ShadowPainter.h"

#include <QCache>
#include <QCryptographicHash>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pomelark {

namespace {

constexpr int cacheCapacity = 64;

QCache<QByteArray, ShadowPainter::Rendered> &cache()
{
    static QCache<QByteArray, ShadowPainter::Rendered> images(cacheCapacity);
    return images;
}

// The shape's outline relative to its bounding box, so that the same shape at
// another place shares one image.
QByteArray cacheKey(const QPainterPath &shape, const Shadow &shadow, qreal ratio)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QPointF origin = shape.boundingRect().topLeft();
    auto add = [&](double value) { hash.addData(QByteArrayView(reinterpret_cast<const char *>(&value), sizeof value)); };
    for (int i = 0; i < shape.elementCount(); ++i) {
        const QPainterPath::Element e = shape.elementAt(i);
        add(double(e.type));
        add(e.x - origin.x());
        add(e.y - origin.y());
    }
    add(double(shape.fillRule()));
    add(shadow.radius);
    add(double(shadow.color.rgba()));
    add(ratio);
    return hash.result();
}

// Three box blurs in a row come within a few percent of a Gaussian and cost the
// same whatever the radius, which keeps large card shadows cheap to make.
std::vector<int> boxSizesForGaussian(double sigma)
{
    constexpr int passes = 3;
    const double ideal = std::sqrt(12.0 * sigma * sigma / passes + 1.0);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double mIdeal = (12.0 * sigma * sigma - passes * lower * lower - 4.0 * passes * lower - 3.0 * passes)
        / (-4.0 * lower - 4.0);
    const int m = int(std::lround(mIdeal));
    std::vector<int> sizes;
    for (int i = 0; i < passes; ++i)
        sizes.push_back(i < m ? lower : upper);
    return sizes;
}

// One box pass along rows (stride 1) or columns (stride = width); values beyond
// the edges count as 0, which the padding around the shape makes true.
void boxPass(std::vector<float> &data, int width, int height, int radius, bool alongRows)
{
    if (radius <= 0)
        return;
    const int length = alongRows ? width : height;
    const int lines = alongRows ? height : width;
    const int stride = alongRows ? 1 : width;
    const float scale = 1.0f / float(2 * radius + 1);
    std::vector<float> line(size_t(length), 0.0f);
    for (int l = 0; l < lines; ++l) {
        const size_t base = alongRows ? size_t(l) * size_t(width) : size_t(l);
        for (int i = 0; i < length; ++i)
            line[size_t(i)] = data[base + size_t(i) * size_t(stride)];
        float sum = 0.0f;
        for (int i = 0; i <= radius && i < length; ++i)
            sum += line[size_t(i)];
        for (int i = 0; i < length; ++i) {
            data[base + size_t(i) * size_t(stride)] = sum * scale;
            const int enter = i + radius + 1;
            const int leave = i - radius;
            if (enter < length)
                sum += line[size_t(enter)];
            if (leave >= 0)
                sum -= line[size_t(leave)];
        }
    }
}

} // namespace

qreal ShadowPainter::reach(const Shadow &shadow)
{
    return 3.0 * shadow.radius + std::max(std::abs(shadow.x), std::abs(shadow.y));
}

ShadowPainter::Rendered ShadowPainter::render(const QPainterPath &shape, const Shadow &shadow, qreal ratio)
{
    if (!shadow.isVisible() || shape.isEmpty())
        return {};
    const QByteArray key = cacheKey(shape, shadow, ratio);
    if (const Rendered *hit = cache().object(key))
        return *hit;

    const QRectF bounds = shape.boundingRect();
    const qreal pad = std::ceil(3.0 * shadow.radius) + 1.0;
    const QSize size((QSizeF(bounds.width() + 2 * pad, bounds.height() + 2 * pad) * ratio).toSize()
                     + QSize(1, 1));
    QImage mask(size, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(ratio, ratio);
        p.translate(pad - bounds.left(), pad - bounds.top());
        p.fillPath(shape, Qt::black);
    }

    const int w = size.width();
    const int h = size.height();
    std::vector<float> alpha(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const uchar *row = mask.constScanLine(y);
        for (int x = 0; x < w; ++x)
            alpha[size_t(y) * size_t(w) + size_t(x)] = row[x] / 255.0f;
    }
    if (shadow.radius > 0) {
        for (int boxSize : boxSizesForGaussian(shadow.radius * ratio)) {
            boxPass(alpha, w, h, (boxSize - 1) / 2, true);
            boxPass(alpha, w, h, (boxSize - 1) / 2, false);
        }
    }

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const QColor c = shadow.color.toRgb();
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float a = std::clamp(alpha[size_t(y) * size_t(w) + size_t(x)], 0.0f, 1.0f) * c.alphaF();
            row[x] = qRgba(int(std::lround(c.redF() * a * 255)), int(std::lround(c.greenF() * a * 255)),
                           int(std::lround(c.blueF() * a * 255)), int(std::lround(a * 255)));
        }
    }
    image.setDevicePixelRatio(ratio);
    auto *rendered = new Rendered{image, QPointF(-pad + shadow.x, -pad + shadow.y)};
    const Rendered result = *rendered;
    cache().insert(key, rendered);
    return result;
}

void ShadowPainter::draw(QPainter &painter, const QPainterPath &shape, const Shadow &shadow)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const Rendered rendered = render(shape, shadow, ratio);
    if (rendered.image.isNull())
        return;
    painter.drawImage(shape.boundingRect().topLeft() + rendered.offset, rendered.image);
}

void ShadowPainter::clearCache()
{
    cache().clear();
}

int ShadowPainter::cachedCount()
{
    return cache().count();
}

} // namespace pomelark
