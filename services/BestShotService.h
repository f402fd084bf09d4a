#pragma once

#include "platform/SerialExecutor.h"
#include "services/BestShotGroup.h"
#include "services/BoundedAnalysis.h"
#include "services/PhotoAnalyses.h"

#include <QThreadPool>

#include <qcoro/qcorotask.h>

#include <memory>
#include <optional>
#include <vector>

namespace pomelark {

/// Finds groups of near-duplicate photos and picks each group's best shot.
/// Nothing is stored: every call analyses every photo anew.
class BestShotService {
public:
    explicit BestShotService(std::shared_ptr<const PhotoAnalyses> analyses = platformPhotoAnalyses());

    /// The one instance the app uses, made on first use (on the main thread).
    static BestShotService &shared();

    /// Groups `photos` (sorted by file name, byte-wise and stable) whose feature
    /// prints lie closer than 0.4 to one another, and scores each grouped photo by
    /// its best face. Reports (0, n) and then (1…n, n) on the main thread as prints
    /// finish, at most 4 at a time; fewer than two photos give no groups and no
    /// report. Never fails: an unreadable photo is counted but grouped with nothing,
    /// and a photo without a face score can be grouped but not be the best shot.
    QCoro::Task<QList<BestShotGroup>> findGroups(MediaItems photos, AnalysisProgress progress);

    /// Greedy complete linkage, first fit: each print in turn joins the first
    /// cluster (in creation order) to every member of which it lies strictly closer
    /// than `threshold`, else starts a new one. A missing print joins nothing; a
    /// distance that cannot be computed or is NaN rejects the cluster. Returns the
    /// clusters of at least two members, as positions in ascending order.
    static QList<QList<int>> cluster(const std::vector<std::optional<FeaturePrint>> &prints, float threshold,
                                     const PhotoAnalyses &analyses);

    /// Prints closer than this are shots of one moment.
    static constexpr float similarityThreshold = 0.4f;

private:
    std::shared_ptr<const PhotoAnalyses> m_analyses;
    QThreadPool m_analysisPool;
    SerialExecutor m_executor{QStringLiteral("BestShotService")};
};

} // namespace pomelark
