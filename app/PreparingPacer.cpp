#include "app/PreparingPacer.h"

#include <QRandomGenerator>

#include <algorithm>

namespace pomelark {

namespace {

std::chrono::nanoseconds seconds(double value)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double>(value));
}

} // namespace

PreparingPacer::PreparingPacer(std::chrono::nanoseconds startedAt, bool isFinale, FrameTicker &ticker,
                               QRandomGenerator *random)
    : m_ticker(ticker), m_random(random ? random : QRandomGenerator::global()), m_startedAt(startedAt),
      m_isFinale(isFinale), m_deck(m_random),
      m_motion(motionPool().at(qsizetype(m_random->bounded(quint32(motionPool().size()))))), m_bar(0, ticker)
{
    m_bar.setOnChange([this] { Q_EMIT barFillChanged(); });
}

PreparingPacer::~PreparingPacer()
{
    m_ticker.remove(this);
}

const QList<TuppoMotionKind> &PreparingPacer::motionPool()
{
    static const QList<TuppoMotionKind> pool = [] {
        QList<TuppoMotionKind> kinds;
        for (TuppoMotionKind kind : allMotionKinds()) {
            if (kind != TuppoMotionKind::Hop && kind != TuppoMotionKind::Wiggle)
                kinds.append(kind);
        }
        return kinds;
    }();
    return pool;
}

double PreparingPacer::motionHold(TuppoMotionKind kind)
{
    switch (kind) {
    case TuppoMotionKind::Peek:
        return 2.5;
    case TuppoMotionKind::Hum:
        return 2.0;
    case TuppoMotionKind::Blow:
        return 2.8;
    case TuppoMotionKind::Stamp:
        return 2.0;
    case TuppoMotionKind::Stretch:
        return 2.9;
    case TuppoMotionKind::Snip:
        return 1.6;
    case TuppoMotionKind::Search:
        return 3.4;
    case TuppoMotionKind::Nod:
        return 2.2;
    case TuppoMotionKind::Doze:
        return 3.4;
    case TuppoMotionKind::Aww:
        return 1.8;
    case TuppoMotionKind::Hop:
    case TuppoMotionKind::Wiggle:
        break;
    }
    // Never in the pool; a hold keeps the loop moving should one slip in.
    return 2.0;
}

TuppoMotionKind PreparingPacer::nextMotion(TuppoMotionKind after, QRandomGenerator *random)
{
    QList<TuppoMotionKind> candidates = motionPool();
    candidates.removeAll(after);
    QRandomGenerator *generator = random ? random : QRandomGenerator::global();
    return candidates.at(qsizetype(generator->bounded(quint32(candidates.size()))));
}

std::chrono::nanoseconds PreparingPacer::captionWait(std::chrono::nanoseconds elapsed)
{
    // Whole nanoseconds: a wake exactly on a grid point must count as past it,
    // which floating seconds get wrong (2.8 / 1.4 < 2).
    const auto cycles = elapsed.count() >= 0 ? elapsed / captionCycle : -1;
    const std::chrono::nanoseconds next = (cycles + 1) * captionCycle;
    return std::max(next - elapsed, minimumWait);
}

void PreparingPacer::start()
{
    if (m_started)
        return;
    m_started = true;
    const std::chrono::nanoseconds now = m_ticker.now();
    const double elapsed = std::max(0.0, secondsBetween(m_startedAt, now));
    m_bar.setValue(std::min(elapsed / barCreepSeconds * barCreepFill, barCreepFill));
    m_bar.animateTo(barCreepFill, Animation::linear(std::max(barCreepSeconds - elapsed, 0.0)));

    m_captionLoop = true;
    m_captionWake = now + captionWait(now - m_startedAt);
    m_motionLoop = true;
    m_motionWake = now + seconds(motionHold(m_motion));
    m_ticker.add(this);
}

void PreparingPacer::setFinale(bool isFinale)
{
    if (isFinale == m_isFinale)
        return;
    m_isFinale = isFinale;
    if (isFinale)
        m_bar.animateTo(1.0, Animation::easeOut(finaleFillSeconds));
    Q_EMIT finaleChanged();
    Q_EMIT captionChanged();
}

const PreparingCaption &PreparingPacer::shownCaption() const
{
    return m_isFinale ? PreparingCaption::finale() : m_deck.caption();
}

void PreparingPacer::advanceTo(std::chrono::nanoseconds now)
{
    if (m_captionLoop && now >= m_captionWake) {
        if (m_isFinale) {
            m_captionLoop = false;
        } else {
            m_deck.advance();
            m_captionWake = now + captionWait(now - m_startedAt);
            Q_EMIT captionChanged();
        }
    }
    if (m_motionLoop && now >= m_motionWake) {
        if (m_isFinale) {
            m_motionLoop = false;
        } else {
            m_motion = nextMotion(m_motion, m_random);
            m_motionWake = now + seconds(motionHold(m_motion));
            Q_EMIT motionChanged();
        }
    }
    if (!isLooping())
        m_ticker.remove(this);
}

} // namespace pomelark
