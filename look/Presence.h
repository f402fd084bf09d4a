#pragma once

#include "look/AnimatedValue.h"
#include "look/Transition.h"

namespace pomelark {

/// Whether a piece of the screen is there, with its way in and out. After
/// `remove()` the piece stays drawable until its out-transition has finished;
/// inserting it again meanwhile turns it back from where it is.
class Presence {
public:
    explicit Presence(Transition transition, FrameTicker &ticker = FrameTicker::shared());

    void setOnChange(std::function<void()> handler) { m_progress.setOnChange(std::move(handler)); }

    void insert(const Animation &animation);
    void remove(const Animation &animation);
    /// Inserts or removes without animation.
    void setPresent(bool present);

    /// Whether it is logically there (inserted and not removed).
    bool isPresent() const { return m_progress.target() > 0.5; }
    /// Whether anything of it is to be drawn (present, or still on its way out).
    bool isVisible() const { return isPresent() || m_progress.value() > 0.0; }
    qreal progress() const { return m_progress.value(); }

    Transition::Frame frame(QSizeF size, bool rightToLeft = false) const;

private:
    Transition m_transition;
    AnimatedValue m_progress;
};

} // namespace pomelark
