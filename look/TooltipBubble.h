#pragma once

#include <QString>
#include <QWidget>

namespace pomelark {

/// The tip bubble: one line of small text on a white rounded card with a hairline
/// and a soft shadow. It lies on the window's top layer, takes no pointer events
/// and never wraps, however much wider than its control it is.
class TooltipBubble : public QWidget {
    Q_OBJECT
public:
    explicit TooltipBubble(QWidget *window);

    void setText(const QString &text);
    QString text() const { return m_text; }
    void setBubbleOpacity(qreal opacity);
    qreal bubbleOpacity() const { return m_opacity; }

    /// The bubble's own size (text and padding), without the shadow around it.
    QSizeF bubbleSize() const;
    /// Places the bubble (without its shadow) at `bubble`, in window coordinates.
    void place(const QRectF &bubble);
    /// The bubble's rectangle in window coordinates.
    QRectF bubbleRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    qreal m_opacity = 1;
    qreal m_margin = 0;
};

} // namespace pomelark
