#pragma once

#include "look/FrameTicker.h"
#include "look/Presence.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace pomelark {

class TooltipBubble;

/// The tip shown under a control once the pointer has rested on it for 0.3 s.
/// Leaving earlier cancels the wait, so a pass over the control shows nothing;
/// entering again starts the whole wait anew. The bubble fades in and out over
/// 0.15 s, 38 px below the control's bottom-trailing corner, on the window's top
/// layer; where that would leave the window, above the control or moved back
/// inside (see tooltipPlacement). Disabled controls show their tips too.
///
/// The bubble lies on the window rather than on the control, so it follows the
/// control when the control (or anything it lies in) moves, and goes when the
/// control moves away from under the pointer or hides.
class TuppoTooltip : public QObject, public FrameClient {
    Q_OBJECT
public:
    /// Attaches to `content` and lives as long as it does.
    TuppoTooltip(QWidget *content, const QString &text, FrameTicker &ticker = FrameTicker::shared());
    ~TuppoTooltip() override;

    void setText(const QString &text);
    QString text() const { return m_text; }

    /// Whether the tip is (logically) shown; it may still be fading.
    bool showTip() const { return m_showTip; }
    /// Whether a delay is running.
    bool isWaiting() const { return m_deadline.has_value(); }
    /// The bubble while anything of it is on screen, else null.
    TooltipBubble *bubble() const;

    static constexpr std::chrono::milliseconds delay{300};
    static constexpr qreal fadeSeconds = 0.15;
    static constexpr qreal offsetBelow = 38;

    void advanceTo(std::chrono::nanoseconds now) override;

private:
    void pointerEntered();
    void pointerLeft();
    void syncBubble();

    QPointer<QWidget> m_content;
    QPointer<TooltipBubble> m_bubble;
    FrameTicker &m_ticker;
    QString m_text;
    std::optional<std::chrono::nanoseconds> m_deadline;
    bool m_showTip = false;
    Presence m_presence;
};

} // namespace pomelark
