#include "services/BestShotService.h"

#include "FakePhotoAnalyses.h"
#include "support/AsyncTest.h"

#include <QFileInfo>
#include <QSemaphore>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>

using namespace pomelark;
using namespace pomelark::test;

namespace {

struct GroupingRun {
    QList<BestShotGroup> groups;
    ProgressLog progress;
};

GroupingRun findGroups(const std::shared_ptr<FakePhotoAnalyses> &analyses, const QStringList &names)
{
    BestShotService service(analyses);
    GroupingRun run;
    run.groups = awaitTask(service.findGroups(photoItems(names), run.progress.callback()));
    return run;
}

QStringList names(const BestShotGroup &group)
{
    QStringList result;
    for (const MediaItem &item : group.items)
        result.append(QFileInfo(item.url.path()).fileName());
    return result;
}

/// Files a.jpg, b.jpg, … with prints 0, 1, …
std::shared_ptr<FakePhotoAnalyses> printsFor(const QStringList &files)
{
    auto analyses = std::make_shared<FakePhotoAnalyses>();
    for (int i = 0; i < files.size(); ++i)
        analyses->printIds.insert(files[i], i);
    return analyses;
}

} // namespace

TEST(BestShotService, FewerThanTwoPhotosGiveNothingAndNoProgress)
{
    auto analyses = printsFor({QStringLiteral("a.jpg")});
    for (const QStringList &files : {QStringList{}, QStringList{QStringLiteral("a.jpg")}}) {
        const GroupingRun run = findGroups(analyses, files);
        EXPECT_TRUE(run.groups.isEmpty());
        EXPECT_TRUE(run.progress.reports.isEmpty());
    }
    EXPECT_TRUE(analyses->started.isEmpty());
}

TEST(BestShotService, FailedPrintsStillCountOnceEachAndGroupNothing)
{
    auto analyses = std::make_shared<FakePhotoAnalyses>();   // no prints at all
    const GroupingRun run = findGroups(analyses, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
    EXPECT_TRUE(run.groups.isEmpty());
    ASSERT_EQ(run.progress.reports.size(), 3);
    EXPECT_EQ(run.progress.reports[0], std::pair(0, 2));
    EXPECT_EQ(run.progress.reports[1], std::pair(1, 2));
    EXPECT_EQ(run.progress.reports[2], std::pair(2, 2));
}

TEST(BestShotService, OnlyDistancesStrictlyUnderTheThresholdJoin)
{
    const QStringList files{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")};
    auto atThreshold = printsFor(files);
    atThreshold->setDistance(0, 1, 0.4f);
    EXPECT_TRUE(findGroups(atThreshold, files).groups.isEmpty());

    auto under = printsFor(files);
    under->setDistance(0, 1, std::nextafter(0.4f, 0.f));
    const GroupingRun run = findGroups(under, files);
    ASSERT_EQ(run.groups.size(), 1);
    EXPECT_EQ(names(run.groups[0]), files);
}

TEST(BestShotService, AFailedOrNaNDistanceRejectsTheCluster)
{
    const QStringList files{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")};
    for (const std::optional<float> distance : {std::optional<float>(), std::optional<float>(std::nanf(""))}) {
        auto analyses = printsFor(files);
        analyses->setDistance(0, 1, distance);
        EXPECT_TRUE(findGroups(analyses, files).groups.isEmpty());
    }
}

TEST(ClusterBestShots, APhotoMustBeCloseToEveryMemberAndStopsAtTheFirstTooFar)
{
    // a–b and b–c are close, a–c is not: c fails at a and starts a cluster of its own.
    FakePhotoAnalyses analyses;
    analyses.setDistance(0, 1, 0.1f);
    analyses.setDistance(1, 2, 0.1f);
    analyses.setDistance(0, 2, 0.9f);
    const std::vector<std::optional<FeaturePrint>> prints{FeaturePrint({0}), FeaturePrint({1}), FeaturePrint({2})};
    EXPECT_EQ(BestShotService::cluster(prints, 0.4f, analyses), (QList<QList<int>>{{0, 1}}));
    // c was measured against a only, from c's side; b was never asked.
    const std::vector<std::pair<int, int>> expectedCalls{{1, 0}, {2, 0}};
    EXPECT_EQ(analyses.distanceCalls, expectedCalls);
}

TEST(ClusterBestShots, APhotoCloseToTwoClustersJoinsTheFirstMade)
{
    FakePhotoAnalyses analyses;
    // Clusters {0,1} and {2,3}; 4 is close to all four.
    analyses.setDistance(0, 1, 0.1f);
    analyses.setDistance(2, 3, 0.1f);
    for (int j = 0; j < 4; ++j)
        analyses.setDistance(4, j, 0.2f);
    std::vector<std::optional<FeaturePrint>> prints;
    for (int i = 0; i < 5; ++i)
        prints.push_back(FeaturePrint({float(i)}));
    EXPECT_EQ(BestShotService::cluster(prints, 0.4f, analyses), (QList<QList<int>>{{0, 1, 4}, {2, 3}}));
}

TEST(ClusterBestShots, MissingPrintsAreSkippedAndSinglesDropped)
{
    FakePhotoAnalyses analyses;
    analyses.setDistance(0, 2, 0.1f);
    const std::vector<std::optional<FeaturePrint>> prints{FeaturePrint({0}), std::nullopt, FeaturePrint({2}),
                                                          FeaturePrint({3})};
    EXPECT_EQ(BestShotService::cluster(prints, 0.4f, analyses), (QList<QList<int>>{{0, 2}}));
}

TEST(BestShotService, BestShotIsTheHighestFaceScoreWithTiesToTheEarlierName)
{
    const QStringList files{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                            QStringLiteral("d.jpg")};
    auto analyses = printsFor(files);
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            analyses->setDistance(i, j, 0.1f);
    analyses->qualities.insert(QStringLiteral("a.jpg"), {0.3f});
    analyses->qualities.insert(QStringLiteral("b.jpg"), {0.2f, 0.7f});   // scored by its best face
    analyses->qualities.insert(QStringLiteral("c.jpg"), {0.7f});         // ties b, comes later
    const GroupingRun run = findGroups(analyses, files);
    ASSERT_EQ(run.groups.size(), 1);
    EXPECT_EQ(run.groups[0].bestIndex, 1);
    EXPECT_EQ(run.groups[0].keep, (QList<bool>{false, true, false, false}));
}

TEST(BestShotService, AGroupWithoutFaceScoresKeepsEveryPhoto)
{
    const QStringList files{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")};
    auto analyses = printsFor(files);
    analyses->setDistance(0, 1, 0.1f);
    const GroupingRun run = findGroups(analyses, files);
    ASSERT_EQ(run.groups.size(), 1);
    EXPECT_FALSE(run.groups[0].bestIndex.has_value());
    EXPECT_EQ(run.groups[0].keep, (QList<bool>{true, true}));
}

TEST(BestShotService, FaceQualityIsAskedOnlyOfGroupedPhotos)
{
    const QStringList files{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")};
    auto analyses = printsFor(files);
    analyses->setDistance(0, 2, 0.1f);
    findGroups(analyses, files);
    EXPECT_EQ(analyses->qualityCalls, (QStringList{QStringLiteral("a.jpg"), QStringLiteral("c.jpg")}));
}

TEST(BestShotService, SortsByFileNameCodeByCodeStablyAndInputOrderDoesNotMatter)
{
    // Digits compare one by one, capitals come before small letters.
    const QStringList sorted{QStringLiteral("IMG_10.jpg"), QStringLiteral("IMG_9.jpg"), QStringLiteral("Z.jpg"),
                             QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")};
    auto analyses = printsFor(sorted);
    analyses->setDistance(0, 1, 0.1f);   // IMG_10 + IMG_9
    analyses->setDistance(2, 4, 0.1f);   // Z + b
    analyses->setDistance(3, 5, 0.1f);   // a + c
    const QList<QStringList> expected{{sorted[0], sorted[1]}, {sorted[2], sorted[4]}, {sorted[3], sorted[5]}};
    std::mt19937 random(7);
    for (int attempt = 0; attempt < 5; ++attempt) {
        QStringList shuffled = sorted;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        const GroupingRun run = findGroups(analyses, shuffled);
        QList<QStringList> got;
        for (const BestShotGroup &group : run.groups)
            got.append(names(group));
        EXPECT_EQ(got, expected) << shuffled.join(u' ').toStdString();
    }

    // Equal names in different folders keep their input order.
    auto twins = std::make_shared<FakePhotoAnalyses>();
    twins->printIds.insert(QStringLiteral("same.jpg"), 0);
    twins->setDistance(0, 0, 0.0f);
    BestShotService service(twins);
    ProgressLog progress;
    const QList<BestShotGroup> groups = awaitTask(service.findGroups(
        photoItems({QStringLiteral("/z/same.jpg"), QStringLiteral("/a/same.jpg")}), progress.callback()));
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].items[0].url.path(), QStringLiteral("/z/same.jpg"));
}

TEST(BestShotService, AnalysesRunFourAtATimeInNameOrderAndEachReportComesBeforeTheNextStart)
{
    QStringList files;
    for (int i = 0; i < 11; ++i)
        files.append(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    auto analyses = printsFor(files);
    WindowProbe probe;

    BestShotService service(analyses);
    ProgressLog progress;
    probe.attach(*analyses, progress);
    QCoro::Task<QList<BestShotGroup>> task = service.findGroups(photoItems(files), progress.callback());
    // Nothing finishes while no permit is given: exactly the first four are running.
    ASSERT_TRUE(spinUntil([&] { return analyses->running == 4; }));
    {
        std::lock_guard guard(analyses->m_lock);
        QStringList firstFour = analyses->started;
        firstFour.sort();
        EXPECT_EQ(firstFour, files.mid(0, 4));
    }
    probe.permits.release(int(files.size()));
    awaitTask(std::move(task));

    EXPECT_EQ(analyses->started.size(), files.size());
    EXPECT_LE(analyses->mostRunning, 4);
    EXPECT_FALSE(analyses->ranOnMainThread);
    EXPECT_FALSE(progress.offMainThread);
    ASSERT_EQ(progress.reports.size(), files.size() + 1);
    for (int d = 0; d <= files.size(); ++d)
        EXPECT_EQ(progress.reports[d], std::pair(d, int(files.size())));
    // Position p ≥ 4 starts only once p − 3 analyses have finished and been
    // reported, after the first report (0, n): so in name order, one per report.
    for (int p = 4; p < files.size(); ++p)
        EXPECT_GE(probe.reportsAtStart.value(files[p]), p - 2) << p;
}
