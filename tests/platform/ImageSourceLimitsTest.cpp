#include "platform/ImageSource.h"

#include "support/Fixtures.h"
#include "support/LargePictures.h"
#include "support/TempFolder.h"

#include <QImageReader>

#include <gtest/gtest.h>

#include <sys/resource.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

/// The process's peak resident size so far, in megabytes.
long peakMB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

/// The complete decode's pixels, or a null image when it refuses them.
QImage decodedComplete(const ImageSource &source)
{
    try {
        return source.decodeComplete(false);
    } catch (const ImageSource::Damaged &) {
        return {};
    }
}

/// `jpeg` cut at `share` of its length and ended with an end marker.
QByteArray cutAndEnded(const QByteArray &jpeg, double share)
{
    return jpeg.left(qsizetype(jpeg.size() * share)) + QByteArray("\xff\xd9", 2);
}

} // namespace

TEST(ImageSourceLimits, AHeaderClaimingAHugePictureIsRefusedInEveryPathBeforeItsMemoryIsTaken)
{
    // Small real files whose frame headers claim pictures of gigabytes. A
    // picture in several scans has every claimed block's coefficients held by
    // its decoder, at any output scale; the last fits that, but its file is
    // far too small to hold the blocks it claims, and would be decoded to its
    // end from nothing.
    TempFolder folder;
    const long before = peakMB();
    for (const auto &[name, recipe, claimed] : hugeHeaderClaims()) {
        const QByteArray small = contentOf(makeJpeg(folder.filePath(u"small.jpg"_qs), recipe));
        const ImageSource source(makeTextFile(folder.filePath(u"IMG_0001.JPG"_qs), claimingSize(small, claimed)));
        ASSERT_EQ(source.properties().value_or(ImageSource::Properties()).pixelSize, claimed) << name;
        EXPECT_TRUE(source.decode(256, true).isNull()) << name;
        EXPECT_TRUE(source.decode(1024, false).isNull()) << name;
        EXPECT_TRUE(source.decode(3200, true).isNull()) << name;
        EXPECT_TRUE(source.decodeCovering(256, false).isNull()) << name;
        EXPECT_TRUE(source.decodeFull(false).isNull()) << name;
        EXPECT_TRUE(decodedComplete(source).isNull()) << name;
        EXPECT_LT(peakMB() - before, 256) << name;
    }
}

TEST(ImageSourceLimits, LargePicturesDecodeInEveryPathThatCanHoldThem)
{
    TempFolder folder;
    // A baseline picture scaled is read a few rows at a time: a 600-MP
    // panorama shows, though it is too large to decode whole.
    const ImageSource panorama(makeLargeJpeg(folder.filePath(u"PANO.JPG"_qs), QSize(40000, 15000), false));
    EXPECT_EQ(panorama.decode(256, true).size(), QSize(256, 96));
    EXPECT_EQ(panorama.decode(3200, true).size(), QSize(3200, 1200));
    EXPECT_TRUE(decodedComplete(panorama).isNull());

    // A 100-MP progressive photo holds its coefficients beside its pixels in
    // every path, and decodes as Qt's own reader does.
    const QString photo = makeLargeJpeg(folder.filePath(u"BIG.JPG"_qs), QSize(12240, 8160), true);
    const auto qtRead = [&](QSize scaled) {
        QImageReader reader(photo);
        reader.setAllocationLimit(ImageSource::allocationLimitMB);
        if (scaled.isValid()) {
            reader.setScaledSize(scaled);
            reader.setQuality(100);
        }
        return reader.read();
    };
    const ImageSource source(photo);
    EXPECT_EQ(source.decode(256, true), qtRead(QSize(256, 171)));
    EXPECT_EQ(source.decodeCovering(256, false), qtRead(QSize(384, 256)));
    EXPECT_EQ(source.decode(3200, true), qtRead(QSize(3200, 2133)));
    const QImage whole = qtRead(QSize());
    ASSERT_EQ(whole.size(), QSize(12240, 8160));
    EXPECT_EQ(source.decodeFull(false), whole);
    EXPECT_EQ(decodedComplete(source), whole);
}

TEST(ImageSourceLimits, AnArithmeticPictureWhoseDataRunsOutIsNeverTakenForWhole)
{
    // An arithmetic decoder that meets the end marker goes on with zeros for
    // what it lacks, without a word: an end marker after data cut short hides
    // the cut, in a scan that cannot end flat, or before scans that never
    // came. Scaled decodes still show what there is.
    TempFolder folder;
    const QByteArray bomb = claimingSize(
        contentOf(makeJpeg(folder.filePath(u"small.jpg"_qs), {.colour = JpegColour::grey, .arithmetic = true})),
        QSize(14856, 65283));
    const ImageSource claimed(makeTextFile(folder.filePath(u"IMG_0001.JPG"_qs), bomb));
    const long before = peakMB();
    EXPECT_TRUE(decodedComplete(claimed).isNull());
    EXPECT_LT(peakMB() - before, 256);
    EXPECT_FALSE(claimed.decode(256, true).isNull());

    const QList<std::pair<const char *, JpegRecipe>> kinds{
        {"sequential", {.size = QSize(320, 240), .arithmetic = true, .grain = 24}},
        {"progressive", {.size = QSize(320, 240), .progressive = true, .arithmetic = true, .grain = 24}},
        {"a scan for each component",
         {.size = QSize(320, 240), .arithmetic = true, .scanPerComponent = true, .grain = 24}},
        {"sequential, smooth", {.size = QSize(320, 240), .arithmetic = true}},
        {"grey", {.size = QSize(320, 240), .colour = JpegColour::grey, .arithmetic = true}},
    };
    for (const auto &[name, recipe] : kinds) {
        const QString path = makeJpeg(folder.filePath(u"whole.jpg"_qs), recipe);
        const QByteArray jpeg = contentOf(path);
        EXPECT_EQ(decodedComplete(ImageSource::fromContent(jpeg)), QImageReader(path).read()) << name;
        for (const double share : {0.2, 0.5, 0.8})
            EXPECT_TRUE(decodedComplete(ImageSource::fromContent(cutAndEnded(jpeg, share))).isNull())
                << name << ", cut at " << share;
    }
}
