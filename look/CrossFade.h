#pragma once

#include "look/AnimatedValue.h"

#include <QPixmap>

class QPainter;

namespace pomelark {

/// Swaps one picture for another by fading the old one out while the new one
/// fades in. The caller hands over a snapshot of what was shown and keeps
/// painting its new content through `paint()`.
class CrossFade {
public:
    explicit CrossFade(FrameTicker &ticker = FrameTicker::shared());

    void setOnChange(std::function<void()> handler) { m_progress.setOnChange(std::move(handler)); }

    /// Starts fading from `outgoing` (a snapshot of the old content) to the new
    /// content. A swap during a swap starts from the current mix: the caller's
    /// snapshot should be taken of what is on screen.
    void start(QPixmap outgoing, const Animation &animation);

    bool isRunning() const { return m_progress.isAnimating(); }
    qreal incomingOpacity() const;
    qreal outgoingOpacity() const { return 1.0 - incomingOpacity(); }

    /// Draws the outgoing snapshot into `target` and the new content (by
    /// `paintIncoming`) over it at their opacities; after the fade only the new content.
    template <typename PaintIncoming>
    void paint(QPainter &painter, const QRectF &target, PaintIncoming &&paintIncoming) const;

private:
    void paintOutgoing(QPainter &painter, const QRectF &target, qreal opacity) const;
    static void beginIncoming(QPainter &painter, qreal opacity);
    static void endIncoming(QPainter &painter);

    QPixmap m_outgoing;
    AnimatedValue m_progress;
};

template <typename PaintIncoming>
void CrossFade::paint(QPainter &painter, const QRectF &target, PaintIncoming &&paintIncoming) const
{
    const qreal incoming = incomingOpacity();
    if (incoming < 1.0)
        paintOutgoing(painter, target, 1.0 - incoming);
    if (incoming <= 0.0)
        return;
    beginIncoming(painter, incoming);
    paintIncoming(painter);
    endIncoming(painter);
}

} // namespace pomelark
