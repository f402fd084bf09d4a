#pragma once

#include <QWidget>

namespace pomelark {

/// The dark "Excluded" capsule that marks an item left out of the send. It has
/// no fixed size: the capsule follows its text, 7 px to each side and 3 px above
/// and below. The caller places it.
class ExcludedBadge : public QWidget {
    Q_OBJECT
public:
    explicit ExcludedBadge(QWidget *parent = nullptr);

    QString text() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    /// Draws the badge with its top-left at `topLeft`, for views that paint their
    /// tiles themselves instead of holding a widget per tile.
    static void paint(QPainter &painter, QPointF topLeft);
    static QSizeF paintedSize();

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace pomelark
