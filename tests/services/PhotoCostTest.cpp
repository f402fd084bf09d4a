#include "services/PhotoCost.h"

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
// narrow; metadata costs what its readers copy.
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
    for (const auto &[photo, rotation] : {std::pair(wide, 90), std::pair(chunks, 0)}) {
        const std::optional<PhotoCost> cost = PhotoCost::ofFile(photo, rotation);
        ASSERT_TRUE(cost);
        QProcess conversion;
        conversion.start(QStringLiteral(POMELARK_CONVERSION_PEAK),
                         {photo, QString::number(rotation), folder.filePath(u"out.heic"_qs)});
        ASSERT_TRUE(conversion.waitForFinished(-1));
        ASSERT_EQ(conversion.exitCode(), 0) << conversion.readAllStandardError().constData();
        const qint64 peak = conversion.readAllStandardOutput().trimmed().toLongLong();
        EXPECT_GT(peak, 0);
        EXPECT_LE(peak, cost->peak(false)) << qPrintable(photo) << ": estimated " << cost->peak(false) / 1024 / 1024
                                           << " MB, took " << peak / 1024 / 1024 << " MB";
    }
}
