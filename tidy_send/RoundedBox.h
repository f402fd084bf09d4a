#pragma once

#include <QColor>
#include <QWidget>

namespace pomelark {

/// A plain box drawn as a filled rounded rectangle (continuous corners) or a
/// capsule, with an optional 1 px outline, behind whatever its layout holds.
/// With a preferred maximum width it asks for that width, so a layout that
/// centres it gives it as much of the row as it may take.
class RoundedBox : public QWidget {
    Q_OBJECT
public:
    struct Look {
        QColor fill;
        QColor stroke = Qt::transparent;
        qreal radius = 0; ///< ignored for a capsule
        bool capsule = false;
    };

    explicit RoundedBox(Look look, QWidget *parent = nullptr);

    const Look &look() const { return m_look; }

    /// The widest the box gets; it asks for this width from its layout.
    void setPreferredMaximumWidth(int width);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Look m_look;
    int m_preferredMaximumWidth = 0;
};

} // namespace pomelark
