#pragma once

#include "services/PhotoAnalyses.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>

namespace pomelark::test {

/// Analyses answered from tables keyed by file name, recording how they were called.
/// A print is the number given for its file; distances come from a table of number
/// pairs (1.0 when not listed).
class FakePhotoAnalyses final : public PhotoAnalyses {
public:
    QHash<QString, int> printIds;                 ///< files without an entry get no print
    std::map<std::pair<int, int>, std::optional<float>> distances;
    QHash<QString, QList<float>> qualities;
    QHash<QString, QList<FaceObservation>> faces;
    QHash<QString, int> orientations;             ///< files without an entry have none
    /// Runs inside every print and face analysis, on the worker thread.
    std::function<void(const QString &name)> duringAnalysis;

    void setDistance(int a, int b, std::optional<float> d)
    {
        distances[{a, b}] = d;
        distances[{b, a}] = d;
    }

    std::optional<FeaturePrint> featurePrint(const QString &path) const override
    {
        const QString name = analysed(path);
        if (!printIds.contains(name))
            return std::nullopt;
        return FeaturePrint({float(printIds.value(name))});
    }

    std::optional<float> distance(const FeaturePrint &print, const FeaturePrint &other) const override
    {
        const std::pair key{int(print.values().at(0)), int(other.values().at(0))};
        std::lock_guard guard(m_lock);
        distanceCalls.push_back(key);
        const auto found = distances.find(key);
        return found == distances.end() ? std::optional<float>(1.0f) : found->second;
    }

    QList<float> faceQualities(const QString &path) const override
    {
        const QString name = QFileInfo(path).fileName();
        std::lock_guard guard(m_lock);
        qualityCalls.append(name);
        return qualities.value(name);
    }

    QList<FaceObservation> faceRectangles(const QString &path) const override
    {
        return faces.value(analysed(path));
    }

    std::optional<int> exifOrientation(const QString &path) const override
    {
        const QString name = QFileInfo(path).fileName();
        if (!orientations.contains(name))
            return std::nullopt;
        return orientations.value(name);
    }

    mutable std::mutex m_lock;
    mutable QStringList started;                  ///< file names, in the order analyses began
    mutable QStringList qualityCalls;
    mutable std::vector<std::pair<int, int>> distanceCalls;
    mutable std::atomic<int> running{0};
    mutable std::atomic<int> mostRunning{0};
    mutable std::atomic<bool> ranOnMainThread{false};

private:
    QString analysed(const QString &path) const
    {
        const QString name = QFileInfo(path).fileName();
        {
            std::lock_guard guard(m_lock);
            started.append(name);
        }
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            ranOnMainThread = true;
        const int now = ++running;
        for (int most = mostRunning; now > most && !mostRunning.compare_exchange_weak(most, now);) {
        }
        if (duringAnalysis)
            duringAnalysis(name);
        --running;
        return name;
    }
};

/// Items for files of these names in one folder (or the given paths as they are).
inline MediaItems photoItems(const QStringList &names)
{
    MediaItems items;
    for (const QString &name : names) {
        const QString path = name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/photos/") + name;
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::photo});
    }
    return items;
}

/// Records every progress report and whether it came on the main thread.
struct ProgressLog {
    QList<std::pair<int, int>> reports;
    bool offMainThread = false;
    std::function<void(int, int)> also;

    AnalysisProgress callback()
    {
        return [this](int done, int total) {
            if (QThread::currentThread() != QCoreApplication::instance()->thread())
                offMainThread = true;
            reports.append({done, total});
            if (also)
                also(done, total);
        };
    }
};

/// Holds every analysis until the test hands out permits, and notes for each
/// photo how many progress reports had come when its analysis started: the
/// evidence for the window of four and for "report before the next start".
struct WindowProbe {
    QSemaphore permits;
    std::atomic<int> reportsSoFar{0};
    std::mutex lock;
    QHash<QString, int> reportsAtStart;

    void attach(FakePhotoAnalyses &analyses, ProgressLog &progress)
    {
        analyses.duringAnalysis = [this](const QString &name) {
            {
                std::lock_guard guard(lock);
                reportsAtStart.insert(name, reportsSoFar);
            }
            permits.acquire();
        };
        progress.also = [this](int, int) { ++reportsSoFar; };
    }
};

} // namespace pomelark::test
