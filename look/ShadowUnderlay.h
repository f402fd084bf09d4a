#pragma once

#include "look/Shadows.h"

#include <QPainterPath>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace pomelark {

/// Paints the drop shadow of a control just beneath it, on a sibling widget
/// that reaches past the control's edges. The control keeps its own size in
/// layouts while its shadow spills over the space around it, as a shadow does:
/// above what lies behind the control, below what lies in front of it.
class ShadowUnderlay : public QWidget {
    Q_OBJECT
public:
    /// What to cast: the shape (in the owner's coordinates), the shadow and the
    /// opacity the owner is drawn at.
    struct Cast {
        QPainterPath shape;
        Shadow shadow;
        qreal opacity = 1;
    };

    /// Follows `owner` (its geometry, visibility and stacking) for as long as
    /// both live. An owner without a parent casts no shadow until it gets one.
    ShadowUnderlay(QWidget *owner, std::function<Cast()> cast);

    /// Repaints after the owner's look changed (pressed, dimmed).
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow();

    QPointer<QWidget> m_owner;
    std::function<Cast()> m_cast;
    qreal m_margin = 0;
};

} // namespace pomelark
