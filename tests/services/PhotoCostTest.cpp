#include "support/CameraLikePhotos.h"
#include "support/Fixtures.h"
#include "support/LargePictures.h"
#include "support/TempFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

// The budget refuses a photo only on its estimate: one that takes more than
// estimated can pass the budget. A narrow picture costs the encoder per row of
// coding units far more than its pixels, and a wide one turned is encoded
// narrow; metadata costs what its readers copy, and Qt's reader joins APP1
// segments (Extended XMP among them) by doubling; a small photo costs mostly
// what the libraries leave resident the first time they run, whatever the CPUs.
TEST(PhotoCost, ANarrowPictureOrOneWithMuchMetadataTakesNoMoreThanEstimated)
{
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's own memory hides the conversion's";
#endif
#endif
    const TempFolder folder;
    const QString wide = makeLargeJpeg(folder.filePath(u"wide.jpg"_qs), QSize(32767, 64), false);
    const QByteArray small = contentOf(makeJpeg(folder.filePath(u"small.jpg"_qs), {.size = QSize(640, 480)}));
    const QString chunks =
        makeTextFile(folder.filePath(u"profile-chunks.jpg"_qs), withProfileChunks(small, 400, 65533));
    const QString xmp =
        makeTextFile(folder.filePath(u"extended-xmp.jpg"_qs), withExtendedXmp(small, 24 * 1024 * 1024));
    const QString coarse = folder.filePath(u"coarse.jpg"_qs);
    cameraLikePicture(samplePhotographs(), 1, QSize(640, 480)).save(coarse, "JPG", 10);
    const struct {
        QString photo;
        int rotation;
        QStringList oneCpu; ///< empty: all the test may use
    } cases[] = {{wide, 90, {}}, {chunks, 0, {}}, {xmp, 0, {}}, {coarse, 0, {u"one-cpu"_qs}}};
    for (const auto &[photo, rotation, oneCpu] : cases) {
        QProcess conversion;
        conversion.start(QStringLiteral(POMELARK_CONVERSION_PEAK),
                         QStringList{photo, QString::number(rotation), folder.filePath(u"out.heic"_qs)} + oneCpu);
        ASSERT_TRUE(conversion.waitForFinished(-1));
        ASSERT_EQ(conversion.exitCode(), 0) << conversion.readAllStandardError().constData();
        // Estimated in the child, on the CPUs its encoder uses.
        const QList<QByteArray> figures = conversion.readAllStandardOutput().trimmed().split(' ');
        const qint64 peak = figures.value(0).toLongLong(), estimate = figures.value(1).toLongLong();
        EXPECT_GT(peak, 0);
        EXPECT_LE(peak, estimate) << qPrintable(photo) << ": estimated " << estimate / 1024 / 1024 << " MB, took "
                                  << peak / 1024 / 1024 << " MB";
    }
}
