#pragma once

#include "look/OverlayLayer.h"

#include <functional>
#include <initializer_list>

namespace pomelark {

class HiddenShortcuts;

/// The dark layer under an overlay that shows one item large: 1C1814 at 0.94
/// over the whole window, whose single click closes the overlay. Clicks taken by
/// the pieces laid on it (buttons, the picture) never reach it; clicks on empty
/// room between them do. It fades in when first shown and out on `leave()`.
///
/// It also holds the overlay's keyboard shortcuts; their actions and the close
/// action do nothing once the overlay is on its way out, so a decision is never
/// handed back twice.
class ItemOverlayBackdrop : public OverlayLayer {
    Q_OBJECT
public:
    ItemOverlayBackdrop(std::function<void()> onClose, QWidget *parent = nullptr, Animation fade = defaultFade(),
                        FrameTicker &ticker = FrameTicker::shared());

    /// The backdrop's colour.
    static QColor backdropColor();

    HiddenShortcuts *shortcuts() const { return m_shortcuts; }

    /// Adds a shortcut for `key` (no modifiers) that runs `action` unless the
    /// overlay is leaving.
    void addShortcut(const QString &name, const QKeySequence &key, std::function<void()> action);

protected:
    /// Calls the close action, unless leaving.
    void requestClose();

    /// Makes clicks on `pieces` theirs: pieces that take no click themselves
    /// (a title, a symbol, a badge) would otherwise pass it on to the backdrop,
    /// which closes.
    static void keepClicks(std::initializer_list<QWidget *> pieces);

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::function<void()> m_onClose;
    HiddenShortcuts *m_shortcuts = nullptr;
    bool m_pressed = false;
};

} // namespace pomelark
