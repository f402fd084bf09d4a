#include "browsing/CoverPicture.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace pomelark {

void CoverPicture::draw(QPainter &painter, const QRectF &tile, qreal degrees)
{
    if (m_image.isNull())
        return;
    const QSizeF size = m_image.size().toSizeF().scaled(tile.size(), Qt::KeepAspectRatioByExpanding);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (m_scaled.isNull() || m_scaledFor != size || m_scaledRatio != ratio) {
        const QSize pixels(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
        m_scaled = QPixmap::fromImage(m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_scaled.setDevicePixelRatio(ratio);
        m_scaledFor = size;
        m_scaledRatio = ratio;
    }
    painter.save();
    painter.translate(tile.center());
    painter.rotate(degrees);
    painter.drawPixmap(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), m_scaled, QRectF(m_scaled.rect()));
    painter.restore();
}

} // namespace pomelark
