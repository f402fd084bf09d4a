// Groups 300 photos of the labelled calibration set by feature prints and
// clustering only, and runs findimagedupes on the same files; prints time and
// pair F1 for both. Run: bench/similar_photos_vs_peer [threshold-percent]
#include "services/BestShotService.h"

#include "support/CalibrationSet.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <set>

using namespace pomelark;
using namespace pomelark::test;

namespace {

struct Score {
    double precision = 0, recall = 0, f1 = 0;
};

/// Pair precision, recall and F1 of a grouping (lists of photo indices).
Score scorePairs(const QList<CalibrationPhoto> &photos, const QList<QList<int>> &groups)
{
    std::set<std::pair<int, int>> predicted;
    for (const QList<int> &group : groups)
        for (int a : group)
            for (int b : group)
                if (a < b)
                    predicted.insert({a, b});
    int truePairs = 0, hits = 0;
    for (int i = 0; i < photos.size(); ++i)
        for (int j = i + 1; j < photos.size(); ++j)
            if (photos[i].source == photos[j].source) {
                ++truePairs;
                hits += predicted.count({i, j}) ? 1 : 0;
            }
    Score s;
    s.precision = predicted.empty() ? 0 : double(hits) / double(predicted.size());
    s.recall = truePairs ? double(hits) / truePairs : 0;
    s.f1 = s.precision + s.recall > 0 ? 2 * s.precision * s.recall / (s.precision + s.recall) : 0;
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const QString peerThreshold = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("90");

    TempFolder folder;
    QList<CalibrationPhoto> photos = makeCalibrationSet(folder.path());
    photos = photos.mid(0, 300);
    QStringList paths;
    QHash<QString, int> indexOfPath;
    for (int i = 0; i < photos.size(); ++i) {
        paths.append(photos[i].path);
        indexOfPath.insert(QFileInfo(photos[i].path).canonicalFilePath(), i);
    }
    std::printf("photos: %lld from %d sources; cores: %d\n", (long long)photos.size(), photos.last().source + 1,
                QThread::idealThreadCount());

    // Ours: prints four at a time, as the grouping service runs them, then clustering.
    QElapsedTimer timer;
    timer.start();
    QThreadPool pool;
    pool.setMaxThreadCount(4);
    const std::shared_ptr<const PhotoAnalyses> analyses = platformPhotoAnalyses();
    const QList<std::optional<FeaturePrint>> printList = QtConcurrent::blockingMapped(
        &pool, paths, [&](const QString &path) { return analyses->featurePrint(path); });
    const std::vector<std::optional<FeaturePrint>> prints(printList.begin(), printList.end());
    const QList<QList<int>> ours = BestShotService::cluster(prints, BestShotService::similarityThreshold, *analyses);
    const qint64 oursMs = timer.elapsed();
    const Score oursScore = scorePairs(photos, ours);

    // The peer, on the same files, in one run.
    timer.restart();
    QProcess peer;
    peer.setProgram(QStringLiteral("findimagedupes"));
    peer.setArguments(QStringList{QStringLiteral("-q"), QStringLiteral("-t"), peerThreshold + QLatin1Char('%')} + paths);
    peer.start();
    if (!peer.waitForFinished(-1) || peer.exitStatus() != QProcess::NormalExit) {
        std::fprintf(stderr, "findimagedupes did not run (scripts/install-bench-deps installs it)\n");
        return 1;
    }
    const qint64 peerMs = timer.elapsed();
    QList<QList<int>> theirs;
    for (const QByteArray &line : peer.readAllStandardOutput().split('\n')) {
        QList<int> group;
        for (const QByteArray &file : line.split(' '))
            if (!file.isEmpty() && indexOfPath.contains(QFileInfo(QString::fromLocal8Bit(file)).canonicalFilePath()))
                group.append(indexOfPath.value(QFileInfo(QString::fromLocal8Bit(file)).canonicalFilePath()));
        if (group.size() > 1)
            theirs.append(group);
    }
    const Score peerScore = scorePairs(photos, theirs);

    std::printf("ours: %lld ms, %lld groups, pair precision %.4f recall %.4f F1 %.4f\n", (long long)oursMs,
                (long long)ours.size(), oursScore.precision, oursScore.recall, oursScore.f1);
    std::printf("findimagedupes -t %s%%: %lld ms, %lld groups, pair precision %.4f recall %.4f F1 %.4f\n",
                qPrintable(peerThreshold), (long long)peerMs, (long long)theirs.size(), peerScore.precision,
                peerScore.recall, peerScore.f1);
    std::printf("time ratio peer/ours: %.2f\n", double(peerMs) / std::max<qint64>(1, oursMs));
    return 0;
}
