#pragma once

#include "look/SymbolIcons.h"

#include <QColor>
#include <QWidget>

namespace pomelark {

/// One symbol at a fixed size, centred in a fixed frame, optionally on a filled
/// circle that fills the frame. Only the symbol scales (about its centre), so a
/// mark can grow inside a circle that stands still. Takes no input.
class SymbolView : public QWidget {
    Q_OBJECT
public:
    struct Look {
        QString symbol;
        qreal size = 13;
        SymbolWeight weight = SymbolWeight::Regular;
        QColor color;
        QSize frame;                     ///< the widget's fixed size; empty: size × size
        QColor circle = Qt::transparent; ///< fill of a circle inscribed in the frame
    };

    explicit SymbolView(Look look, QWidget *parent = nullptr);

    const Look &look() const { return m_look; }

    /// Scales the symbol about its centre; 0 hides it.
    void setSymbolScale(qreal scale);
    qreal symbolScale() const { return m_scale; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Look m_look;
    qreal m_scale = 1;
};

} // namespace pomelark
