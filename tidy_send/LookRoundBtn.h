#pragma once

#include "look/AnimatedValue.h"

#include <QAbstractButton>

#include <functional>

namespace pomelark {

/// The round icon button of the enlarged look: a white symbol on a translucent
/// white circle that brightens under the pointer (easing over 0.15 s). Large
/// (52 px, for previous and next) or small (40 px, for close); drawn at 35 %
/// while disabled. Takes no keyboard focus.
class LookRoundBtn : public QAbstractButton {
    Q_OBJECT
public:
    LookRoundBtn(const QString &systemImage, const QString &help, bool isLarge, std::function<void()> action,
                 QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    QString systemImage() const { return m_systemImage; }
    bool isLarge() const { return m_isLarge; }
    bool isHover() const { return m_isHover; }
    /// The circle's white opacity right now: 0.12 at rest, 0.22 under the pointer.
    qreal circleOpacity() const;
    /// The opacity the whole button is drawn at.
    qreal drawnOpacity() const { return isEnabled() ? 1.0 : disabledOpacity; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr qreal disabledOpacity = 0.35;
    static constexpr qreal hoverSeconds = 0.15;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QString m_systemImage;
    bool m_isLarge;
    bool m_isHover = false;
    AnimatedValue m_hover;
};

} // namespace pomelark
