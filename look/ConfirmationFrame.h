#pragma once

#include "look/OverlayLayer.h"

#include <functional>

class QVBoxLayout;

namespace pomelark {

class PomelarkButton;

/// The frame every confirmation shares: a dimmed backdrop over the whole window
/// whose click cancels, and a centred white card at most `maxPanelWidth` wide
/// that keeps 28 px to the window's edges. A click on the card never reaches the
/// backdrop. Screens fill the card through `panelLayout()` and end it with
/// `addButtonRow`. No keys are bound.
class ConfirmationFrame : public OverlayLayer {
    Q_OBJECT
public:
    static constexpr qreal panelRadius = 20;
    static constexpr int panelPadding = 28;
    static constexpr int panelSpacing = 18;
    static constexpr int windowMargin = 28;

    ConfirmationFrame(qreal maxPanelWidth, std::function<void()> onCancel, QWidget *parent = nullptr,
                      FrameTicker &ticker = FrameTicker::shared());

    /// The card's vertical stack (spacing 18, padding 28).
    QVBoxLayout *panelLayout() const { return m_layout; }
    QWidget *panel() const { return m_panel; }

    /// Adds the last row: the cancel button (ghost style, calls the frame's cancel
    /// action) and the confirm button (primary style), at the trailing end.
    /// Returns the confirm button, so a screen can disable or retitle it.
    PomelarkButton *addButtonRow(const QString &cancelTitle, const QString &confirmTitle,
                                 std::function<void()> onConfirm, const QString &confirmSymbol = {});

    /// Where the card lies, in the frame's coordinates.
    QRect panelGeometry() const;

    /// The backdrop's colour (2A2520 at 0.35).
    static QColor backdropColor();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void placePanel();

    qreal m_maxPanelWidth;
    std::function<void()> m_onCancel;
    QWidget *m_panel = nullptr;
    QVBoxLayout *m_layout = nullptr;
    bool m_pressedOnBackdrop = false;
};

} // namespace pomelark
