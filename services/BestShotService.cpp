#include "services/BestShotService.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace pomelark {

BestShotGroup::BestShotGroup(MediaItems items, std::optional<int> bestIndex)
    : id(QUuid::createUuid()), items(std::move(items)), bestIndex(bestIndex)
{
    for (int i = 0; i < this->items.size(); ++i)
        keep.append(!bestIndex || *bestIndex == i);
}

BestShotService::BestShotService(std::shared_ptr<const PhotoAnalyses> analyses) : m_analyses(std::move(analyses))
{
    m_analysisPool.setMaxThreadCount(BoundedAnalysis<int>::window);
    m_analysisPool.setObjectName(QStringLiteral("BestShotService analyses"));
}

BestShotService &BestShotService::shared()
{
    static BestShotService instance;
    return instance;
}

QList<QList<int>> BestShotService::cluster(const std::vector<std::optional<FeaturePrint>> &prints, float threshold,
                                           const PhotoAnalyses &analyses)
{
    const auto closeEnough = [&](size_t i, int j) {
        if (!prints[size_t(j)])
            return false;
        const std::optional<float> distance = analyses.distance(*prints[i], *prints[size_t(j)]);
        return distance && !std::isnan(*distance) && *distance < threshold;
    };
    QList<QList<int>> clusters;
    for (size_t i = 0; i < prints.size(); ++i) {
        if (!prints[i])
            continue;
        auto accepting = std::find_if(clusters.begin(), clusters.end(), [&](const QList<int> &members) {
            return std::all_of(members.begin(), members.end(), [&](int j) { return closeEnough(i, j); });
        });
        if (accepting != clusters.end())
            accepting->append(int(i));
        else
            clusters.append(QList<int>{int(i)});
    }
    clusters.removeIf([](const QList<int> &members) { return members.size() < 2; });
    return clusters;
}

QCoro::Task<QList<BestShotGroup>> BestShotService::findGroups(MediaItems photos, AnalysisProgress progress)
{
    // Byte-wise on the UTF-16 name: case-sensitive, not locale- or number-aware.
    std::stable_sort(photos.begin(), photos.end(), [](const MediaItem &a, const MediaItem &b) {
        return QFileInfo(a.url.path()).fileName() < QFileInfo(b.url.path()).fileName();
    });
    const int n = int(photos.size());
    if (n < 2)
        co_return {};

    QStringList paths;
    for (const MediaItem &photo : photos)
        paths.append(photo.url.toLocalFile());
    const std::shared_ptr<const PhotoAnalyses> analyses = m_analyses;

    std::vector<std::optional<FeaturePrint>> prints(static_cast<size_t>(n));
    co_await BoundedAnalysis<std::optional<FeaturePrint>>::run(
        m_analysisPool, n, [analyses, paths](int p) { return analyses->featurePrint(paths[p]); },
        std::move(progress),
        [&prints](int p, std::optional<FeaturePrint> print) { prints[size_t(p)] = std::move(print); });

    const QList<QList<int>> clusters = co_await m_executor.run(
        [analyses, &prints] { return cluster(prints, similarityThreshold, *analyses); });

    QList<BestShotGroup> groups;
    for (const QList<int> &members : clusters) {
        MediaItems items;
        std::optional<int> bestIndex;
        float bestScore = 0;
        for (int k = 0; k < members.size(); ++k) {
            const int p = members[k];
            items.append(photos[p]);
            const QString path = paths[p];
            const QList<float> qualities =
                co_await m_executor.run([analyses, path] { return analyses->faceQualities(path); });
            if (qualities.isEmpty())
                continue;
            const float score = *std::max_element(qualities.begin(), qualities.end());
            // Ties keep the earlier photo: only a strictly greater score replaces it.
            if (!bestIndex || score > bestScore) {
                bestIndex = k;
                bestScore = score;
            }
        }
        groups.append(BestShotGroup(std::move(items), bestIndex));
    }
    co_return groups;
}

} // namespace pomelark
