#include "services/OrientationService.h"

#include "FakePhotoAnalyses.h"
#include "support/AsyncTest.h"

#include <QSemaphore>

#include <gtest/gtest.h>

#include <numbers>

using namespace pomelark;
using namespace pomelark::test;

namespace {

FaceObservation face(double rollDegrees, float confidence = 0.9f)
{
    return {confidence, rollDegrees * std::numbers::pi / 180.0};
}

std::optional<int> vote(std::initializer_list<FaceObservation> faces)
{
    return OrientationService::voteRotation(QList<FaceObservation>(faces));
}

} // namespace

TEST(OrientationVote, TheRollSnappedToAQuarterTurnIsTheTurn)
{
    EXPECT_EQ(vote({face(-90)}), 270);
    EXPECT_EQ(vote({face(90)}), 90);
    EXPECT_EQ(vote({face(180)}), 180);
    EXPECT_EQ(vote({face(-180)}), 180);
    EXPECT_EQ(vote({face(88), face(95)}), 90);
    // One sideways face is enough; many agreeing faces weigh the same.
    EXPECT_EQ(vote({face(-92), face(-85), face(-90)}), 270);
}

TEST(OrientationVote, UprightOrDisagreeingFacesGiveNoTurn)
{
    EXPECT_EQ(vote({}), std::nullopt);
    EXPECT_EQ(vote({face(0)}), std::nullopt);
    EXPECT_EQ(vote({face(20)}), std::nullopt);
    EXPECT_EQ(vote({face(20), face(90)}), std::nullopt);
    EXPECT_EQ(vote({face(90), face(-90)}), std::nullopt);
    EXPECT_EQ(vote({FaceObservation{0.9f, std::nullopt}}), std::nullopt);
    // A face without a roll casts no vote and does not spoil the others.
    EXPECT_EQ(vote({FaceObservation{0.9f, std::nullopt}, face(90)}), 90);
}

TEST(OrientationVote, FacesLeaningMoreThanThirtyDegreesOffAQuarterTurnDoNotVote)
{
    EXPECT_EQ(vote({face(45)}), std::nullopt);         // snaps to 90, 45 off
    EXPECT_EQ(vote({face(60)}), 90);                   // exactly 30 off still counts
    EXPECT_EQ(vote({face(-60)}), 270);
    EXPECT_EQ(vote({face(-135)}), std::nullopt);       // snaps to −180, 45 off
    EXPECT_EQ(vote({face(45), face(-90)}), 270);       // the leaning face does not disagree
    EXPECT_EQ(vote({face(150)}), 180);
}

TEST(OrientationVote, OnlyFacesOfConfidenceAtLeastOneHalfCount)
{
    EXPECT_EQ(vote({face(90, 0.49f)}), std::nullopt);
    EXPECT_EQ(vote({face(90, 0.5f)}), 90);
    EXPECT_EQ(vote({face(90, 0.5f), face(0, 0.49f)}), 90);
}

TEST(OrientationService, AFileThatCarriesAnOrientationIsNeverTurned)
{
    auto analyses = std::make_shared<FakePhotoAnalyses>();
    for (const QString &name : {QStringLiteral("six.jpg"), QStringLiteral("one.jpg"), QStringLiteral("none.jpg"),
                                QStringLiteral("odd.jpg")})
        analyses->faces.insert(name, {face(-90)});
    analyses->orientations.insert(QStringLiteral("six.jpg"), 6);
    analyses->orientations.insert(QStringLiteral("one.jpg"), 1);
    analyses->orientations.insert(QStringLiteral("odd.jpg"), 0);
    OrientationService service(analyses);
    const auto url = [](const char *name) { return photoItems({QLatin1String(name)})[0].url; };
    EXPECT_EQ(service.suggestedRotation(url("six.jpg")), std::nullopt);
    EXPECT_EQ(service.suggestedRotation(url("odd.jpg")), std::nullopt);
    EXPECT_EQ(service.suggestedRotation(url("one.jpg")), 270);
    EXPECT_EQ(service.suggestedRotation(url("none.jpg")), 270);
    // A file with an orientation costs only the property read.
    EXPECT_FALSE(analyses->started.contains(QStringLiteral("six.jpg")));
}

TEST(OrientationService, NoItemsGiveNothingAndNoProgress)
{
    OrientationService service(std::make_shared<FakePhotoAnalyses>());
    ProgressLog progress;
    EXPECT_TRUE(awaitTask(service.analyze({}, progress.callback())).isEmpty());
    EXPECT_TRUE(progress.reports.isEmpty());
}

TEST(OrientationService, OneItemReportsZeroThenOne)
{
    auto analyses = std::make_shared<FakePhotoAnalyses>();
    analyses->faces.insert(QStringLiteral("a.jpg"), {face(90)});
    OrientationService service(analyses);
    ProgressLog progress;
    const MediaItems items = photoItems({QStringLiteral("a.jpg")});
    const QHash<QUrl, int> result = awaitTask(service.analyze(items, progress.callback()));
    EXPECT_EQ(result, (QHash<QUrl, int>{{items[0].url, 90}}));
    EXPECT_EQ(progress.reports, (QList<std::pair<int, int>>{{0, 1}, {1, 1}}));
}

TEST(OrientationService, EveryItemIsAnalysedInInputOrderFourAtATimeAndOnlyTurnsAreKept)
{
    // Deliberately not in name order: nothing is sorted here.
    const QStringList files{QStringLiteral("q.jpg"), QStringLiteral("b.jpg"), QStringLiteral("x.jpg"),
                            QStringLiteral("a.jpg"), QStringLiteral("m.jpg"), QStringLiteral("c.jpg"),
                            QStringLiteral("z.jpg")};
    auto analyses = std::make_shared<FakePhotoAnalyses>();
    analyses->faces.insert(QStringLiteral("b.jpg"), {face(-90)});
    analyses->faces.insert(QStringLiteral("m.jpg"), {face(180)});
    analyses->faces.insert(QStringLiteral("c.jpg"), {face(0)});        // upright: no entry
    // x.jpg has no face, z.jpg stands for an unreadable file: no entry either.
    WindowProbe probe;
    OrientationService service(analyses);
    ProgressLog progress;
    probe.attach(*analyses, progress);
    const MediaItems items = photoItems(files);
    QCoro::Task<QHash<QUrl, int>> task = service.analyze(items, progress.callback());
    ASSERT_TRUE(spinUntil([&] { return analyses->running == 4; }));
    {
        std::lock_guard guard(analyses->m_lock);
        QStringList firstFour = analyses->started;
        QStringList expected = files.mid(0, 4);
        firstFour.sort();
        expected.sort();
        EXPECT_EQ(firstFour, expected);
    }
    probe.permits.release(int(files.size()));
    const QHash<QUrl, int> result = awaitTask(std::move(task));

    EXPECT_EQ(result, (QHash<QUrl, int>{{items[1].url, 270}, {items[4].url, 180}}));
    EXPECT_LE(analyses->mostRunning, 4);
    EXPECT_FALSE(progress.offMainThread);
    ASSERT_EQ(progress.reports.size(), files.size() + 1);
    for (int d = 0; d <= files.size(); ++d)
        EXPECT_EQ(progress.reports[d], std::pair(d, int(files.size())));
    for (int p = 4; p < files.size(); ++p)
        EXPECT_GE(probe.reportsAtStart.value(files[p]), p - 2) << p;
}
