#pragma once

#include <QLayoutItem>
#include <QPointer>

#include <optional>

namespace pomelark {

class MotionWidget;

/// A place in a layout for a mascot. The layout sees only the slot (the mascot's
/// layout frame, or a fixed width or height around it); the mascot widget, a
/// child of the layout's own widget, is placed so that its frame sits in the slot
/// by `alignment` while its drawing reaches past the slot (a hop's lift, rising
/// notes) over whatever lies next to it. The slot may change mascots.
class MascotSlot : public QLayoutItem {
public:
    MascotSlot(MotionWidget *mascot, std::optional<int> width, std::optional<int> height,
               Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignBottom);

    /// Puts `mascot` in the slot; the caller hides the old one.
    void setMascot(MotionWidget *mascot);
    MotionWidget *mascot() const { return m_mascot; }

    QSize sizeHint() const override;
    QSize minimumSize() const override { return sizeHint(); }
    QSize maximumSize() const override { return sizeHint(); }
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect &rect) override;
    QRect geometry() const override { return m_rect; }
    bool isEmpty() const override { return false; }

private:
    void place();

    QPointer<MotionWidget> m_mascot;
    std::optional<int> m_width;
    std::optional<int> m_height;
    Qt::Alignment m_alignment;
    QRect m_rect;
};

} // namespace pomelark
