#pragma once

#include <QWidget>

namespace pomelark {

/// A short text of one or more lines, each line centred, with extra space
/// between lines and wrapped inside a maximum width. Line breaks in the text are
/// kept; longer lines (translations) wrap at word boundaries.
class Paragraph : public QWidget {
    Q_OBJECT
public:
    /// `lineSpacing`: extra pixels between lines. `maxWidth`: the widest the text
    /// is ever laid out, whatever room it is given; none when 0.
    Paragraph(const QString &text, const QFont &font, const QColor &color, qreal lineSpacing, int maxWidth = 0,
              QWidget *parent = nullptr);

    QString text() const { return m_text; }
    QColor color() const { return m_color; }
    /// The width the text is laid out in when given `available` pixels.
    int layoutWidth(int available) const;
    /// The natural width of `text` in `font`: its longest line, unwrapped.
    static int naturalWidth(const QString &text, const QFont &font);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int heightAt(int width) const;

    QString m_text;
    QColor m_color;
    qreal m_lineSpacing;
    int m_maxWidth;
};

} // namespace pomelark
