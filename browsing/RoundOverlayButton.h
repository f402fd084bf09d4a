#pragma once

#include "look/HoverButton.h"

namespace pomelark {

/// The round translucent icon button of the viewer (close, previous, next,
/// rotate): a white symbol on a white circle that brightens under the pointer.
/// Large (52 px, symbol 22) beside the item, small (40 px, symbol 17) elsewhere.
/// Disabled, it is drawn at 0.35 and does not react.
class RoundOverlayButton : public HoverButton {
    Q_OBJECT
public:
    RoundOverlayButton(const QString &systemImage, const QString &help, bool isLarge, std::function<void()> action,
                       QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    QString systemImage() const { return m_systemImage; }
    bool isLarge() const { return m_isLarge; }
    /// The circle's opacity right now: 0.12 at rest, 0.22 under the pointer.
    qreal circleOpacity() const;
    /// The opacity the whole button is drawn at.
    qreal drawnOpacity() const { return isEnabled() ? 1.0 : 0.35; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_systemImage;
    bool m_isLarge;
};

} // namespace pomelark
