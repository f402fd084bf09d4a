#include "tidy_send/BestShotCard.h"

#include "look/ActivitySpinner.h"
#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/Palette.h"
#include "services/ThumbnailMemoryCache.h"
#include "tidy_send/BestTag.h"
#include "tidy_send/KeepCheck.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pomelark {

namespace {

constexpr qreal cornerRadius = 12;
constexpr qreal checkInset = 6;
constexpr qreal checkSize = 22;
constexpr qreal bestInset = 5;
constexpr qreal keptBorder = 2.5;
constexpr qreal excludedBorder = 2;
constexpr qreal excludedOpacity = 0.5;
constexpr qreal excludedBestOpacity = 0.6;

qreal lerp(qreal from, qreal to, qreal t)
{
    return from + (to - from) * t;
}

} // namespace

BestShotCard::BestShotCard(QUrl url, int rotationDegrees, bool kept, bool isBest, std::function<void()> onToggleKeep,
                           std::function<void()> onOpen, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent), m_url(std::move(url)), m_rotationDegrees(rotationDegrees), m_kept(kept), m_isBest(isBest),
      m_onOpen(std::move(onOpen)), m_keptProgress(kept ? 1.0 : 0.0, ticker),
      m_hoverProgress(0.0, ticker), m_spinner(ticker, [this] { update(spinnerFrame().toAlignedRect()); })
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(sizeHint());
    m_keptProgress.setOnChange([this] { repaintAll(); });
    m_hoverProgress.setOnChange([this] { repaintAll(); });

    m_check = new KeepCheck(kept, std::move(onToggleKeep), checkSize, this, ticker);
    const int checkAt = bleed + int(checkInset) - KeepCheck::bleed;
    m_check->move(checkAt, checkAt);
    m_check->resize(m_check->sizeHint());

    // The underlay sizes itself once, from its first cast: give it the deeper shadow.
    m_castLargest = true;
    m_shadow = new ShadowUnderlay(this, [this] {
        return ShadowUnderlay::Cast{continuousRoundedRect(square(), cornerRadius),
                                    m_castLargest ? Shadows::medium() : shadow(), pictureOpacity()};
    });
    m_castLargest = false;
}

QSize BestShotCard::sizeHint() const
{
    return {side + 2 * bleed, side + 2 * bleed};
}

QRectF BestShotCard::square() const
{
    return {qreal(bleed), qreal(bleed), qreal(side), qreal(side)};
}

QRectF BestShotCard::spinnerFrame() const
{
    // On whole pixels, as a child widget would lie, so the thin spokes stay crisp.
    const qreal side = ActivitySpinner::side(ActivitySpinner::Size::small);
    return {(square().center() - QPointF(side, side) / 2).toPoint(), QSizeF(side, side)};
}

void BestShotCard::setUrl(const QUrl &url)
{
    if (url == m_url)
        return;
    m_url = url;
    m_loadStarted = false;
    ++m_loadGeneration; // whatever the old URL still delivers is dropped
    if (isVisible())
        startLoad();
}

void BestShotCard::setRotationDegrees(int degrees)
{
    if (degrees == m_rotationDegrees)
        return;
    m_rotationDegrees = degrees;
    update();
}

void BestShotCard::setKept(bool kept)
{
    m_check->setKept(kept);
    if (kept == m_kept)
        return;
    m_kept = kept;
    m_keptProgress.animateTo(kept ? 1.0 : 0.0, Animation::easeOut(changeSeconds));
    repaintAll();
}

void BestShotCard::setBest(bool isBest)
{
    if (isBest == m_isBest)
        return;
    m_isBest = isBest;
    update();
}

qreal BestShotCard::pictureOpacity() const
{
    return lerp(excludedOpacity, 1.0, m_keptProgress.value());
}

qreal BestShotCard::borderWidth() const
{
    return lerp(excludedBorder, keptBorder, m_keptProgress.value());
}

QColor BestShotCard::borderColor() const
{
    return mixColors(Palette::line(), Palette::accent(), m_keptProgress.value());
}

qreal BestShotCard::bestOpacity() const
{
    return lerp(excludedBestOpacity, 1.0, m_keptProgress.value());
}

Shadow BestShotCard::shadow() const
{
    const qreal t = m_hoverProgress.value();
    const Shadow &from = Shadows::small();
    const Shadow &to = Shadows::medium();
    return {mixColors(from.color, to.color, t), lerp(from.radius, to.radius, t), lerp(from.x, to.x, t),
            lerp(from.y, to.y, t)};
}

void BestShotCard::repaintAll()
{
    update();
    if (m_shadow)
        m_shadow->refresh();
}

void BestShotCard::startLoad()
{
    m_loadStarted = true;
    loadThumbnail(this, m_url, ++m_loadGeneration);
}

QCoro::Task<void> BestShotCard::loadThumbnail(QPointer<BestShotCard> card, QUrl url, quint64 generation)
{
    std::optional<QImage> image = co_await ThumbnailMemoryCache::shared().thumbnail(url);
    // The card may be gone, or showing another photo by now.
    if (!card || card->m_loadGeneration != generation)
        co_return;
    // Taken as it comes, also when empty: a new photo that cannot be decoded
    // must not keep showing the previous one.
    card->m_image = std::move(image);
    card->m_picture = CoverPicture(card->m_image.value_or(QImage()));
    card->runSpinner(card->isVisible());
    card->update();
}

void BestShotCard::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    runSpinner(true);
    if (!m_loadStarted)
        startLoad();
}

void BestShotCard::hideEvent(QHideEvent *event)
{
    runSpinner(false);
    QWidget::hideEvent(event);
}

void BestShotCard::runSpinner(bool shown)
{
    m_spinner.setRunning(shown && showsSpinner());
}

void BestShotCard::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    m_isHover = true;
    m_hoverProgress.animateTo(1.0, Animation::easeOut(changeSeconds));
}

void BestShotCard::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_isHover = false;
    m_hoverProgress.animateTo(0.0, Animation::easeOut(changeSeconds));
}

void BestShotCard::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton && square().contains(event->position());
    event->accept();
}

void BestShotCard::mouseReleaseEvent(QMouseEvent *event)
{
    const bool tapped = m_pressed && event->button() == Qt::LeftButton && square().contains(event->position());
    m_pressed = false;
    event->accept();
    if (tapped && m_onOpen)
        m_onOpen();
}

void BestShotCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPainterPath rounded = continuousRoundedRect(square(), cornerRadius);

    // Only the picture dims; the border, the capsule and the check stay clear.
    painter.save();
    painter.setClipPath(rounded);
    painter.setOpacity(pictureOpacity());
    painter.fillRect(square(), Palette::accentSoft());
    // Filled into the square first, then turned about its centre: a turned
    // landscape picture still covers the whole square.
    if (m_image)
        m_picture.draw(painter, square(), m_rotationDegrees);
    else
        ActivitySpinner::paint(painter, spinnerFrame(), Palette::inkSecondary(), m_spinner.leadingSpoke());
    painter.restore();

    painter.setPen(QPen(borderColor(), borderWidth(), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(rounded);

    if (m_isBest) {
        const QSizeF tag = BestTag::paintedSize();
        painter.setOpacity(bestOpacity());
        BestTag::paint(painter, QPointF(square().right() - bestInset - tag.width(), square().top() + bestInset));
        painter.setOpacity(1.0);
    }
}

} // namespace pomelark
