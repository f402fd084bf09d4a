#include "browsing/PlayerTimeline.h"

#include "services/FormatDuration.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace pomelark {

void PlayerTimeline::reset()
{
    *this = PlayerTimeline();
}

std::optional<double> PlayerTimeline::knownDuration() const
{
    if (m_duration && *m_duration > 0)
        return m_duration;
    return std::nullopt;
}

void PlayerTimeline::handleTimeUpdate(double seconds)
{
    if (m_isScrubbing)
        return;
    m_currentTime = std::isfinite(seconds) ? seconds : 0.0;
    const auto d = knownDuration();
    if (!d)
        return;
    m_progress = std::clamp(m_currentTime / *d, 0.0, 1.0);
    if (m_currentTime >= *d - endTolerance)
        m_isPlaying = false;
}

void PlayerTimeline::handleEnd()
{
    m_isPlaying = false;
    if (const auto d = knownDuration(); d && !m_isScrubbing) {
        m_currentTime = *d;
        m_progress = 1.0;
    }
}

PlayerTimeline::Toggle PlayerTimeline::toggle()
{
    Toggle action = Toggle::play;
    if (m_isPlaying)
        action = Toggle::pause;
    else if (const auto d = knownDuration(); d && m_currentTime >= *d - restartWindow)
        action = Toggle::restartAndPlay;
    m_isPlaying = !m_isPlaying;
    return action;
}

std::optional<PlayerTimeline::Seek> PlayerTimeline::scrub(double x, double width)
{
    const auto d = knownDuration();
    if (!d || !(width > 0))
        return std::nullopt;
    Seek seek;
    if (!m_isScrubbing) {
        m_isScrubbing = true;
        m_wasPlayingBeforeScrub = m_isPlaying;
        if (m_isPlaying) {
            seek.pauseFirst = true;
            m_isPlaying = false;
        }
    }
    const double f = std::isfinite(x) ? std::clamp(x / width, 0.0, 1.0) : 0.0;
    m_progress = f;
    m_currentTime = f * *d;
    seek.seconds = m_currentTime;
    return seek;
}

bool PlayerTimeline::endScrub()
{
    if (!m_isScrubbing)
        return false;
    m_isScrubbing = false;
    const bool resume = m_wasPlayingBeforeScrub;
    if (resume)
        m_isPlaying = true;
    m_wasPlayingBeforeScrub = false;
    return resume;
}

QString PlayerTimeline::timeText() const
{
    const QString total = m_duration ? formatDuration(*m_duration) : QStringLiteral("0:00");
    return QCoreApplication::translate("VideoPlayerPanel", "%1 / %2").arg(formatDuration(m_currentTime), total);
}

double PlayerTimeline::aspectRatio(const std::optional<QImage> &poster)
{
    if (poster && poster->width() > 0 && poster->height() > 0)
        return double(poster->width()) / poster->height();
    return defaultAspectRatio;
}

} // namespace pomelark
