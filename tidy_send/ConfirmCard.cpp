#include "tidy_send/ConfirmCard.h"

#include "look/ActivitySpinner.h"
#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/Palette.h"
#include "look/SymbolIcons.h"
#include "tidy_send/AnswerChip.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

namespace {

constexpr int chipSpacing = 6;
constexpr qreal beforeOpacity = 0.55;
constexpr qreal beforeRadius = 8;
constexpr qreal afterRadius = 12;
constexpr qreal outlineWidth = 3;
constexpr int pictureRowWidth = ConfirmCard::beforeSide + ConfirmCard::rowSpacing + ConfirmCard::arrowSize
    + ConfirmCard::rowSpacing + ConfirmCard::afterSide;

} // namespace

ConfirmCard::ConfirmCard(Binding<RotateSuggestion> suggestion, int appearIndex, QWidget *parent, FrameTicker &ticker,
                         ThumbnailMemoryCache &thumbnails)
    : QWidget(parent), m_binding(std::move(suggestion)), m_appearIndex(appearIndex), m_thumbnails(thumbnails),
      m_angle(0.0, ticker), m_accept(1.0, ticker),
      m_spinner(ticker, [this] { update(beforeFrame().toAlignedRect()); update(afterFrame().toAlignedRect()); })
{
    m_shown = m_binding.get();
    m_accept.setValue(m_shown.accepted ? 1.0 : 0.0);
    m_angle.setOnChange([this] { update(); });
    m_accept.setOnChange([this] { update(); });

    m_rotate = new AnswerChip(tr("Rotate"), QStringLiteral("checkmark"), m_shown.accepted, Palette::mint(),
                              [this] { setAccepted(true); });
    m_leave = new AnswerChip(tr("Leave as is"), QStringLiteral("arrow.uturn.backward"), !m_shown.accepted,
                             Palette::accent(), [this] { setAccepted(false); });
    auto *chips = new QHBoxLayout;
    chips->setSpacing(chipSpacing);
    chips->addStretch(1);
    chips->addWidget(m_rotate);
    chips->addWidget(m_leave);
    chips->addStretch(1);
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(outlineRoom, outlineRoom + afterSide + rowSpacing, outlineRoom, outlineRoom);
    stack->addLayout(chips);
    setFixedSize(sizeHint());
}

ConfirmCard::~ConfirmCard() = default;

QSize ConfirmCard::sizeHint() const
{
    const int chipsWidth = m_rotate->sizeHint().width() + chipSpacing + m_leave->sizeHint().width();
    const int width = std::max(pictureRowWidth, chipsWidth) + 2 * outlineRoom;
    const int chipHeight = std::max(m_rotate->sizeHint().height(), m_leave->sizeHint().height());
    return {width, 2 * outlineRoom + afterSide + rowSpacing + chipHeight};
}

QRectF ConfirmCard::beforeFrame() const
{
    const qreal left = (width() - pictureRowWidth) / 2.0;
    return {left, outlineRoom + (afterSide - beforeSide) / 2.0, qreal(beforeSide), qreal(beforeSide)};
}

QRectF ConfirmCard::afterFrame() const
{
    const qreal left = beforeFrame().right() + rowSpacing + arrowSize + rowSpacing;
    return {left, qreal(outlineRoom), qreal(afterSide), qreal(afterSide)};
}

qreal ConfirmCard::displayedAngle() const
{
    return m_stood && m_shown.accepted ? qreal(m_shown.degrees) : 0.0;
}

qreal ConfirmCard::pictureOpacity() const
{
    return declinedOpacity + (1.0 - declinedOpacity) * m_accept.value();
}

QColor ConfirmCard::outlineColor() const
{
    return mixColors(Palette::line(), Palette::mint(), m_accept.value());
}

void ConfirmCard::setAccepted(bool accepted)
{
    RotateSuggestion next = m_binding.get();
    if (next.id != m_shown.id)
        return;
    next.accepted = accepted;
    m_binding.set(next);
    refresh();
}

void ConfirmCard::refresh()
{
    const RotateSuggestion current = m_binding.get();
    if (current.id != m_shown.id)
        return;
    const bool photoChanged = current.item.url != m_shown.item.url;
    m_shown = current;
    m_rotate->setActive(m_shown.accepted);
    m_leave->setActive(!m_shown.accepted);
    m_accept.animateTo(m_shown.accepted ? 1.0 : 0.0, Animation::easeOut(fadeSeconds));
    if (photoChanged) {
        m_angle.setValue(0);
        if (m_loadStarted)
            loadThumbnail();
        return;
    }
    m_angle.animateTo(displayedAngle(), Animation::easeOut(turnSeconds));
    update();
}

void ConfirmCard::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    runSpinners(true);
    if (!m_loadStarted) {
        m_loadStarted = true;
        loadThumbnail();
    }
}

void ConfirmCard::hideEvent(QHideEvent *event)
{
    runSpinners(false);
    QWidget::hideEvent(event);
}

void ConfirmCard::loadThumbnail()
{
    const quint64 generation = ++m_generation;
    m_image.reset();
    m_beforePicture = m_afterPicture = CoverPicture();
    m_stood = false;
    runSpinners(isVisible());
    update();
    // The result reaches the card only while it exists and still wants this photo.
    auto load = [](QPointer<ConfirmCard> card, ThumbnailMemoryCache &thumbnails, QUrl url,
                   quint64 generation) -> QCoro::Task<void> {
        std::optional<QImage> image = co_await thumbnails.thumbnail(url);
        if (card)
            card->deliver(std::move(image), generation);
    };
    load(this, m_thumbnails, m_shown.item.url, generation);
}

void ConfirmCard::deliver(std::optional<QImage> image, quint64 generation)
{
    if (generation != m_generation)
        return;
    m_image = std::move(image);
    m_beforePicture = m_afterPicture = CoverPicture(m_image.value_or(QImage()));
    m_stood = true;
    // Cards stand up one after another, each a little after its own picture arrives.
    const double delay = m_appearIndex * 0.1 + 0.15;
    m_angle.animateTo(displayedAngle(), Animation::easeOut(turnSeconds).delayed(delay));
    runSpinners(isVisible());
    update();
}

void ConfirmCard::runSpinners(bool shown)
{
    m_spinner.setRunning(shown && showsSpinners());
}

void ConfirmCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(pictureOpacity());

    painter.save();
    painter.setOpacity(painter.opacity() * beforeOpacity);
    paintThumb(painter, m_beforePicture, beforeFrame(), 0, beforeRadius);
    painter.restore();

    const QRectF after = afterFrame();
    const QRectF arrow(beforeFrame().right() + rowSpacing, after.center().y() - arrowSize / 2.0, arrowSize, arrowSize);
    SymbolIcons::paint(painter, QStringLiteral("arrow.right"), arrow, arrowSize, SymbolWeight::Semibold,
                       Palette::inkTertiary());

    paintThumb(painter, m_afterPicture, after, drawnAngle(), afterRadius);
    painter.setPen(QPen(outlineColor(), outlineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRoundedRect(after, afterRadius));
}

void ConfirmCard::paintThumb(QPainter &painter, CoverPicture &picture, const QRectF &frame, qreal angle,
                             qreal radius) const
{
    painter.save();
    painter.setClipPath(continuousRoundedRect(frame, radius));
    painter.fillRect(frame, Palette::accentSoft());
    if (m_image) {
        picture.draw(painter, frame, angle);
    } else {
        // On whole pixels, as a child widget would lie, so the thin spokes stay crisp.
        const qreal side = ActivitySpinner::side(ActivitySpinner::Size::small);
        const QPointF topLeft = (frame.center() - QPointF(side, side) / 2).toPoint();
        ActivitySpinner::paint(painter, QRectF(topLeft, QSizeF(side, side)), Palette::inkSecondary(),
                               m_spinner.leadingSpoke());
    }
    painter.restore();
}

} // namespace pomelark
