#pragma once

#include "look/SpinnerSpokes.h"

#include <QColor>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace pomelark {

/// The indeterminate spinner: twelve rounded spokes whose brightness runs around
/// the circle once a second. Large (32 px) on a dark ground for a picture still
/// loading, small (16 px) on a card's placeholder, regular (20 px) elsewhere. It
/// moves only while shown.
class ActivitySpinner : public QWidget {
    Q_OBJECT
public:
    enum class Size { small, regular, large };

    ActivitySpinner(Size size, QColor color, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());
    ~ActivitySpinner() override;

    static int side(Size size) { return size == Size::large ? 32 : size == Size::small ? 16 : 20; }
    /// Which spoke is brightest, 0…11, clockwise from the top.
    int leadingSpoke() const { return m_spokes.leadingSpoke(); }
    /// The brightest spoke at the ticker time `now`, one turn a second.
    static int leadingSpokeAt(std::chrono::nanoseconds now);
    /// Paints the spinner filling `frame` (square) in `color`, with
    /// `leadingSpoke` brightest, for views that draw spinners without a widget
    /// (turned by a SpinnerSpokes of their own).
    static void paint(QPainter &painter, const QRectF &frame, const QColor &color, int leadingSpoke);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    Size m_size;
    QColor m_color;
    SpinnerSpokes m_spokes;
};

} // namespace pomelark
