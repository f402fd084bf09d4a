#include "look/MotionWidget.h"

#include "look/MotionPainter.h"

#include <QPainter>

namespace pomelark {

MotionWidget::MotionWidget(TuppoMotionKind kind, const QString &palette, qreal pixelSize, bool showLens,
                           FrameTicker &ticker, MascotPauser &pauser, QWidget *parent)
    : QWidget(parent), m_ticker(ticker), m_pauser(pauser), m_kind(kind), m_palette(palette),
      m_pixelSize(pixelSize), m_showLens(showLens)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    restartAs(kind);
}

void MotionWidget::restartAs(TuppoMotionKind kind)
{
    m_kind = kind;
    m_origin = m_ticker.now();
    m_shown = m_origin;
    m_timeline = std::make_unique<FrameTimeline>(kind == TuppoMotionKind::Wiggle ? 30 : 60, m_ticker);
    m_timeline->setPaused(m_pauser.paused());
    connect(m_timeline.get(), &FrameTimeline::frame, this, &MotionWidget::onFrame);
    connect(&m_pauser, &MascotPauser::pausedChanged, m_timeline.get(), &FrameTimeline::setPaused);
    if (isVisible())
        m_timeline->start();
    updateGeometry();
    update();
}

void MotionWidget::setPaletteName(const QString &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    update();
}

void MotionWidget::setPixelSize(qreal pixelSize)
{
    if (pixelSize == m_pixelSize)
        return;
    m_pixelSize = pixelSize;
    updateGeometry();
    update();
}

double MotionWidget::shownElapsed() const
{
    // The clock is monotonic, so this is never negative; the guard keeps every
    // motion's phase tables on their rows if a clock ever misbehaves.
    return std::max(0.0, secondsBetween(m_origin, m_shown));
}

QRectF MotionWidget::frameRect() const
{
    const QMarginsF bleed = MotionPainter::bleed(m_kind, m_pixelSize);
    return {QPointF(bleed.left(), bleed.top()), MotionPainter::frameSize(m_kind, m_pixelSize)};
}

QSize MotionWidget::sizeHint() const
{
    const QMarginsF bleed = MotionPainter::bleed(m_kind, m_pixelSize);
    const QSizeF frame = MotionPainter::frameSize(m_kind, m_pixelSize);
    return QSizeF(frame.width() + bleed.left() + bleed.right(), frame.height() + bleed.top() + bleed.bottom())
        .toSize();
}

void MotionWidget::onFrame(std::chrono::nanoseconds date)
{
    m_shown = date;
    update();
}

void MotionWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Centred when the widget is given more room than it asked for.
    const QSize hint = sizeHint();
    painter.translate(std::max(0, (width() - hint.width()) / 2), std::max(0, (height() - hint.height()) / 2));
    MotionPainter::paint(painter, frameRect(), m_kind, shownElapsed(), paletteNamed(m_palette), m_pixelSize,
                         m_showLens);
}

void MotionWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timeline->start();
}

void MotionWidget::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timeline->stop();
}

} // namespace pomelark
