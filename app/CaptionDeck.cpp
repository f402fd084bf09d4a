#include "app/CaptionDeck.h"

#include <QRandomGenerator>

#include <utility>

namespace pomelark {

CaptionDeck::CaptionDeck(QRandomGenerator *random)
    : m_random(random ? random : QRandomGenerator::global()), m_caption(PreparingCaption::opening())
{
}

void CaptionDeck::refill()
{
    m_deck.clear();
    for (const PreparingCaption &caption : PreparingCaption::all()) {
        if (caption != m_caption)
            m_deck.append(caption);
    }
    // Fisher–Yates; bounded() draws without modulo bias.
    for (qsizetype i = m_deck.size() - 1; i > 0; --i) {
        const auto j = qsizetype(m_random->bounded(quint32(i + 1)));
        std::swap(m_deck[i], m_deck[j]);
    }
}

void CaptionDeck::advance()
{
    if (m_deck.isEmpty())
        refill();
    m_caption = m_deck.takeFirst();
    ++m_captionTick;
}

} // namespace pomelark
