// The sideways-photo scan on real photographs, through the platform's analyses.
#include "services/OrientationService.h"

#include "support/AsyncTest.h"
#include "support/CalibrationSet.h"
#include "support/TempFolder.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

TEST(SidewaysPhotos, TurnedFacePhotosGetTheTurnBackAndOthersNone)
{
    QStringList faces, faceless;
    for (const QString &path : faceSources())
        if (path.endsWith(QLatin1String("2008_001009.jpg")) || path.endsWith(QLatin1String("bald_guys.jpg")))
            faces.append(path);
    for (const QString &path : calibrationSources())
        if (path.endsWith(QLatin1String("/building.jpg")) || path.endsWith(QLatin1String("/scenetext04.jpg")))
            faceless.append(path);
    if (faces.size() < 2 || faceless.size() < 2)
        GTEST_SKIP() << "Debian's example photographs are not installed";

    TempFolder folder;
    MediaItems items;
    QHash<QUrl, int> expected;
    const auto add = [&](const QString &source, int turn) {
        const QString path = folder.filePath(QStringLiteral("%1_%2.jpg").arg(QFileInfo(source).baseName()).arg(turn));
        makeTurnedJpeg(source, path, turn);
        const MediaItem item{QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::photo};
        items.append(item);
        return item.url;
    };
    for (const QString &source : faces)
        for (int turn : {0, 90, 180, 270}) {
            const QUrl url = add(source, turn);
            if (turn != 0)
                expected.insert(url, 360 - turn);
        }
    for (const QString &source : faceless)
        for (int turn : {0, 90, 180, 270})
            add(source, turn);

    OrientationService service;
    int reports = 0;
    const QHash<QUrl, int> result = awaitTask(service.analyze(items, [&](int, int) { ++reports; }));
    EXPECT_EQ(result, expected);
    EXPECT_EQ(reports, items.size() + 1);
}
