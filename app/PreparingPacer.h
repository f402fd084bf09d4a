#pragma once

#include "app/CaptionDeck.h"
#include "look/AnimatedValue.h"
#include "look/FrameTicker.h"
#include "look/TuppoMotionKind.h"

#include <QObject>

#include <chrono>

namespace pomelark {

/// The timing of the preparing screen, without the screen: which caption and
/// mascot motion show, and how full the progress bar is.
///
/// Once started, two loops run on the ticker's clock. The caption changes at
/// every multiple of 1.4 s after `startedAt` (never sooner than 0.05 s after the
/// previous wake), the motion after the hold of the motion on screen. The bar
/// creeps linearly to 90 % at 5 s after `startedAt`, also when started late.
/// When the finale comes on, the bar eases to full in 0.5 s and both loops stop
/// at their next wake without changing anything. Main thread only.
class PreparingPacer : public QObject, public FrameClient {
    Q_OBJECT
public:
    /// `startedAt` is a reading of the ticker's clock. `random` as for CaptionDeck.
    PreparingPacer(std::chrono::nanoseconds startedAt, bool isFinale, FrameTicker &ticker = FrameTicker::shared(),
                   QRandomGenerator *random = nullptr);
    ~PreparingPacer() override;

    /// Starts the bar and both loops; later calls do nothing.
    void start();

    /// The moment the caption grid and the bar count from.
    std::chrono::nanoseconds startedAt() const { return m_startedAt; }

    /// Turning the finale on (a change, not the value it starts with) fills the bar.
    void setFinale(bool isFinale);
    bool isFinale() const { return m_isFinale; }

    /// The caption on screen: the finale caption during the finale.
    const PreparingCaption &shownCaption() const;
    /// Changes whenever the shown caption changes: the caption tick, -1 in the finale.
    int captionIdentity() const { return m_isFinale ? -1 : m_deck.captionTick(); }
    const CaptionDeck &deck() const { return m_deck; }
    /// The motion outside the finale.
    TuppoMotionKind motion() const { return m_motion; }
    /// 0…1.
    double barFill() const { return m_bar.value(); }
    /// Whether either loop still waits for its next wake.
    bool isLooping() const { return m_captionLoop || m_motionLoop; }

    /// The ten motions of the screen: every kind but hop and wiggle, in order.
    static const QList<TuppoMotionKind> &motionPool();
    /// How long `kind` stays on screen, in seconds.
    static double motionHold(TuppoMotionKind kind);
    /// A uniformly random member of the pool other than `after`.
    static TuppoMotionKind nextMotion(TuppoMotionKind after, QRandomGenerator *random = nullptr);
    /// The wait from `elapsed` (since `startedAt`) to the next multiple of the
    /// caption cycle, at least the minimum wait.
    static std::chrono::nanoseconds captionWait(std::chrono::nanoseconds elapsed);

    static constexpr std::chrono::nanoseconds captionCycle = std::chrono::milliseconds(1400);
    static constexpr std::chrono::nanoseconds minimumWait = std::chrono::milliseconds(50);
    static constexpr double barCreepSeconds = 5.0;
    static constexpr double barCreepFill = 0.9;
    static constexpr double finaleFillSeconds = 0.5;

    void advanceTo(std::chrono::nanoseconds now) override;

Q_SIGNALS:
    void captionChanged();
    void motionChanged();
    void barFillChanged();
    void finaleChanged();

private:
    FrameTicker &m_ticker;
    QRandomGenerator *m_random;
    std::chrono::nanoseconds m_startedAt;
    bool m_isFinale;
    bool m_started = false;
    CaptionDeck m_deck;
    TuppoMotionKind m_motion;
    AnimatedValue m_bar;
    bool m_captionLoop = false;
    bool m_motionLoop = false;
    std::chrono::nanoseconds m_captionWake{};
    std::chrono::nanoseconds m_motionWake{};
};

} // namespace pomelark
