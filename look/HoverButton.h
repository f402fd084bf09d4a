#pragma once

#include "look/AnimatedValue.h"

#include <QAbstractButton>

#include <functional>

namespace pomelark {

class PointerOver;
class TuppoTooltip;

/// The common ground of the icon buttons: a plain button without chrome that
/// tracks whether the pointer is over it, also while the button moves under a
/// resting pointer (easing its hover look in and out over 0.15 s), shows a tip
/// after resting on it, calls an action on click and takes no keyboard focus.
class HoverButton : public QAbstractButton {
    Q_OBJECT
public:
    ~HoverButton() override;

    /// Whether the hover look applies (pointer inside, and for buttons that say
    /// so, enabled).
    bool isHover() const { return m_isHover; }
    /// 0 without the hover look, 1 with it; moves with the hover animation.
    qreal hoverProgress() const { return m_hover.value(); }
    TuppoTooltip *tooltip() const { return m_tooltip; }

    static constexpr qreal hoverSeconds = 0.15;

protected:
    /// `hoverNeedsEnabled`: a disabled button never shows the hover look.
    HoverButton(const QString &help, bool hoverNeedsEnabled, std::function<void()> action, QWidget *parent,
                FrameTicker &ticker);

    FrameTicker &ticker() const { return m_ticker; }

    /// The 34 × 34 toolbar frame: rounded fill and hairline, drawn at 40 % when disabled.
    void paintToolFrame(QPainter &painter, const QColor &fill, const QColor &stroke) const;
    static constexpr int toolSide = 34;
    static constexpr qreal toolDisabledOpacity = 0.4;

    void changeEvent(QEvent *event) override;

private:
    void updateHover(bool inside);

    FrameTicker &m_ticker;
    AnimatedValue m_hover;
    bool m_isHover = false;
    bool m_hoverNeedsEnabled;
    bool m_inside = false;
    TuppoTooltip *m_tooltip = nullptr;
    PointerOver *m_pointer = nullptr;
};

} // namespace pomelark
