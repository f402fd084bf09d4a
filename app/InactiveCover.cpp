#include "app/InactiveCover.h"

#include "look/MotionFrame.h"
#include "look/Palette.h"
#include "look/PixelCharacter.h"
#include "look/PixelCharacterView.h"

#include <QMouseEvent>
#include <QPainter>

namespace pomelark {

namespace {

/// Shrinking by this much and growing back smoothly blurs enough that no
/// thumbnail can be made out.
constexpr int frostFactor = 16;

} // namespace

InactiveCover::InactiveCover(QWidget *parent, FrameTicker &ticker)
    : OverlayLayer(parent, Animation::easeOut(0.25), ticker)
{
}

void InactiveCover::refreshBackdrop()
{
    QWidget *below = parentWidget();
    if (!below || below->width() <= 0 || below->height() <= 0) {
        m_frosted = {};
        return;
    }
    // The copy is of what lies beneath, never of the cover itself.
    m_grabbing = true;
    const QImage sharp = below->grab().toImage();
    m_grabbing = false;
    const QSize small((sharp.width() + frostFactor - 1) / frostFactor, (sharp.height() + frostFactor - 1) / frostFactor);
    m_frosted = sharp.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .scaled(sharp.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_frosted.setDevicePixelRatio(sharp.devicePixelRatio());
    update();
}

void InactiveCover::showEvent(QShowEvent *event)
{
    if (m_frosted.isNull())
        refreshBackdrop();
    OverlayLayer::showEvent(event);
}

void InactiveCover::paintEvent(QPaintEvent *)
{
    if (m_grabbing)
        return;
    QPainter painter(this);
    if (!m_frosted.isNull())
        painter.drawImage(rect(), m_frosted);
    // The material's light wash over the blur.
    QColor wash = Palette::background();
    wash.setAlphaF(0.55);
    painter.fillRect(rect(), wash);

    const PixelCharacter &mascot = PixelCharacter::mascot();
    const QString face = QStringLiteral("uwu");
    const QImage picture = PixelCharacterView::raster(mascot, paletteNamed(QStringLiteral("lavender")), face,
                                                      mascotPixelSize, true, devicePixelRatioF());
    const QSizeF size = QSizeF(picture.size()) / picture.devicePixelRatio();
    const QPointF topLeft((width() - size.width()) / 2.0, (height() - size.height()) / 2.0);
    PixelCharacterView::draw(painter, topLeft, mascot, paletteNamed(QStringLiteral("lavender")), face,
                             mascotPixelSize, true);
}

void InactiveCover::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

} // namespace pomelark
