#include "services/ConvertService.h"
#include "services/PhotoCost.h"
#include "services/ThumbnailMemoryCache.h"
#include "services/ValidationService.h"

#include "platform/ExifOrientation.h"
#include "platform/ImageSource.h"
#include "platform/JpegFootprint.h"
#include "platform/JpegSegments.h"
#include "platform/SystemErrorText.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/HeifDecode.h"
#include "support/LargePictures.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimeZone>
#include <QTranslator>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <future>
#include <stdexcept>

using namespace pomelark;
using namespace pomelark::test;

namespace {

struct ConvertCall {
    QUrl input, output;
    QString bitrate;
    std::optional<QString> creationTime;
};

/// Records what would go to ffmpeg; fails when told to.
class RecordingVideoConverter : public VideoConverter {
public:
    QCoro::Task<QString> convertToHEVC(QUrl input, QUrl output, QString bitrate,
                                       std::optional<QString> creationTime) override
    {
        calls.append({input, output, bitrate, creationTime});
        if (!failure.isEmpty())
            throw std::runtime_error(failure.toStdString());
        co_return QStringLiteral("log");
    }
    QList<ConvertCall> calls;
    QString failure;
};


class ConvertPhoto : public testing::Test {
protected:
    DecodedHeic convert(const QString &source, int rotation, std::optional<QDateTime> date = std::nullopt,
                        bool highQuality = true)
    {
        const QString output = folder.filePath(QStringLiteral("out-%1.heic").arg(++m_count));
        awaitTask(service.convertPhoto(QUrl::fromLocalFile(source), QUrl::fromLocalFile(output), highQuality, date,
                                       rotation));
        auto decoded = decodeHeic(output);
        if (!decoded)
            throw std::runtime_error("the converted file does not decode");
        return *decoded;
    }
    ConvertError failureOf(const QString &source, const QString &output, int rotation = 0)
    {
        try {
            awaitTask(service.convertPhoto(QUrl::fromLocalFile(source), QUrl::fromLocalFile(output), true,
                                           std::nullopt, rotation));
        } catch (const ConvertError &error) {
            return error;
        }
        throw std::runtime_error("the conversion did not fail");
    }

    TempFolder folder;
    RecordingVideoConverter videos;
    ConvertService service{videos};

private:
    int m_count = 0;
};

} // namespace

TEST_F(ConvertPhoto, UnturnedKeepsThePhotosOrientationAndWritesTheDate)
{
    const QString source = makeJpeg(folder.filePath(QStringLiteral("a.jpg")),
                                    {.size = QSize(64, 48), .orientation = 6,
                                     .dateTimeOriginal = QStringLiteral("2019:09:09 09:09:09")});
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 20, 30));
    const DecodedHeic heic = convert(source, 0, date);
    EXPECT_EQ(heic.stored.size(), QSize(64, 48));
    EXPECT_EQ(heic.shown.size(), QSize(48, 64));
    EXPECT_EQ(redCorner(heic.shown), QStringLiteral("top-right")) << "shown as on the card";
    EXPECT_EQ(exifValue(heic.exif, "Exif.Photo.DateTimeOriginal"), QStringLiteral("2024:05:01 10:20:30"));
    EXPECT_EQ(exifValue(heic.exif, "Exif.Image.Orientation"), QStringLiteral("1"));

    // Without a date the photo's own stays; 360 is no turn at all.
    const DecodedHeic undated = convert(source, 360);
    EXPECT_EQ(exifValue(undated.exif, "Exif.Photo.DateTimeOriginal"), QStringLiteral("2019:09:09 09:09:09"));
    EXPECT_EQ(undated.stored.size(), QSize(64, 48));
}

TEST_F(ConvertPhoto, TurnedStandsThePhotoUpThenTurnsIt)
{
    // Orientation 6 stands it up with a quarter turn; the user adds another.
    const QString source = makeJpeg(folder.filePath(QStringLiteral("a.jpg")), {.size = QSize(64, 48), .orientation = 6});
    const DecodedHeic heic = convert(source, 90);
    EXPECT_EQ(heic.stored.size(), QSize(64, 48));
    EXPECT_EQ(heic.shown.size(), QSize(64, 48));
    EXPECT_EQ(redCorner(heic.stored), QStringLiteral("bottom-right"));
    EXPECT_EQ(redCorner(heic.shown), QStringLiteral("bottom-right")) << "no transform left in the file";
    EXPECT_EQ(exifValue(heic.exif, "Exif.Image.Orientation"), QStringLiteral("1"));

    const QString plain = makeJpeg(folder.filePath(QStringLiteral("b.jpg")), {.size = QSize(64, 48)});
    const DecodedHeic minus = convert(plain, -90);
    const DecodedHeic threeQuarters = convert(plain, 270);
    EXPECT_EQ(minus.stored, threeQuarters.stored);
    EXPECT_EQ(minus.stored.size(), QSize(48, 64));
    EXPECT_EQ(redCorner(minus.stored), QStringLiteral("bottom-left"));
}

TEST_F(ConvertPhoto, GreyAndCmykPhotosConvertAndTurn)
{
    const QString grey = makeJpeg(folder.filePath(QStringLiteral("grey.jpg")),
                                  {.size = QSize(64, 48), .colour = JpegColour::grey});
    const DecodedHeic greyHeic = convert(grey, 90);
    EXPECT_EQ(greyHeic.shown.size(), QSize(48, 64));
    // The red block turns dark grey: it now sits in the top-right corner.
    EXPECT_LT(qGray(greyHeic.shown.pixel(40, 6)), qGray(greyHeic.shown.pixel(6, 6)));

    const QString cmyk = makeJpeg(folder.filePath(QStringLiteral("cmyk.jpg")),
                                  {.size = QSize(64, 48), .colour = JpegColour::cmyk});
    const DecodedHeic cmykHeic = convert(cmyk, 180);
    EXPECT_EQ(cmykHeic.shown.size(), QSize(64, 48));
    EXPECT_EQ(redCorner(cmykHeic.shown), QStringLiteral("bottom-right"));

    EXPECT_FALSE(ConvertService::loadRotatedImage(QUrl::fromLocalFile(cmyk), 3200, 90).isNull());
}

TEST_F(ConvertPhoto, QualitySettingChangesTheFile)
{
    const QString source = makeJpeg(folder.filePath(QStringLiteral("a.jpg")), {.size = QSize(320, 240)});
    const QString high = folder.filePath(QStringLiteral("high.heic"));
    const QString small = folder.filePath(QStringLiteral("small.heic"));
    awaitTask(service.convertPhoto(QUrl::fromLocalFile(source), QUrl::fromLocalFile(high), true, std::nullopt, 0));
    awaitTask(service.convertPhoto(QUrl::fromLocalFile(source), QUrl::fromLocalFile(small), false, std::nullopt, 0));
    EXPECT_GT(QFileInfo(high).size(), QFileInfo(small).size());
}

TEST_F(ConvertPhoto, FailuresSayWhatWentWrong)
{
    const QString text = makeTextFile(folder.filePath(QStringLiteral("notes.jpg")));
    EXPECT_EQ(failureOf(text, folder.filePath(QStringLiteral("a.heic"))).kind, ConvertError::Kind::sourceUnreadable);
    EXPECT_EQ(failureOf(folder.filePath(QStringLiteral("missing.jpg")), folder.filePath(QStringLiteral("b.heic"))).kind,
              ConvertError::Kind::sourceUnreadable);
    EXPECT_EQ(ConvertError(ConvertError::Kind::sourceUnreadable).message(),
              QStringLiteral("Couldn't read the source file"));
    QTranslator korean;
    ASSERT_TRUE(korean.load(QStringLiteral(POMELARK_QM_DIR "/pomelark_ko.qm")));
    QCoreApplication::installTranslator(&korean);
    EXPECT_EQ(ConvertError(ConvertError::Kind::sourceTooLarge).message(), u"사진이 너무 커서 변환할 수 없어요 (512MB 초과)"_qs);
    EXPECT_EQ(ConvertError(ConvertError::Kind::pictureTooLarge).message(),
              u"사진이 너무 커서 이 컴퓨터에서는 변환할 수 없어요"_qs);
    EXPECT_EQ(ConvertError(ConvertError::Kind::sideTooLong).message(),
              u"사진이 너무 커서 변환할 수 없어요 (한 변이 32768픽셀 이상)"_qs);
    QCoreApplication::removeTranslator(&korean);

    // A side longer than HEIF readers open is refused before it is read,
    // whatever the memory; one at the limit is sent, and opens. (libheif
    // opens a 32768-pixel side beside 64, but not beside 32 or 33.)
    const QString longest = makeJpeg(folder.filePath(QStringLiteral("longest.jpg")), {.size = QSize(32767, 33)});
    EXPECT_EQ(convert(longest, 90).shown.size(), QSize(33, 32767));
    const QString tooLong = makeJpeg(folder.filePath(QStringLiteral("too-long.jpg")), {.size = QSize(32, 32768)});
    EXPECT_EQ(failureOf(tooLong, folder.filePath(QStringLiteral("d.heic"))).message(),
              QStringLiteral("This photo is too large to convert (32768 pixels or more on a side)"));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("d.heic"))));

    // A whole picture whose decode would pass the send's memory budget is too
    // large, not unreadable: an arithmetic-coded file of a few hundred bytes
    // may claim 96 megapixels.
    const ScopedEnv budget("POMELARK_MEMORY_MB", "64");
    const QString small = makeJpeg(folder.filePath(QStringLiteral("small.jpg")),
                                   {.colour = JpegColour::grey, .arithmetic = true});
    const QString claimed = makeTextFile(folder.filePath(QStringLiteral("claimed.jpg")),
                                         claimingSize(contentOf(small), QSize(12000, 8000)));
    EXPECT_EQ(failureOf(claimed, folder.filePath(QStringLiteral("c.heic"))).kind,
              ConvertError::Kind::pictureTooLarge);
    // A Huffman-coded header that claims more than its file could ever hold
    // is damaged, on any computer.
    const QString damaged = makeTextFile(folder.filePath(QStringLiteral("damaged.jpg")),
                                         claimingSize(contentOf(makeJpeg(folder.filePath(QStringLiteral("b.jpg")))),
                                                      QSize(30000, 30000)));
    EXPECT_EQ(failureOf(damaged, folder.filePath(QStringLiteral("e.heic"))).kind,
              ConvertError::Kind::sourceUnreadable);

    const QString photo = makeJpeg(folder.filePath(QStringLiteral("a.jpg")));
    EXPECT_EQ(failureOf(photo, folder.filePath(QStringLiteral("no/folder/a.heic"))).kind,
              ConvertError::Kind::destinationFailed);
}

TEST(ConvertService, OnlyTheFileWhoseCostWasClaimedIsRead)
{
    // Under a budget a 320 × 240 photo fits and its 4000 × 3000 stand-in does
    // not: put in its place once its cost is claimed, as its read begins, the
    // stand-in is not read, let alone decoded under the small photo's claim.
    TempFolder folder;
    const ScopedEnv budget("POMELARK_MEMORY_MB", "64");
    const QString photo = makeJpeg(folder.filePath(u"IMG_0001.JPG"_qs), {.size = QSize(320, 240)});
    const QString large = makeJpeg(folder.filePath(u"large.jpg"_qs), {.size = QSize(4000, 3000), .grain = 6});
    bool decoded = false;
    ConvertService converter(defaultVideoConverter(), [&](const QString &path, int rotation,
                                                          const FileSnapshot::Stamp &costed, std::stop_token stop) {
        QFile::remove(path);
        QFile::copy(large, path);
        ReadPhoto read = ConvertService::readSourcePhoto(path, rotation, costed, stop);
        decoded = true;
        return read;
    });
    const QString output = folder.filePath(u"out.heic"_qs);
    try {
        awaitTask(converter.convertPhoto(QUrl::fromLocalFile(photo), QUrl::fromLocalFile(output), false,
                                         std::nullopt, 0));
        ADD_FAILURE() << "the stand-in was sent";
    } catch (const ConvertError &error) {
        EXPECT_EQ(error.message(), u"Couldn't read the source file"_qs);
    }
    EXPECT_FALSE(decoded);
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST(ConvertService, NeitherItsStopNorItsEndWaitsForAReadOrResumesAnythingOfIt)
{
    // A read that takes no stop, as from a card that stopped answering, until the test opens it.
    struct Stall {
        std::promise<void> open;
        std::shared_future<void> opened = open.get_future().share();
        std::atomic_bool reached = false;
        void wait()
        {
            // Its own share: the read may wake after the test is over.
            const std::shared_future<void> mine = opened;
            reached = true;
            mine.wait();
        }
    };
    TempFolder folder;
    const QString photo = makeJpeg(folder.filePath(u"IMG_0001.JPG"_qs), {.size = QSize(320, 240)});
    const QString output = folder.filePath(u"out.heic"_qs);

    // Stopped while it reads, the converter returns at once; the read, once
    // it ends, is thrown away, and nothing is written.
    Stall card;
    ConvertService converter(defaultVideoConverter(), [&](const QString &path, int rotation,
                                                          const FileSnapshot::Stamp &costed, std::stop_token) {
        card.wait();
        return ConvertService::readSourcePhoto(path, rotation, costed);
    });
    QCoro::Task<void> converting =
        converter.convertPhoto(QUrl::fromLocalFile(photo), QUrl::fromLocalFile(output), false, std::nullopt, 0);
    ASSERT_TRUE(spinUntil([&] { return card.reached.load(); }));
    auto stopping = std::async(std::launch::async, [&] { converter.stop(); });
    const bool stoppedAtOnce = stopping.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    card.open.set_value();
    stopping.wait();
    EXPECT_TRUE(stoppedAtOnce);
    EXPECT_THROW(awaitTask(std::move(converting)), WorkStopped);
    EXPECT_FALSE(QFileInfo::exists(output));

    // Gone while a conversion waits for its photo's read-ahead, it resumes
    // nothing of itself: that conversion never goes on.
    Stall aheadCard;
    std::optional<ConvertService> gone;
    gone.emplace(defaultVideoConverter(), [&](const QString &path, int rotation, const FileSnapshot::Stamp &costed,
                                              std::stop_token stop) {
        aheadCard.wait();
        return ConvertService::readSourcePhoto(path, rotation, costed, stop);
    });
    gone->readAhead(QUrl::fromLocalFile(photo), 0, false);
    ASSERT_TRUE(spinUntil([&] { return aheadCard.reached.load(); }));
    // Kept, as the one who awaits it would keep it, suspended for good.
    static auto *waiting = new std::vector<QCoro::Task<void>>;
    waiting->push_back(gone->convertPhoto(QUrl::fromLocalFile(photo), QUrl::fromLocalFile(output), false,
                                          std::nullopt, 0));
    gone.reset();
    aheadCard.open.set_value();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(waiting->back().isReady());
}

TEST_F(ConvertPhoto, AFullDiskKeepsTheSystemsReason)
{
    // Every write into /dev/full fails as on a full disk.
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    const QString photo = makeJpeg(folder.filePath(QStringLiteral("a.jpg")), {.size = QSize(320, 240)});
    for (int rotation : {0, 90}) {
        const ConvertError error = failureOf(photo, QStringLiteral("/dev/full"), rotation);
        EXPECT_EQ(error.kind, ConvertError::Kind::encodingFailed);
        EXPECT_EQ(error.message(), u"Conversion failed: "_qs + SystemErrorText::of(ENOSPC));
    }
}

TEST_F(ConvertPhoto, APhotoReadOnlyInPartIsNotConverted)
{
    const QString cut = makeJpeg(folder.filePath(QStringLiteral("cut.jpg")), {.size = QSize(320, 240)});
    cutInScanData(cut);
    const QString damaged = makeJpeg(folder.filePath(QStringLiteral("damaged.jpg")), {.size = QSize(320, 240)});
    damageScanData(damaged);
    for (const QString &source : {cut, damaged}) {
        for (int rotation : {0, 90}) {
            const QString output = folder.filePath(QStringLiteral("out.heic"));
            EXPECT_EQ(failureOf(source, output, rotation).kind, ConvertError::Kind::sourceUnreadable)
                << qPrintable(QFileInfo(source).fileName()) << " turned " << rotation;
        }
        // Its header is whole, so it passes validation, and the grid and viewer
        // still show what could be decoded.
        EXPECT_TRUE(ValidationService::checkFileNow(source, MediaItem::Kind::photo));
        EXPECT_FALSE(ConvertService::loadRotatedImage(QUrl::fromLocalFile(source), 3200, 90).isNull());
    }
}

TEST_F(ConvertPhoto, AJpegOfAbsurdlyManySegmentsIsRefusedByEveryReadAndOneAtTheLimitIsRead)
{
    // Readers keep a JPEG's segments in a list each walks to its end, taking
    // hours over a few megabytes of them. Refused before any reader sees them,
    // a photo fails as a damaged one does: at validation when they are in its
    // header, and everywhere its picture is decoded wherever they are.
    const QByteArray baseline = contentOf(makeJpeg(folder.filePath(u"baseline.jpg"_qs), {.orientation = 6}));
    const QByteArray progressive =
        contentOf(makeJpeg(folder.filePath(u"progressive.jpg"_qs), {.orientation = 6, .progressive = true}));
    const auto add = [](QByteArray jpeg, qsizetype at, const char *marker, qint64 count) {
        return jpeg.insert(at, QByteArray(QByteArray(marker, 2) + QByteArray("\0\2", 2)).repeated(count));
    };
    // One over the most read beside both files' own JFIF and EXIF segments, as libjpeg counts them.
    const JpegFootprint own = *JpegFootprint::read(baseline);
    qint64 over = JpegSegments::mostRead + 1 - own.comments.count;
    for (const JpegFootprint::Segments &segments : own.applicationSegments)
        over -= segments.count;
    const qsizetype secondScan = progressive.indexOf("\xff\xda", progressive.indexOf("\xff\xda") + 2);
    struct Photo {
        const char *name;
        QByteArray content;
        bool headerRefused, refused;
    };
    const QList<Photo> photos{
        {"comments", add(baseline, 2, "\xff\xfe", over), true, true},
        {"EXIF segments", add(baseline, 2, "\xff\xe1", over), true, true},
        {"profile segments", add(baseline, 2, "\xff\xe2", over), true, true},
        {"between scans", add(progressive, secondScan, "\xff\xfe", over), false, true},
        {"after the picture", add(baseline, baseline.size() - 2, "\xff\xe2", over), false, true},
        // After its EXIF segment: Exiv2 gives up its search for one after a few comments.
        {"at the limit, half between scans",
         add(add(progressive, secondScan, "\xff\xe2", over / 2), progressive.indexOf("\xff\xdb"), "\xff\xfe",
             over - 1 - over / 2),
         false, false},
    };
    for (const auto &[name, content, headerRefused, refused] : photos) {
        const QString path = makeTextFile(folder.filePath(QString::fromLatin1(name) + u".jpg"_qs), content);
        const QUrl url = QUrl::fromLocalFile(path);
        const ImageSource source(path);
        EXPECT_EQ(ValidationService::checkFileNow(path, MediaItem::Kind::photo), !headerRefused) << name;
        EXPECT_EQ(source.properties().has_value(), !headerRefused) << name;
        EXPECT_EQ(source.exifBlock().isEmpty(), headerRefused) << name;
        EXPECT_EQ(exifOrientation(path).has_value(), !headerRefused) << name;
        EXPECT_EQ(PhotoCost::ofFile(path, 0).has_value(), !headerRefused) << name;
        // The grid's thumbnail, the viewer's picture, the poster's decodes, the send.
        EXPECT_EQ(loadThumbnailImage(url, 256).has_value(), !refused) << name;
        EXPECT_EQ(ConvertService::loadRotatedImage(url, 3200, 90).isNull(), refused) << name;
        EXPECT_EQ(source.decodeCovering(32, false).isNull(), refused) << name;
        EXPECT_EQ(source.decodeFull(false).isNull(), refused) << name;
        if (refused)
            EXPECT_EQ(failureOf(path, folder.filePath(u"out.heic"_qs)).message(), u"Couldn't read the source file"_qs)
                << name;
        else
            EXPECT_EQ(convert(path, 0).shown.size(), QSize(48, 64)) << name;
    }
}

TEST(ConvertService, ASourceIsReadWholeOrNotAtAll)
{
    TempFolder folder;
    const QString bmp = folder.filePath(u"p.bmp"_qs), png = folder.filePath(u"p.png"_qs), gif = folder.filePath(u"p.gif"_qs);
    fixturePicture(QSize(320, 240)).save(bmp);
    fixturePicture(QSize(320, 240)).save(png);
    ASSERT_EQ(QProcess::execute(ffmpegProgram(), {u"-v"_qs, u"error"_qs, u"-i"_qs, png, gif}), 0);
    const QByteArray jpeg = contentOf(makeJpeg(folder.filePath(u"a.jpg"_qs), {.size = QSize(320, 240)}));
    const QByteArray progressive =
        contentOf(makeJpeg(folder.filePath(u"p.jpg"_qs), {.size = QSize(320, 240), .progressive = true}));
    const QByteArray end("\xff\xd9", 2), zeros(64, '\0');
    // Zeros are valid picture data: a tail the card never wrote (a short valid
    // length, sectors erased by a power loss) decodes as a flat band.
    const auto zeroedTail = [](const QByteArray &content, double share) -> QByteArray {
        const qsizetype kept = qsizetype(content.size() * (1 - share));
        return content.left(kept) + QByteArray(content.size() - kept, '\0');
    };
    // Tables made for the picture, as many cameras write, give zeros short
    // codes: a zeroed tail decodes into the rest of the picture and leaves zeros over.
    const QByteArray photo =
        contentOf(makeJpeg(folder.filePath(u"b.jpg"_qs), {.size = QSize(640, 480), .optimized = true}));
    const QByteArray progressivePhoto =
        contentOf(makeJpeg(folder.filePath(u"c.jpg"_qs), {.size = QSize(640, 480), .progressive = true}));
    const QByteArray restarts = contentOf(
        makeJpeg(folder.filePath(u"d.jpg"_qs), {.size = QSize(640, 480), .optimized = true, .restartInterval = 40}));
    qsizetype lastInterval = restarts.size() - 2;
    while (uchar(restarts[lastInterval]) != 0xff || (uchar(restarts[lastInterval + 1]) & 0xf8) != 0xd0)
        --lastInterval; // back to the last restart marker
    // Encoders pad the last byte with ones, so a picture whose data ends in
    // zero bytes needs every one of them.
    QByteArray endsInZeros;
    for (int width = 320; !endsInZeros.endsWith(QByteArray("\0\xff\xd9", 3)); width += 8)
        endsInZeros = contentOf(makeJpeg(folder.filePath(u"e.jpg"_qs), {.size = QSize(width, 240)}));
    // A block full to its last coefficient can end the data in an FF byte,
    // which the data follows with a zero of its own.
    QByteArray endsInFf;
    for (int width = 64; !endsInFf.endsWith(QByteArray("\xff\0\xff\xd9", 4)) && width < 1024; width += 8)
        endsInFf = contentOf(
            makeJpeg(folder.filePath(u"f.jpg"_qs), {.size = QSize(width, 48), .quality = 100, .grain = 100}));
    ASSERT_TRUE(endsInFf.endsWith(QByteArray("\xff\0\xff\xd9", 4)));
    const QByteArray arithmetic =
        contentOf(makeJpeg(folder.filePath(u"g.jpg"_qs), {.size = QSize(640, 480), .arithmetic = true}));
    const QByteArray scanEach =
        contentOf(makeJpeg(folder.filePath(u"h.jpg"_qs), {.size = QSize(640, 480), .scanPerComponent = true}));
    const qsizetype lastScan = scanEach.lastIndexOf("\xff\xda");
    const QByteArray twoZeros(2, '\0');

    // Whatever the name says, a file ends where its picture does, and a
    // complete picture without its end marker is still whole.
    const QList<std::tuple<const char *, QByteArray, QByteArray, bool>> cases = {
        {"jpeg without its end marker", jpeg, jpeg.chopped(2), true},
        {"jpeg with zeros before its end marker", jpeg, jpeg.chopped(2) + zeros + end, true},
        {"jpeg cut in its scan data", jpeg, jpeg.left(jpeg.size() / 2), false},
        {"jpeg without its last bytes of scan data", jpeg, jpeg.chopped(18), false},
        {"progressive jpeg without its end marker", progressive, progressive.chopped(2), true},
        {"progressive jpeg cut before its last scan", progressive, progressive.left(progressive.lastIndexOf("\xff\xda")),
         false},
        {"progressive jpeg cut in its last scan", progressive, progressive.chopped(40), false},
        {"jpeg whose data ends in zero bytes", endsInZeros, endsInZeros, true},
        {"jpeg whose data ends in zero bytes, without its end marker", endsInZeros, endsInZeros.chopped(2), true},
        {"jpeg with its last 30 % zeroed", photo, zeroedTail(photo, 0.3), false},
        {"jpeg with its last 50 % zeroed, then its end marker", photo, zeroedTail(photo, 0.5).chopped(2) + end, false},
        {"jpeg with only its last bytes of scan data zeroed", photo, zeroedTail(photo.chopped(2), 0.002) + end, false},
        {"progressive jpeg with its last 30 % zeroed", progressivePhoto, zeroedTail(progressivePhoto, 0.3), false},
        {"progressive jpeg with its last 50 % zeroed, then its end marker", progressivePhoto,
         zeroedTail(progressivePhoto, 0.5).chopped(2) + end, false},
        {"jpeg with restart markers and its last 30 % zeroed", restarts, zeroedTail(restarts, 0.3), false},
        {"jpeg with restart markers zeroed within its last interval", restarts,
         restarts.left((lastInterval + restarts.size()) / 2) + QByteArray((restarts.size() - lastInterval) / 2, '\0'),
         false},
        {"jpeg whose data ends in ff 00, with zeros before its end marker", endsInFf, endsInFf.chopped(2) + zeros + end,
         true},
        {"jpeg whose data ends in ff 00, with two zeros before its end marker", endsInFf,
         endsInFf.chopped(2) + twoZeros + end, true},
        // Data that ends in zero bytes, then padding, reads as a zeroed tail;
        // and an arithmetic decoder reads zeros past its data without a word.
        {"jpeg whose data ends in zero bytes, with zeros before its end marker", endsInZeros,
         endsInZeros.chopped(2) + zeros + end, false},
        {"arithmetic jpeg with zeros before its end marker", arithmetic, arithmetic.chopped(2) + zeros + end, false},
        {"arithmetic jpeg with its last 1 % zeroed", arithmetic, zeroedTail(arithmetic, 0.01), false},
        {"arithmetic jpeg with its last 30 % zeroed, then its end marker", arithmetic,
         zeroedTail(arithmetic, 0.3).chopped(2) + end, false},
        {"jpeg in a scan for each component, with zeros before its end marker", scanEach,
         scanEach.chopped(2) + zeros + end, true},
        {"jpeg in a scan for each component with its last scan zeroed", scanEach,
         scanEach.left(lastScan) + QByteArray(scanEach.size() - 2 - lastScan, '\0') + end, false},
        {"bmp", contentOf(bmp), contentOf(bmp), true},
        {"bmp cut", contentOf(bmp), contentOf(bmp).chopped(5000), false},
        {"gif", contentOf(gif), contentOf(gif), true},
        {"gif cut", contentOf(gif), contentOf(gif).chopped(500), false},
        {"png", contentOf(png), contentOf(png), true},
        {"png cut", contentOf(png), contentOf(png).chopped(500), false},
    };
    for (const auto &[name, intact, content, whole] : cases) {
        const QImage expected =
            ConvertService::readSourcePhoto(makeTextFile(folder.filePath(u"intact.JPG"_qs), intact), 0).pixels;
        try {
            const QImage read =
                ConvertService::readSourcePhoto(makeTextFile(folder.filePath(u"IMG.JPG"_qs), content), 0).pixels;
            EXPECT_TRUE(whole && read == expected) << name;
        } catch (const ConvertError &error) {
            EXPECT_TRUE(!whole && error.kind == ConvertError::Kind::sourceUnreadable) << name;
        }
    }
}

TEST_F(ConvertPhoto, EveryTurnKeepsTheColourProfile)
{
    // Stood up by its EXIF tag, by the user, or by both.
    const QString adobe = makeJpeg(folder.filePath(QStringLiteral("adobe.jpg")),
                                   {.size = QSize(64, 48), .orientation = 6,
                                    .colourSpace = QColorSpace(QColorSpace::AdobeRgb)});
    const QString p3 = makeJpeg(folder.filePath(QStringLiteral("p3.jpg")),
                                {.size = QSize(64, 48), .colourSpace = QColorSpace(QColorSpace::DisplayP3)});
    const QList<std::tuple<QString, int, QColorSpace>> cases = {
        {adobe, 0, QColorSpace(QColorSpace::AdobeRgb)},
        {adobe, 90, QColorSpace(QColorSpace::AdobeRgb)},
        {p3, 270, QColorSpace(QColorSpace::DisplayP3)},
    };
    for (const auto &[source, rotation, space] : cases) {
        const DecodedHeic heic = convert(source, rotation);
        EXPECT_EQ(QColorSpace::fromIccProfile(heic.icc), space)
            << qPrintable(QFileInfo(source).fileName()) << " turned " << rotation;
        EXPECT_EQ(ConvertService::loadRotatedImage(QUrl::fromLocalFile(source), 3200, rotation).colorSpace(), space);
    }
}

TEST(ConvertService, VideosGoToTheConverterWithBitrateAndUtcTime)
{
    RecordingVideoConverter videos;
    ConvertService service(videos);
    const QUrl in = QUrl::fromLocalFile(QStringLiteral("/card/clip one.mov"));
    const QUrl out = QUrl::fromLocalFile(QStringLiteral("/staging/X.mov"));
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 20, 30), QTimeZone(3600));
    awaitTask(service.convertVideo(in, out, true, date));
    awaitTask(service.convertVideo(in, out, false, std::nullopt));
    ASSERT_EQ(videos.calls.size(), 2);
    EXPECT_EQ(videos.calls[0].input, in);
    EXPECT_EQ(videos.calls[0].output, out);
    EXPECT_EQ(videos.calls[0].bitrate, QStringLiteral("2M"));
    EXPECT_EQ(videos.calls[0].creationTime, QStringLiteral("2024-05-01T09:20:30Z"));
    EXPECT_EQ(videos.calls[1].bitrate, QStringLiteral("800k"));
    EXPECT_EQ(videos.calls[1].creationTime, std::nullopt);

    videos.failure = QStringLiteral("ffmpeg exited with code 1: broken");
    try {
        awaitTask(service.convertVideo(in, out, true, std::nullopt));
        FAIL() << "the failure was swallowed";
    } catch (const std::runtime_error &error) {
        EXPECT_STREQ(error.what(), "ffmpeg exited with code 1: broken");
    }
}

TEST(ConvertService, CaptureDateComesFromExifElseTheFileTime)
{
    TempFolder folder;
    const QString dated = makeJpeg(folder.filePath(QStringLiteral("a.jpg")),
                                   {.dateTimeOriginal = QStringLiteral("2024:05:01 10:20:30")});
    EXPECT_EQ(ConvertService::captureDate(QUrl::fromLocalFile(dated), MediaItem::Kind::photo),
              QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30)));

    const QDateTime fileTime(QDate(2022, 2, 2), QTime(2, 2, 2));
    auto touch = [&](const QString &path) {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(fileTime, QFileDevice::FileModificationTime);
        return path;
    };
    const QString badDate = touch(makeJpeg(folder.filePath(QStringLiteral("b.jpg")),
                                           {.dateTimeOriginal = QStringLiteral("2024-05-01 10:20:30")}));
    EXPECT_EQ(ConvertService::captureDate(QUrl::fromLocalFile(badDate), MediaItem::Kind::photo), fileTime);
    // A video never looks inside: even a JPEG named as a video gets its file time.
    const QString video = touch(makeJpeg(folder.filePath(QStringLiteral("c.mov")),
                                         {.dateTimeOriginal = QStringLiteral("2024:05:01 10:20:30")}));
    EXPECT_EQ(ConvertService::captureDate(QUrl::fromLocalFile(video), MediaItem::Kind::video), fileTime);
    EXPECT_EQ(ConvertService::captureDate(QUrl::fromLocalFile(folder.filePath(QStringLiteral("gone.jpg"))),
                                          MediaItem::Kind::photo),
              std::nullopt);
}

TEST(ConvertService, DateTextsAndRotationsNormalise)
{
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 20, 30));
    EXPECT_EQ(ConvertService::exifDateText(date), QStringLiteral("2024:05:01 10:20:30"));
    EXPECT_EQ(ConvertService::parseExifDate(QStringLiteral("2024:05:01 10:20:30")), date);
    EXPECT_EQ(ConvertService::parseExifDate(QStringLiteral("    :  :     :  :  ")), std::nullopt);
    EXPECT_EQ(ConvertService::isoText(QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC)),
              QStringLiteral("2024-05-01T10:20:30Z"));
    EXPECT_EQ(ConvertService::normalisedRotation(-90), 270);
    EXPECT_EQ(ConvertService::normalisedRotation(450), 90);
    EXPECT_EQ(ConvertService::normalisedRotation(-360), 0);
}

TEST(ConvertService, LoadRotatedImageBoundsTurnsAndNeverFails)
{
    TempFolder folder;
    const QString source = makeJpeg(folder.filePath(QStringLiteral("a.jpg")), {.size = QSize(400, 300), .orientation = 6});
    const QImage turned = ConvertService::loadRotatedImage(QUrl::fromLocalFile(source), 200, 90);
    EXPECT_EQ(turned.size(), QSize(200, 150));
    EXPECT_EQ(redCorner(turned), QStringLiteral("bottom-right"));
    EXPECT_TRUE(ConvertService::loadRotatedImage(QUrl::fromLocalFile(makeTextFile(folder.filePath(QStringLiteral("t.jpg")))),
                                                 200, 90)
                    .isNull());

    const QImage grey = fixturePicture(QSize(6, 4)).convertToFormat(QImage::Format_Grayscale8);
    const QImage greyTurned = ConvertService::rotateImage(grey, 270);
    EXPECT_EQ(greyTurned.size(), QSize(4, 6));
    EXPECT_EQ(greyTurned.format(), QImage::Format_Grayscale8);
    EXPECT_THROW(ConvertService::rotateImage(QImage(), 90), ImageRotationError);
}
