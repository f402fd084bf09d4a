#pragma once

#include "look/AnimatedValue.h"

#include <QObject>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

namespace pomelark {

/// What the photo and video tiles of the grid share: a 120 px square that dims
/// and badges itself when excluded, draws a border when selected, lifts under
/// the pointer and shows the selection check in select mode. Each change of
/// look eases over 0.15 s.
///
/// A tile is not a widget: the grid keeps one for each tile near the visible
/// rows and paints it into its viewport, so thousands of items cost only the
/// tiles on screen. `changed` asks the grid to repaint the tile.
class GridTile : public QObject {
    Q_OBJECT
public:
    static constexpr qreal side = 120;
    static constexpr qreal cornerRadius = 12;
    static constexpr qreal markPadding = 7;

    struct Flags {
        bool isExcluded = false;
        bool isSelected = false;
        bool selectMode = false;
    };

    /// `onActivate`: the click; when empty the tile takes no clicks.
    /// `onToggleSelect`: the check; when empty no check is shown.
    GridTile(Flags flags, std::function<void()> onActivate, std::function<void()> onToggleSelect,
             QObject *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());
    ~GridTile() override;

    const Flags &flags() const { return m_flags; }
    /// New flags; the look eases to them.
    void setFlags(Flags flags);
    bool isHover() const { return m_isHover; }
    void setHover(bool hover);

    /// Whether the check is shown at all (select mode with a toggle action).
    bool showsCheck() const;
    /// Whether the check is visible and takes clicks: shown, and selected or hovered.
    bool checkTakesClicks() const;
    /// The check's frame in tile coordinates (top-leading, 7 px in).
    static QRectF checkFrame();

    /// A click at `point` (tile coordinates): the check when it takes clicks,
    /// else the tile itself. Returns whether the click was taken.
    bool click(QPointF point);
    /// The help text under the pointer at `point`, empty when there is none.
    virtual QString helpAt(QPointF point) const;

    /// Paints the tile with its top-left at the painter's origin.
    void paint(QPainter &painter);

    /// The rest values of the eased look, for tests: dimming opacity, lift in
    /// px (negative is up), shadow (0 small, 1 medium), check opacity.
    qreal targetOpacity() const { return m_dim.target(); }
    qreal targetLift() const { return m_lift.target(); }
    qreal targetShadow() const { return m_shadow.target(); }
    qreal targetCheckOpacity() const { return m_check.target(); }

Q_SIGNALS:
    void changed();

protected:
    /// The picture inside the rounded square (dimmed with it when excluded).
    virtual void paintContent(QPainter &painter, const QRectF &tile) = 0;
    /// What a click on the tile does; the base calls `onActivate`.
    virtual void activate();
    /// The pointer's hover progress (0 … 1), for content that follows it.
    qreal hoverProgress() const { return m_hover.value(); }
    FrameTicker &ticker() const { return m_ticker; }
    void callActivate();

private:
    void updateTargets(bool animated);

    FrameTicker &m_ticker;
    Flags m_flags;
    bool m_isHover = false;
    std::function<void()> m_onActivate;
    std::function<void()> m_onToggleSelect;
    AnimatedValue m_hover;
    AnimatedValue m_dim;
    AnimatedValue m_badge;
    AnimatedValue m_border;
    AnimatedValue m_shadow;
    AnimatedValue m_lift;
    AnimatedValue m_check;
};

} // namespace pomelark
