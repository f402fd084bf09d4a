#pragma once

#include "services/BoundedAnalysis.h"
#include "services/MediaItem.h"
#include "services/PhotoAnalyses.h"

#include <QHash>
#include <QThreadPool>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <memory>
#include <optional>

namespace pomelark {

/// Suggests a quarter turn for photos that lie on their side or upside down,
/// judged by the roll of their faces. Nothing is stored between calls.
class OrientationService {
public:
    explicit OrientationService(std::shared_ptr<const PhotoAnalyses> analyses = platformPhotoAnalyses());

    /// The one instance the app uses, made on first use (on the main thread).
    static OrientationService &shared();

    /// The suggested clockwise turn (90, 180 or 270) of every item that needs one,
    /// keyed by file URL; items needing none have no entry. Items are analysed in
    /// input order, at most 4 at a time; reports (0, n) and then (1…n, n) on the
    /// main thread, none at all for no items. Never fails: an unreadable item is
    /// counted and gets no entry.
    QCoro::Task<QHash<QUrl, int>> analyze(MediaItems items, AnalysisProgress progress);

    /// The turn for one photo, or nothing: a file carrying an orientation other than
    /// 1 is never turned, and the faces must agree on one turn that is not upright.
    std::optional<int> suggestedRotation(const QUrl &url) const;

    /// The vote over the faces of one photo: each face of confidence at least 0.5
    /// with a roll within 30 degrees of a quarter turn votes for that turn; the
    /// turn when exactly one, not upright, got votes.
    static std::optional<int> voteRotation(const QList<FaceObservation> &faces);

    static constexpr float minimumConfidence = 0.5f;
    static constexpr double maximumLeanDegrees = 30.0;

private:
    std::shared_ptr<const PhotoAnalyses> m_analyses;
    QThreadPool m_analysisPool;
};

} // namespace pomelark
