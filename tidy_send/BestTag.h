#pragma once

#include <QWidget>

namespace pomelark {

/// The small lavender "Best" capsule on the proposed best shot of a group of
/// similar photos. Like the excluded badge it has no fixed size: the capsule
/// follows its text, 6 px to each side and 2 px above and below.
class BestTag : public QWidget {
    Q_OBJECT
public:
    explicit BestTag(QWidget *parent = nullptr);

    static QString text();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    /// Draws the tag with its top-left at `topLeft`, for views that paint it
    /// themselves.
    static void paint(QPainter &painter, QPointF topLeft);
    static QSizeF paintedSize();

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace pomelark
