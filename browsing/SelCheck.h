#pragma once

#include <QAbstractButton>

#include <functional>

class QPainter;

namespace pomelark {

/// The round selection check of a tile: a white disc with a thin warm-grey
/// ring when not selected, a lavender disc with a white tick when selected.
/// A click calls the action once and nothing else: the check keeps its look
/// until its owner passes a new `isSelected`.
///
/// The grid paints its checks with `paint` rather than making a widget per
/// tile; the widget is for views that place one check on its own.
class SelCheck : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr qreal side = 22;

    SelCheck(bool isSelected, std::function<void()> action, QWidget *parent = nullptr);

    bool isSelected() const { return m_isSelected; }
    void setSelected(bool selected);

    /// The help text for a check in this state: "Deselect" or "Select".
    static QString helpText(bool isSelected);
    /// Paints the check, its small shadow included, filling `frame` (22 × 22).
    static void paint(QPainter &painter, const QRectF &frame, bool isSelected);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_isSelected;
};

} // namespace pomelark
