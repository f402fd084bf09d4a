#pragma once

#include <QImage>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace pomelark {

/// A picture drawn to cover a square tile (cropping its longer side), turned
/// about the tile's centre. The picture is scaled once per pixel ratio and
/// kept, so repainting a grid full of tiles costs no scaling.
class CoverPicture {
public:
    CoverPicture() = default;
    explicit CoverPicture(QImage image) : m_image(std::move(image)) {}

    bool isNull() const { return m_image.isNull(); }
    const QImage &image() const { return m_image; }

    /// Draws into `tile`, turned clockwise by `degrees`. A null picture draws nothing.
    void draw(QPainter &painter, const QRectF &tile, qreal degrees);

private:
    QImage m_image;
    QPixmap m_scaled;
    QSizeF m_scaledFor;
    qreal m_scaledRatio = 0;
};

} // namespace pomelark
