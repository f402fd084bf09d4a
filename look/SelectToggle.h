#pragma once

#include "look/HoverButton.h"

namespace pomelark {

/// The toolbar's select-mode toggle: built like `ToolIconBtn`, showing a white
/// filled check-square on lavender while active, an outlined one otherwise.
/// Hover and active changes each ease over 0.15 s.
class SelectToggle : public HoverButton {
    Q_OBJECT
public:
    SelectToggle(bool isActive, bool isEnabled = true, std::function<void()> action = {}, QWidget *parent = nullptr,
                 FrameTicker &ticker = FrameTicker::shared());

    void setActive(bool active);
    bool isActive() const { return m_isActive; }

    /// The tip for the current state.
    QString helpText() const;
    QColor iconColor() const;
    QColor fillColor() const;
    QColor strokeColor() const;

    QSize sizeHint() const override { return {toolSide, toolSide}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_isActive;
    AnimatedValue m_active;
};

} // namespace pomelark
