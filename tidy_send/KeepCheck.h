#pragma once

#include "look/AnimatedValue.h"
#include "look/ShadowUnderlay.h"

#include <QAbstractButton>
#include <QPointer>

#include <functional>

namespace pomelark {

/// The round keep check of a photo in a group of similar shots: a lavender disc
/// with a white tick while the photo stays in the send, an almost white disc with
/// a thin grey ring once it is left out. It holds no state of its own: a click
/// only calls its action, and the owner hands the new flag back through
/// `setKept`, which eases the colours over 0.15 s. Its tip names what a click
/// will do. Takes no keyboard focus.
class KeepCheck : public QAbstractButton {
    Q_OBJECT
public:
    /// `size` is the diameter of the disc (22 on the cards, 30 in the look).
    KeepCheck(bool kept, std::function<void()> action, qreal size, QWidget *parent = nullptr,
              FrameTicker &ticker = FrameTicker::shared());

    /// Shows `kept`, easing over 0.15 s unless `animated` is false.
    void setKept(bool kept, bool animated = true);
    bool isKept() const { return m_kept; }
    qreal diameter() const { return m_size; }

    /// "Exclude" while kept, "Keep" otherwise.
    QString helpText() const;
    /// The tick's size: 14 on discs larger than 24, else 11.
    qreal tickSize() const { return m_size > 24 ? 14 : 11; }
    QColor fillColor() const;
    QColor ringColor() const;
    /// 0 excluded … 1 kept; moves with the 0.15 s ease.
    qreal keptProgress() const { return m_keptProgress.value(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr qreal changeSeconds = 0.15;
    /// Room on each side of the disc for the outer half of its ring: owners place
    /// the check this much up and to the left of where the disc should sit.
    static constexpr int bleed = 1;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    void ensureShadow();
    QRectF discRect() const;

    bool m_kept;
    qreal m_size;
    AnimatedValue m_keptProgress;
    QPointer<ShadowUnderlay> m_shadow;
};

} // namespace pomelark
