#pragma once

#include "look/FrameTicker.h"
#include "look/MascotPauser.h"

#include <QWidget>

#include <functional>

namespace pomelark {

class PomelarkButton;
class TuppoMotionView;

/// Covers the whole window, opaque, while the watched card is out: a searching
/// mascot, "Please put the card back" and one way out, "Back to start".
class CardMissingScreen : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        /// "Back to start": the main view goes home.
        std::function<void()> onGoHome;
    };

    explicit CardMissingScreen(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared(),
                               MascotPauser &pauser = MascotPauser::shared());

    PomelarkButton *backButton() const { return m_back; }
    TuppoMotionView *mascot() const { return m_mascot; }

private:
    Inputs m_inputs;
    TuppoMotionView *m_mascot = nullptr;
    PomelarkButton *m_back = nullptr;
};

} // namespace pomelark
