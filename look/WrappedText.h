#pragma once

#include "look/LookFont.h"

#include <QColor>
#include <QFont>
#include <QWidget>

namespace pomelark {

/// Plain text that wraps to the width it is given, with extra room between its
/// lines; explicit line breaks ("\n") are kept. Its height follows its width, so
/// layouts give it the lines it needs. A fractional font size is drawn exactly
/// (LookFont::scaledForDrawing). It takes no clicks.
class WrappedText : public QWidget {
    Q_OBJECT
public:
    WrappedText(const QString &text, const QFont &font, const QColor &color, Qt::Alignment alignment,
                qreal lineSpacing = 0, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    /// Lays the text out at `width` and returns its height; with a painter, draws it.
    qreal layOut(qreal width, QPainter *painter) const;

    QString m_text;
    LookFont::ScaledFont m_font;
    QColor m_color;
    Qt::Alignment m_alignment;
    qreal m_lineSpacing;
};

} // namespace pomelark
