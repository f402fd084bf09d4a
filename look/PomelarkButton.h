#pragma once

#include "look/AnimatedValue.h"
#include "look/ButtonStyle.h"
#include "look/ShadowUnderlay.h"

#include <QAbstractButton>
#include <QPointer>

#include <functional>

namespace pomelark {

/// A text button, optionally with a symbol before its text, in one of the three
/// button styles. Pressing darkens (and for the filled styles shrinks) it with a
/// short ease-out; dragging the pointer off while pressed lets it go without a
/// click, back on presses it again. Takes no keyboard focus.
class PomelarkButton : public QAbstractButton {
    Q_OBJECT
public:
    PomelarkButton(const ButtonStyle &style, const QString &text, const QString &symbol = {},
                   std::function<void()> action = {}, QWidget *parent = nullptr,
                   FrameTicker &ticker = FrameTicker::shared());

    const ButtonStyle &buttonStyle() const { return m_style; }
    QString symbol() const { return m_symbol; }

    /// 0 at rest, 1 fully pressed; moves with the press animation.
    qreal pressProgress() const { return m_press.value(); }
    /// The opacity the whole button is drawn at (dimmed when disabled).
    qreal drawnOpacity() const;
    /// The scale the button is drawn at about its centre.
    qreal drawnScale() const;
    /// The fill colour drawn right now.
    QColor drawnFill() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void pressChanged();
    void ensureShadow();
    QPainterPath backgroundShape() const;
    void repaintAll();

    const ButtonStyle &m_style;
    QString m_symbol;
    AnimatedValue m_press;
    QPointer<ShadowUnderlay> m_shadow;
};

} // namespace pomelark
