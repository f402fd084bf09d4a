#include "platform/HeifWriter.h"
#include "platform/ImageSource.h"

#include "support/Fixtures.h"
#include "support/HeifDecode.h"
#include "support/TempFolder.h"

#include <QColorSpace>
#include <QFileInfo>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include <malloc.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

void setExif(const QString &path, const char *key, const std::string &value)
{
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    image->exifData()[key] = value;
    image->writeMetadata();
}

} // namespace

TEST(HeifWriter, KeepsStoredPixelsAndShowsThemTurnedByTheTransform)
{
    TempFolder folder;
    const QString source = makeJpeg(folder.filePath(QStringLiteral("a.jpg")),
                                    {.size = QSize(64, 48), .orientation = 6, .dateTimeOriginal = QStringLiteral("2020:01:02 03:04:05")});
    setExif(source, "Exif.Image.Make", "Pomelark Test Camera");
    const QString output = folder.filePath(QStringLiteral("a.heic"));

    HeifWriter::write(fixturePicture(QSize(64, 48)), output,
                      {.quality = 80, .orientation = 6, .exif = ImageSource(source).exifBlock(),
                       .dateTimeOriginal = QStringLiteral("2024:05:01 10:20:30")});

    const auto decoded = decodeHeic(output);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->stored.size(), QSize(64, 48));
    EXPECT_EQ(redCorner(decoded->stored), QStringLiteral("top-left"));
    EXPECT_EQ(decoded->shown.size(), QSize(48, 64));
    EXPECT_EQ(redCorner(decoded->shown), QStringLiteral("top-right"));
    // The EXIF tag says 1 so no reader turns the picture a second time.
    EXPECT_EQ(exifValue(decoded->exif, "Exif.Image.Orientation"), QStringLiteral("1"));
    EXPECT_EQ(exifValue(decoded->exif, "Exif.Photo.DateTimeOriginal"), QStringLiteral("2024:05:01 10:20:30"));
    EXPECT_EQ(exifValue(decoded->exif, "Exif.Image.Make"), QStringLiteral("Pomelark Test Camera"));
}

TEST(HeifWriter, ColoursSurviveTheYCbCrRoundTrip)
{
    // Odd sizes exercise the chroma of the last column and row.
    TempFolder folder;
    const QImage picture = fixturePicture(QSize(157, 95));
    const QString output = folder.filePath(QStringLiteral("colours.heic"));
    HeifWriter::write(picture, output, {.quality = 95});
    const auto decoded = decodeHeic(output);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->shown.size(), picture.size());
    double bias[3] = {0, 0, 0};
    double error = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor a = picture.pixelColor(x, y), b = decoded->shown.pixelColor(x, y);
            const int d[3] = {b.red() - a.red(), b.green() - a.green(), b.blue() - a.blue()};
            for (int c = 0; c < 3; ++c) {
                bias[c] += d[c];
                error += std::abs(d[c]);
            }
        }
    }
    const double pixels = double(picture.width()) * picture.height();
    for (double channel : bias)
        EXPECT_LT(std::abs(channel / pixels), 1.0) << "a colour shift means mismatched conversion matrices";
    EXPECT_LT(error / pixels / 3, 4.0);
}

TEST(HeifWriter, WritesExifOnlyWhenThereIsSomethingToSay)
{
    TempFolder folder;
    const QString output = folder.filePath(QStringLiteral("a.heic"));
    HeifWriter::write(fixturePicture(QSize(32, 32)), output, {});
    EXPECT_TRUE(decodeHeic(output)->exif.isEmpty());

    HeifWriter::write(fixturePicture(QSize(32, 32)), output, {.dateTimeOriginal = QStringLiteral("2024:05:01 10:20:30")});
    EXPECT_EQ(exifValue(decodeHeic(output)->exif, "Exif.Photo.DateTimeOriginal"), QStringLiteral("2024:05:01 10:20:30"));

    // A source without EXIF and no date: nothing to carry over.
    const QString bare = makeJpeg(folder.filePath(QStringLiteral("bare.jpg")));
    HeifWriter::write(fixturePicture(QSize(32, 32)), output, {.exif = ImageSource(bare).exifBlock()});
    EXPECT_TRUE(decodeHeic(output)->exif.isEmpty());
}

TEST(HeifWriter, KeepsTheColourProfile)
{
    TempFolder folder;
    QImage picture = fixturePicture(QSize(32, 32));
    picture.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QString output = folder.filePath(QStringLiteral("p3.heic"));
    HeifWriter::write(picture, output, {});
    const auto decoded = decodeHeic(output);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(QColorSpace::fromIccProfile(decoded->icc), QColorSpace(QColorSpace::DisplayP3));
}

TEST(HeifWriter, HigherQualityKeepsMore)
{
    TempFolder folder;
    const QImage picture = fixturePicture(QSize(256, 192));
    HeifWriter::write(picture, folder.filePath(QStringLiteral("low.heic")), {.quality = 20});
    HeifWriter::write(picture, folder.filePath(QStringLiteral("high.heic")), {.quality = 90});
    EXPECT_LT(QFileInfo(folder.filePath(QStringLiteral("low.heic"))).size(),
              QFileInfo(folder.filePath(QStringLiteral("high.heic"))).size());
}

TEST(HeifWriter, TellsAMissingDestinationFromAFailedEncoding)
{
    TempFolder folder;
    try {
        HeifWriter::write(fixturePicture(QSize(16, 16)), folder.filePath(QStringLiteral("no/such/folder/a.heic")), {});
        FAIL() << "wrote into a missing folder";
    } catch (const HeifWriter::Error &error) {
        EXPECT_EQ(error.kind, HeifWriter::Error::Kind::destination);
    }
    try {
        HeifWriter::write(QImage(), folder.filePath(QStringLiteral("a.heic")), {});
        FAIL() << "encoded a null picture";
    } catch (const HeifWriter::Error &error) {
        EXPECT_EQ(error.kind, HeifWriter::Error::Kind::encoding);
    }
}

// A send encodes photo after photo in one process: whatever an encode leaves
// behind adds up without end. x265 3.5 sets up its SAO filter for every row
// of coding units whatever its settings, and frees it only when SAO is on.
TEST(HeifWriter, AnEncodeLeavesNoMemoryBehind)
{
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's allocator keeps no count the C library can give";
#endif
#endif
    TempFolder folder;
    const QImage picture = fixturePicture(QSize(1024, 768));
    const auto inUse = [] {
        const struct mallinfo2 counts = mallinfo2();
        return qint64(counts.uordblks + counts.hblkhd);
    };
    // The first encode makes the tables x265 keeps for every later one.
    HeifWriter::write(picture, folder.filePath(u"first.heic"_qs), {});
    const qint64 before = inUse();
    for (int i = 0; i < 4; ++i)
        HeifWriter::write(picture, folder.filePath(u"again.heic"_qs), {});
    // x265 keeps a few kilobytes of each encoder it closes; with SAO off it
    // kept some 96 KB of each of these.
    EXPECT_LT(inUse() - before, 128 * 1024);
}
