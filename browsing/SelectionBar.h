#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

namespace pomelark {

class ShadowUnderlay;

/// The floating capsule at the bottom of the grid screen in select mode: how
/// many items are selected (or a hint when none are), Clear, Include, Exclude
/// and Done. It holds no state of its own; each button calls one action.
/// Include and Exclude are muted and take no clicks while nothing is selected.
///
/// The widget is the capsule with 20 px of clear space below it; that space
/// takes no clicks, so the main view can lay the bar over the grid's bottom
/// centre at its size hint.
class SelectionBar : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        int count = 0;
        std::function<void()> onExclude;
        std::function<void()> onInclude;
        std::function<void()> onClear;
        std::function<void()> onDone;
    };
    enum class Button { clear, include, exclude, done };

    explicit SelectionBar(Inputs inputs, QWidget *parent = nullptr);

    int count() const { return m_inputs.count; }
    void setCount(int count);
    /// The whole bar, its shadow included, is drawn at this opacity (its
    /// fade in and out with select mode).
    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }

    /// The text at the bar's start: the hint, or the number selected.
    QString statusText() const;
    /// Where a button takes clicks, in widget coordinates; empty when the
    /// button is not shown (Clear while nothing is selected).
    QRectF buttonFrame(Button button) const;
    bool isButtonEnabled(Button button) const;
    /// The capsule's rectangle (the widget less the space below it).
    QRectF capsuleRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Piece {
        QRectF frame;   ///< where it is drawn (and, for buttons, takes clicks)
        QString text;
        std::optional<Button> button;
    };
    QList<Piece> pieces() const;
    std::optional<Button> buttonAt(QPointF point) const;
    void trigger(Button button);
    void ensureShadow();
    void fitToContent();

    Inputs m_inputs;
    std::optional<Button> m_pressed;
    qreal m_opacity = 1;
    QPointer<ShadowUnderlay> m_shadow;
};

} // namespace pomelark
