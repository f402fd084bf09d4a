#pragma once

#include "app/PreparingPacer.h"
#include "look/MascotPauser.h"

#include <QPointer>
#include <QWidget>

#include <chrono>

namespace pomelark {

class FadingCaption;
class MascotSlot;
class MotionWidget;
class TuppoMotionView;

/// The wait screen of an import session: a mascot doing a changing motion, a
/// caption that changes every 1.4 s, and a thin bar creeping to 90 % within 5 s of
/// the start; in the finale, the hopping mascot, "All set! Off to the workbench"
/// and a full bar. It has no buttons and reports nothing back. The timing lives in
/// PreparingPacer, driven by the ticker's clock; it starts when the screen is
/// first shown and stops with the finale or when the screen goes away.
class PreparingScreen : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        /// When preparing began, as read from the ticker's clock
        /// (`AnimationClock::steady()` in the app); caption grid and bar count from it.
        std::chrono::nanoseconds startedAt{};
        /// Whether the closing finale is on.
        bool isFinale = false;
    };

    explicit PreparingScreen(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared(),
                             MascotPauser &pauser = MascotPauser::shared(), QRandomGenerator *random = nullptr);
    ~PreparingScreen() override;

    /// The main view's finale flag changed.
    void setFinale(bool isFinale);

    const PreparingPacer &pacer() const { return m_pacer; }
    /// The caption text on screen, in the display language.
    QString captionText() const;
    /// The mascot on screen: the motion view, or the hop in the finale.
    MotionWidget *shownMascot() const;

    static constexpr int rowSpacing = 22;
    static constexpr int mascotRowHeight = 130;
    static constexpr qreal mascotPixelSize = 5;
    static constexpr int barWidth = 200;
    static constexpr int barHeight = 4;
    static constexpr double finaleSwapSeconds = 0.25;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showCaption();
    /// Puts the mascot for the current finale state in the row; `animated`
    /// cross-fades from the one shown before.
    void showMascot(bool animated);
    void fadeMascots();

    FrameTicker &m_ticker;
    MascotPauser &m_pauser;
    PreparingPacer m_pacer;
    TuppoMotionView *m_motionView = nullptr;
    QPointer<MotionWidget> m_hop;
    QPointer<MotionWidget> m_outgoingMascot;
    AnimatedValue m_mascotFade;
    MascotSlot *m_mascotSlot = nullptr;
    FadingCaption *m_caption = nullptr;
    QWidget *m_bar = nullptr;
};

} // namespace pomelark
