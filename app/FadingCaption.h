#pragma once

#include "look/CrossFade.h"

#include <QWidget>

namespace pomelark {

/// One line of text, centred, that cross-fades to each new text.
class FadingCaption : public QWidget {
    Q_OBJECT
public:
    FadingCaption(const QString &text, const QFont &font, const QColor &color, QWidget *parent = nullptr,
                  FrameTicker &ticker = FrameTicker::shared());

    /// Shows `text` by fading it in over the text on screen.
    void setText(const QString &text);
    QString text() const { return m_text; }
    bool isFading() const { return m_fade.isRunning(); }

    static constexpr double fadeSeconds = 0.25;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QColor m_color;
    CrossFade m_fade;
};

} // namespace pomelark
