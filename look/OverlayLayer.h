#pragma once

#include "look/Animation.h"
#include "look/Presence.h"

#include <QWidget>

#include <optional>

class QGraphicsOpacityEffect;

namespace pomelark {

/// A piece laid over the whole window (a confirmation, the viewer): it fills its
/// parent and follows the parent's size, fades in when first shown, and fades out
/// before it deletes itself.
class OverlayLayer : public QWidget {
    Q_OBJECT
public:
    /// The fade both ways, unless a screen asks for another.
    static Animation defaultFade() { return Animation::easeInOut(0.35); }

    explicit OverlayLayer(QWidget *parent = nullptr, Animation fade = defaultFade(),
                          FrameTicker &ticker = FrameTicker::shared());

    /// Replaces the way in and out; to be called before the overlay is first
    /// shown. None: it appears and goes at once, with no fade.
    void setFade(std::optional<Animation> fade) { m_fade = fade; }

    /// Plays the way out, then deletes the overlay (with deleteLater). From now on
    /// it takes no clicks and its keys are off. Calling it again changes nothing.
    void leave();

    /// 0 while out, 1 while fully in.
    qreal presence() const { return m_presence.progress(); }
    bool isLeaving() const { return m_leaving; }

protected:
    /// Called once as the way out begins, while everything still shows: the
    /// place to stop what must not outlast the decision to leave.
    virtual void aboutToLeave() {}

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyPresence();

    std::optional<Animation> m_fade;
    Presence m_presence;
    QGraphicsOpacityEffect *m_opacity = nullptr;
    bool m_entered = false;
    bool m_leaving = false;
};

} // namespace pomelark
