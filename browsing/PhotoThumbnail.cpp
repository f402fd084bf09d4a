#include "browsing/PhotoThumbnail.h"

#include "look/ActivitySpinner.h"
#include "look/Palette.h"

#include <QPainter>

namespace pomelark {

PhotoThumbnail::PhotoThumbnail(QUrl url, int rotationDegrees, Flags flags, std::function<void()> onActivate,
                               std::function<void()> onToggleSelect, Loader loader, QObject *parent,
                               FrameTicker &ticker)
    : GridTile(flags, std::move(onActivate), std::move(onToggleSelect), parent, ticker), m_url(std::move(url)),
      m_rotationDegrees(rotationDegrees), m_loader(std::move(loader)), m_rotation(rotationDegrees, ticker),
      m_appear(0, ticker)
{
    m_rotation.setOnChange([this] { Q_EMIT changed(); });
    m_appear.setOnChange([this] { Q_EMIT changed(); });
    ticker.add(this);
    load();
    m_constructing = false;
}

PhotoThumbnail::~PhotoThumbnail()
{
    ticker().remove(this);
}

void PhotoThumbnail::setUrl(QUrl url)
{
    if (url == m_url)
        return;
    m_url = std::move(url);
    load();
}

void PhotoThumbnail::setRotationDegrees(int degrees)
{
    if (degrees == m_rotationDegrees)
        return;
    m_rotationDegrees = degrees;
    m_rotation.animateTo(degrees, Animation::easeOut(rotateSeconds));
}

void PhotoThumbnail::load()
{
    if (m_loader)
        runLoad(this, ++m_generation, m_url, m_loader);
}

QCoro::Task<void> PhotoThumbnail::runLoad(QPointer<PhotoThumbnail> self, quint64 generation, QUrl url, Loader loader)
{
    std::optional<QImage> image = co_await loader(url);
    // The tile may be gone (scrolled far away), or showing another file by now.
    if (!self || self->m_generation != generation)
        co_return;
    self->setImage(std::move(image));
}

void PhotoThumbnail::setImage(std::optional<QImage> image)
{
    const bool wasEmpty = !m_image.has_value();
    m_image = std::move(image);
    m_picture = CoverPicture(m_image.value_or(QImage()));
    if (m_image) {
        ticker().remove(this);
        if (m_constructing)
            m_appear.setValue(1);
        else if (wasEmpty)
            m_appear.animateTo(1, Animation::easeOut(rotateSeconds));
    } else {
        m_appear.setValue(0);
        ticker().add(this);
    }
    Q_EMIT changed();
}

void PhotoThumbnail::advanceTo(std::chrono::nanoseconds now)
{
    // Only the spinner moves while waiting, and only when its next spoke lights.
    const int spoke = ActivitySpinner::leadingSpokeAt(now);
    if (spoke == m_spinnerSpoke)
        return;
    m_spinnerSpoke = spoke;
    Q_EMIT changed();
}

void PhotoThumbnail::paintContent(QPainter &painter, const QRectF &tile)
{
    const qreal appear = m_image ? m_appear.value() : 0;
    if (appear < 1) {
        painter.fillRect(tile, Palette::divider());
        if (!m_image)
            paintSpinner(painter, tile);
    }
    if (!m_image || appear <= 0)
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * appear);
    m_picture.draw(painter, tile, m_rotation.value());
    painter.restore();
}

void PhotoThumbnail::paintSpinner(QPainter &painter, const QRectF &tile) const
{
    const qreal spinnerSide = ActivitySpinner::side(ActivitySpinner::Size::small);
    const QRectF frame(tile.center() - QPointF(spinnerSide / 2, spinnerSide / 2), QSizeF(spinnerSide, spinnerSide));
    ActivitySpinner::paint(painter, frame, Palette::inkSecondary(), ActivitySpinner::leadingSpokeAt(ticker().now()));
}

} // namespace pomelark
