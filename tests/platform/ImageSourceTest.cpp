#include "platform/FileDescriptor.h"
#include "platform/FileSnapshot.h"
#include "platform/ImageSource.h"

#include "support/Fixtures.h"
#include "support/LargePictures.h"
#include "support/TempFolder.h"
#include "support/ZeroTailSweep.h"

#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include <sys/resource.h>
#include <unistd.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

/// The process's peak resident size so far, in kB.
long peakKB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool nearColour(QRgb pixel, QColor expected, int tolerance = 40)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

} // namespace

TEST(ImageSource, RecognisesImagesByContentNotName)
{
    TempFolder folder;
    const QString jpeg = makeJpeg(folder.filePath(QStringLiteral("a.jpg")));
    const QString png = folder.filePath(QStringLiteral("png.jpg"));
    fixturePicture(QSize(20, 10)).save(png, "PNG");
    const QString text = makeTextFile(folder.filePath(QStringLiteral("text.jpg")));
    const QString cut = makeJpeg(folder.filePath(QStringLiteral("cut.jpg")), {.size = QSize(400, 300)});
    truncateFileToShare(cut, 0.5);
    const QString headerOnly = makeJpeg(folder.filePath(QStringLiteral("header.jpg")), {.size = QSize(400, 300)});
    truncateFile(headerOnly, 20);

    EXPECT_TRUE(ImageSource(jpeg).isRecognised());
    EXPECT_TRUE(ImageSource(png).isRecognised());
    EXPECT_TRUE(ImageSource(cut).isRecognised());
    EXPECT_FALSE(ImageSource(text).isRecognised());
    EXPECT_FALSE(ImageSource(headerOnly).isRecognised());
    EXPECT_FALSE(ImageSource(folder.filePath(QStringLiteral("missing.jpg"))).isRecognised());
    EXPECT_FALSE(ImageSource(folder.path()).isRecognised());
    // What cannot be read says nothing of its content. The kernel answers
    // every read of the last with EIO, as a failing card does.
    using Recognition = ImageSource::Recognition;
    EXPECT_EQ(ImageSource(text).recognise(), Recognition::notImage);
    for (const QString &unreadable : {folder.filePath(QStringLiteral("missing.jpg")), folder.path(),
                                      fileFailingEveryRead()})
        EXPECT_EQ(ImageSource(unreadable).recognise(), Recognition::unreadable) << unreadable.toStdString();
}

TEST(ImageSource, ReadsSizeOrientationAndDate)
{
    TempFolder folder;
    const QString tagged = makeJpeg(folder.filePath(QStringLiteral("t.jpg")),
                                    {.size = QSize(120, 80), .orientation = 6, .dateTimeOriginal = QStringLiteral("2023:05:01 10:20:30")});
    const auto properties = ImageSource(tagged).properties();
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->pixelSize, QSize(120, 80));
    EXPECT_EQ(properties->orientation, 6);
    EXPECT_EQ(properties->dateTimeOriginal, QStringLiteral("2023:05:01 10:20:30"));

    const auto plain = ImageSource(makeJpeg(folder.filePath(QStringLiteral("p.jpg")))).properties();
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->orientation, 1);
    EXPECT_FALSE(plain->dateTimeOriginal);

    EXPECT_FALSE(ImageSource(makeTextFile(folder.filePath(QStringLiteral("x.jpg")))).properties());
}

TEST(ImageSource, DecodesBoundedWithOrWithoutOrientation)
{
    TempFolder folder;
    // Stored landscape 400x200, tagged "turn 90° clockwise to view" (6).
    const QString path = makeJpeg(folder.filePath(QStringLiteral("o.jpg")), {.size = QSize(400, 200), .orientation = 6});
    const ImageSource source(path);

    const QImage stored = source.decode(100, false);
    EXPECT_EQ(stored.size(), QSize(100, 50));
    EXPECT_TRUE(nearColour(stored.pixel(5, 5), QColor(230, 20, 20)));

    const QImage upright = source.decode(100, true);
    EXPECT_EQ(upright.size(), QSize(50, 100));
    // The red top-left block of the stored image ends up top-right.
    EXPECT_TRUE(nearColour(upright.pixel(upright.width() - 4, 5), QColor(230, 20, 20)));

    // Never enlarged.
    EXPECT_EQ(source.decode(5000, false).size(), QSize(400, 200));
    EXPECT_EQ(source.decodeFull(true).size(), QSize(200, 400));
    EXPECT_TRUE(ImageSource(makeTextFile(folder.filePath(QStringLiteral("x.jpg")))).decode(100, true).isNull());
}

TEST(ImageSource, DecodesGreyAndCmyk)
{
    TempFolder folder;
    const QString grey = makeJpeg(folder.filePath(QStringLiteral("g.jpg")), {.colour = JpegColour::grey});
    const QString cmyk = makeJpeg(folder.filePath(QStringLiteral("c.jpg")), {.colour = JpegColour::cmyk});
    EXPECT_TRUE(ImageSource(grey).isRecognised());
    EXPECT_TRUE(ImageSource(cmyk).isRecognised());
    EXPECT_EQ(ImageSource(grey).decode(32, true).size(), QSize(32, 24));
    const QImage colour = ImageSource(cmyk).decode(64, true);
    ASSERT_FALSE(colour.isNull());
    EXPECT_TRUE(nearColour(colour.pixel(3, 3), QColor(230, 20, 20), 60));
}

TEST(ImageSource, ACompleteDecodeIsTheWholeDecodeOrNothing)
{
    TempFolder folder;
    // Stood up as Qt's own reader stands it up, for every orientation.
    QStringList sound;
    for (int orientation = 1; orientation <= 8; ++orientation)
        sound << makeJpeg(folder.filePath(QStringLiteral("o%1.jpg").arg(orientation)),
                          {.size = QSize(12, 8), .orientation = orientation});
    sound << makeJpeg(folder.filePath(QStringLiteral("grey.jpg")), {.colour = JpegColour::grey})
          << makeJpeg(folder.filePath(QStringLiteral("cmyk.jpg")), {.colour = JpegColour::cmyk});
    for (const QString &path : sound) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage qtUpright = reader.read();
        const QImage complete = ImageSource(path).decodeComplete(true);
        EXPECT_EQ(complete.convertToFormat(qtUpright.format()), qtUpright) << qPrintable(path);
        EXPECT_EQ(ImageSource(path).decodeFull(true), complete) << qPrintable(path);
    }
    const QString png = folder.filePath(QStringLiteral("png.jpg"));
    fixturePicture(QSize(20, 10)).save(png, "PNG");
    EXPECT_EQ(ImageSource(png).decodeComplete(false).size(), QSize(20, 10));

    const QString cut = makeJpeg(folder.filePath(QStringLiteral("cut.jpg")), {.size = QSize(320, 240)});
    cutInScanData(cut);
    EXPECT_THROW(ImageSource(cut).decodeComplete(false), ImageSource::Damaged);
    EXPECT_FALSE(ImageSource(cut).decodeFull(false).isNull()) << "the viewer still shows what there is";
}

TEST(ImageSource, ACompleteDecodeRefusesZeroedTailsAndTakesZeroPadding)
{
    // A tail zeroed so that the picture needs every zero to the last bit of
    // its last byte reads as data that ends in zero bytes, and is taken for
    // whole. No kind may be taken so more often than this, of 192 tails each.
    const QMap<QString, int> mostTakenWrong{
        {u"baseline, grain"_qs, 13},        {u"baseline, optimised tables, grain"_qs, 23},
        {u"baseline, optimised tables, smooth"_qs, 8}, {u"progressive, grain"_qs, 11},
        {u"restart markers, grain"_qs, 18}, {u"restart markers, smooth"_qs, 6},
        {u"grey, grain"_qs, 3},
    };
    TempFolder folder;
    for (const SweepPhoto &photo : sweepPhotos()) {
        const QByteArray jpeg = contentOf(makeJpeg(folder.filePath(u"p.jpg"_qs), photo.recipe));
        const TailSweep sweep = sweepTails(jpeg);
        // Sequential scans are never taken to end in zeros they need.
        EXPECT_EQ(sweep.wholeRefused, photo.recipe.scanPerComponent && dataEndsInZero(jpeg)) << qPrintable(photo.name);
        EXPECT_LE(sweep.damagedAcceptedWrong, mostTakenWrong.value(photo.name)) << qPrintable(photo.name);
        // Padding after data that ends in zeros reads as a zeroed tail; an
        // arithmetic decoder reads zeros past its data without a word.
        if (!dataEndsInZero(jpeg) && !photo.recipe.arithmetic)
            EXPECT_EQ(sweep.paddedNotWhole, 0) << qPrintable(photo.name);
    }
}

TEST(ImageSource, APictureLargerThanTheLimitIsRefusedBeforeItsDecodeBegins)
{
    // Small real files whose headers claim pictures of gigabytes. A picture
    // in several scans has every claimed block's coefficients held by its
    // decoder, at any scale; one that fits that in a file far too small for
    // its blocks would be decoded to its end from nothing.
    TempFolder folder;
    for (const auto &[name, recipe, claimed] : hugeHeaderClaims()) {
        const QByteArray content = claimingSize(contentOf(makeJpeg(folder.filePath(u"p.jpg"_qs), recipe)), claimed);
        const ImageSource source(makeTextFile(folder.filePath(u"big.jpg"_qs), content));
        ASSERT_EQ(source.properties().value_or(ImageSource::Properties()).pixelSize, claimed) << name;
        const long before = peakKB();
        EXPECT_FALSE(decodedWhole(content)) << name;
        EXPECT_TRUE(source.decodeFull(false).isNull()) << name;
        for (const int side : {256, 1024, 3200})
            EXPECT_TRUE(source.decode(side, true).isNull()) << name << side;
        EXPECT_TRUE(source.decodeCovering(256, false).isNull()) << name;
        EXPECT_LT(peakKB() - before, 256 * 1024) << name;
    }

    // A baseline picture scaled is read a few rows at a time: a 600-MP
    // panorama shows, though too large to decode whole. A 100-MP progressive
    // photo holds its coefficients beside its pixels, in every path.
    const ImageSource panorama(makeLargeJpeg(folder.filePath(u"PANO.JPG"_qs), QSize(40000, 15000), false));
    EXPECT_EQ(panorama.decode(256, true).size(), QSize(256, 96));
    EXPECT_EQ(panorama.decode(3200, true).size(), QSize(3200, 1200));
    EXPECT_FALSE(decodedWhole(contentOf(panorama.path())));
    const QString photo = makeLargeJpeg(folder.filePath(u"BIG.JPG"_qs), QSize(12240, 8160), true);
    const auto qtRead = [&](QSize scaled) {
        QImageReader reader(photo);
        reader.setAllocationLimit(ImageSource::allocationLimitMB);
        reader.setScaledSize(scaled);
        reader.setQuality(100);
        return reader.read();
    };
    const ImageSource source(photo);
    EXPECT_EQ(source.decodeCovering(256, false), qtRead(QSize(384, 256)));
    const QImage whole = qtRead(QSize());
    ASSERT_EQ(whole.size(), QSize(12240, 8160));
    EXPECT_EQ(source.decodeFull(false), whole);
    EXPECT_EQ(decodedWhole(contentOf(photo)), whole);
}

TEST(ImageSource, AnArithmeticPictureWhoseDataRunsOutIsNeverTakenForWhole)
{
    // An arithmetic decoder that meets the end marker goes on with zeros for
    // what it lacks, without a word: an end marker after data cut short hides
    // the cut, in a scan that cannot end flat, or before scans that never
    // came. Scaled decodes still show what there is.
    TempFolder folder;
    const QByteArray bomb = claimingSize(
        contentOf(makeJpeg(folder.filePath(u"small.jpg"_qs), {.colour = JpegColour::grey, .arithmetic = true})),
        QSize(14856, 65283));
    const long before = peakKB();
    EXPECT_FALSE(decodedWhole(bomb));
    EXPECT_LT(peakKB() - before, 256 * 1024);
    EXPECT_FALSE(ImageSource::fromContent(bomb).decode(256, true).isNull());

    const QSize size(320, 240);
    for (const JpegRecipe &recipe : {JpegRecipe{.size = size, .arithmetic = true, .grain = 24},
                                     JpegRecipe{.size = size, .progressive = true, .arithmetic = true, .grain = 24},
                                     JpegRecipe{.size = size, .arithmetic = true, .scanPerComponent = true},
                                     JpegRecipe{.size = size, .colour = JpegColour::grey, .arithmetic = true}}) {
        const QString path = makeJpeg(folder.filePath(u"whole.jpg"_qs), recipe);
        const QByteArray jpeg = contentOf(path);
        EXPECT_EQ(decodedWhole(jpeg), QImageReader(path).read()) << recipe.progressive << recipe.scanPerComponent;
        for (const double share : {0.2, 0.5, 0.8})
            EXPECT_FALSE(decodedWhole(jpeg.left(qsizetype(jpeg.size() * share)) + QByteArray("\xff\xd9", 2)))
                << recipe.progressive << recipe.scanPerComponent << ", cut at " << share;
    }
}

TEST(FileSnapshot, AReadIsTheWholeFileInOneVersionOrNothing)
{
    TempFolder folder;
    const QString path = folder.filePath(u"IMG_0001.JPG"_qs);
    const QByteArray bytes(1'000'000, 'j');
    const auto writeAt = [&](qint64 at, const QByteArray &with) {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.seek(at);
        file.write(with);
    };
    bool failing = false;
    // What befalls the file, or its reads, once 300,000 bytes have come.
    const QList<std::pair<const char *, std::function<void()>>> cases = {
        {"read as it is", [] {}},
        {"a read fails, as on a card pulled", [&] { failing = true; }},
        {"cut short", [&] { truncateFile(path, 300'000); }},
        {"grown", [&] { writeAt(bytes.size(), "more"); }},
        {"rewritten in place, its size kept",
         [&] {
             writeAt(0, "other");
             QFile(path).setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime);
         }},
    };
    for (const auto &[name, befallen] : cases) {
        makeTextFile(path, bytes);
        failing = false;
        qint64 came = 0;
        const auto readSome = [&, befall = befallen](int fd, void *buffer, size_t size) -> ssize_t {
            if (came == 300'000)
                befall();
            if (failing) {
                errno = EIO;
                return -1;
            }
            const ssize_t n = ::read(fd, buffer, came < 300'000 ? std::min<size_t>(size, 300'000 - came) : size);
            came += std::max<ssize_t>(n, 0);
            return n;
        };
        const auto read = FileSnapshot::read(path, bytes.size(), {}, readSome);
        const auto *snapshot = std::get_if<FileSnapshot>(&read);
        EXPECT_EQ(snapshot != nullptr, name == cases[0].first) << name;
        if (snapshot)
            EXPECT_TRUE(snapshot->content == bytes && snapshot->stamp == FileSnapshot::Stamp::of(path)) << name;
    }
    // One byte over what is asked for, and not a byte of it is read.
    bool readAtAll = false;
    const auto tooLarge = FileSnapshot::read(path, bytes.size() - 1, {}, [&](int, void *, size_t) -> ssize_t {
        readAtAll = true;
        return 0;
    });
    const auto *failure = std::get_if<FileSnapshot::Failure>(&tooLarge);
    EXPECT_TRUE(failure && *failure == FileSnapshot::Failure::tooLarge && !readAtAll);

    // Opened without blocking, a regular file is then read blocking, as some
    // file systems answer non-blocking reads with EAGAIN; a pipe is not.
    const QString pipe = folder.filePath(u"IMG_0002.JPG"_qs);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    EXPECT_FALSE(::fcntl(FileDescriptor::openToRead(path).get(), F_GETFL) & O_NONBLOCK);
    EXPECT_TRUE(::fcntl(FileDescriptor::openToRead(pipe).get(), F_GETFL) & O_NONBLOCK);
}

TEST(ImageSource, BoundedSizeKeepsAspectAndNeverEnlarges)
{
    EXPECT_EQ(boundedSize(QSize(4000, 3000), 256), QSize(256, 192));
    EXPECT_EQ(boundedSize(QSize(3000, 4000), 256), QSize(192, 256));
    EXPECT_EQ(boundedSize(QSize(100, 50), 256), QSize(100, 50));
    EXPECT_EQ(boundedSize(QSize(10000, 1), 100), QSize(100, 1));
}
