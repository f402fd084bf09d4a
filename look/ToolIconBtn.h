#pragma once

#include "look/HoverButton.h"

namespace pomelark {

/// The 34 × 34 toolbar button: a medium 16 px symbol in a white rounded frame
/// with a hairline, lavender under the pointer. Disabled it is drawn at 40 %,
/// ignores clicks and never shows the hover look, but still shows its tip.
class ToolIconBtn : public HoverButton {
    Q_OBJECT
public:
    ToolIconBtn(const QString &systemImage, const QString &help, bool isEnabled = true,
                std::function<void()> action = {}, QWidget *parent = nullptr,
                FrameTicker &ticker = FrameTicker::shared());

    QString systemImage() const { return m_systemImage; }
    QColor iconColor() const;
    QColor fillColor() const;
    QColor strokeColor() const;

    QSize sizeHint() const override { return {toolSide, toolSide}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_systemImage;
};

} // namespace pomelark
