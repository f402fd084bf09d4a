#include "services/OrientationService.h"

#include <QMap>

#include <cmath>

namespace pomelark {

OrientationService::OrientationService(std::shared_ptr<const PhotoAnalyses> analyses)
    : m_analyses(std::move(analyses))
{
    m_analysisPool.setMaxThreadCount(BoundedAnalysis<int>::window);
    m_analysisPool.setObjectName(QStringLiteral("OrientationService analyses"));
}

OrientationService &OrientationService::shared()
{
    static OrientationService instance;
    return instance;
}

std::optional<int> OrientationService::voteRotation(const QList<FaceObservation> &faces)
{
    constexpr double pi = 3.141592653589793;
    // Degrees from radians carry rounding error; a face meant to lean exactly 30
    // degrees must still vote.
    constexpr double tolerance = 1e-9;
    QMap<int, int> tally;
    for (const FaceObservation &face : faces) {
        if (face.confidence < minimumConfidence || !face.roll)
            continue;
        const double degrees = *face.roll * 180.0 / pi;
        const double snapped = std::round(degrees / 90.0) * 90.0;   // halves away from zero
        if (std::abs(degrees - snapped) > maximumLeanDegrees + tolerance)
            continue;
        int key = int(snapped) % 360;
        if (key < 0)
            key += 360;
        ++tally[key];
    }
    if (tally.size() == 1 && tally.firstKey() != 0)
        return tally.firstKey();
    return std::nullopt;
}

std::optional<int> OrientationService::suggestedRotation(const QUrl &url) const
{
    const QString path = url.toLocalFile();
    const std::optional<int> orientation = m_analyses->exifOrientation(path);
    if (orientation && *orientation != 1)
        return std::nullopt;
    return voteRotation(m_analyses->faceRectangles(path));
}

QCoro::Task<QHash<QUrl, int>> OrientationService::analyze(MediaItems items, AnalysisProgress progress)
{
    const int n = int(items.size());
    if (n == 0)
        co_return {};
    QHash<QUrl, int> suggestions;
    // The analysis runs on a copy sharing the analyses, so it touches no state of ours off the main thread.
    // suggestedRotation reads only the analyses, which are safe on any thread.
    const OrientationService *self = this;
    co_await BoundedAnalysis<std::optional<int>>::run(
        m_analysisPool, n, [self, items](int p) { return self->suggestedRotation(items[p].url); },
        std::move(progress), [&suggestions, &items](int p, std::optional<int> turn) {
            if (turn)
                suggestions.insert(items[p].url, *turn);
        });
    co_return suggestions;
}

} // namespace pomelark
