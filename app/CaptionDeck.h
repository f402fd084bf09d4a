#pragma once

#include "app/PreparingCaption.h"

class QRandomGenerator;

namespace pomelark {

/// The caption sequence of the preparing screen: the opening caption first, then
/// the 59 captions in shuffled passes. Each pass holds every caption but the one
/// on screen when it is dealt, so the first 59 changes show each caption once and
/// no caption ever follows itself; the opening caption never comes back.
class CaptionDeck {
public:
    /// `random` deals the passes (uniformly, without modulo bias); the process's
    /// global generator unless a test hands in a seeded one.
    explicit CaptionDeck(QRandomGenerator *random = nullptr);

    const PreparingCaption &caption() const { return m_caption; }
    /// The captions still to come in the current pass, next first.
    const QList<PreparingCaption> &deck() const { return m_deck; }
    /// How many times the caption has changed; 0 for the opening caption.
    int captionTick() const { return m_captionTick; }

    /// Shows the next caption, dealing a new pass first when the current one is used up.
    void advance();

private:
    void refill();

    QRandomGenerator *m_random;
    PreparingCaption m_caption;
    QList<PreparingCaption> m_deck;
    int m_captionTick = 0;
};

} // namespace pomelark
