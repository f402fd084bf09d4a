#pragma once

#include "look/HoverButton.h"

namespace pomelark {

/// The viewer's round selection check, 30 px: lavender with a white tick when the
/// item is selected, a dark disc with a white ring when not. It grows a little
/// under the pointer and tips "Select" or "Deselect". A click calls its action;
/// the owner decides and sets the new state.
class ViewerCheck : public HoverButton {
    Q_OBJECT
public:
    ViewerCheck(bool isSelected, std::function<void()> action, QWidget *parent = nullptr,
                FrameTicker &ticker = FrameTicker::shared());

    void setSelected(bool selected);
    bool isSelected() const { return m_isSelected; }
    /// The scale drawn right now: 1 at rest, 1.08 under the pointer.
    qreal drawnScale() const { return 1.0 + 0.08 * hoverProgress(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_isSelected;
};

} // namespace pomelark
