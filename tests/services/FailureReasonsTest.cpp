#include "services/ExportCoordinator.h"
#include "services/FFmpegRunner.h"
#include "services/ValidationService.h"

#include "platform/SystemLog.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

/// ffmpeg failing on every video as it does on a card pulled mid-read; the
/// source of gone.mov goes with it, and the card test sees pulled.mov's card go.
class PulledCardVideos : public VideoConverter {
public:
    QCoro::Task<QString> convertToHEVC(QUrl input, QUrl output, QString bitrate,
                                       std::optional<QString> creationTime) override
    {
        if (input.fileName() == u"gone.mov"_qs)
            QFile::remove(input.toLocalFile());
        cardGone = input.fileName() == u"pulled.mov"_qs;
        co_return co_await runner.convertToHEVC(input.toLocalFile(), output.toLocalFile(), bitrate, creationTime);
    }

    FFmpegRunner runner{[] { return std::optional<QString>(QStringLiteral(POMELARK_FAKE_FFMPEG)); }};
    bool cardGone = false;
};

} // namespace

TEST(FailureReasons, EachFailureNamesItsTrueCauseOnOneLine)
{
    TempFolder card, staging, pictures, other;
    const ScopedEnv exit("FAKE_FFMPEG_EXIT", "1");
    const ScopedEnv log("FAKE_FFMPEG_LOG", "[NULL @ 0x55d0c0ffee00] Invalid NAL unit size (1260 > 713).\n"
                                           "[NULL @ 0x55d0c0ffee00] missing picture in access unit\n"
                                           "/card/MVI.MOV: corrupt input packet in stream 0\n");
    MediaItems items{{QUuid::createUuid(), QUrl::fromLocalFile(makeJpeg(card.filePath(u"IMG_0001.JPG"_qs))),
                      MediaItem::Kind::photo}};
    for (const QString &name : {u"broken.mov"_qs, u"gone.mov"_qs, u"pulled.mov"_qs})
        items.append(
            {QUuid::createUuid(), QUrl::fromLocalFile(makeTextFile(card.filePath(name))), MediaItem::Kind::video});
    PulledCardVideos videos;
    ConvertService converter(videos);
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());
    SystemLog::Capture systemLog;
    // A full disk: the photo's write comes up short, then fails.
    rlimit fileSize{};
    getrlimit(RLIMIT_FSIZE, &fileSize);
    const rlimit full{64, fileSize.rlim_max};
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    awaitTask(coordinator.exportItems(items, {}, {}, [&] { return videos.cardGone; }));
    setrlimit(RLIMIT_FSIZE, &fileSize);
    std::signal(SIGXFSZ, oldSignal);

    QStringList reasons;
    for (const auto &failure : coordinator.phase().failed)
        reasons << failure.item.url.fileName() + u": "_qs + failure.reason;
    EXPECT_EQ(reasons, QStringList({u"IMG_0001.JPG: Conversion failed: File too large"_qs,
                                    u"broken.mov: ffmpeg exited with code 1: /card/MVI.MOV: corrupt input packet"
                                    u" in stream 0"_qs,
                                    u"gone.mov: Couldn't read the source file"_qs,
                                    u"pulled.mov: The SD card was removed"_qs}));
    // ffmpeg's whole log is kept for whoever looks into a failure, on one line.
    ASSERT_EQ(systemLog.lines().size(), 7);
    EXPECT_TRUE(systemLog.lines().first().endsWith(
        u"(1260 > 713). | [NULL @ 0x55d0c0ffee00] missing picture in access unit | /card/MVI.MOV: corrupt"
        u" input packet in stream 0"_qs));

    // Not a regular file: a named pipe reads as empty, but it is no photo either.
    ASSERT_EQ(::mkfifo(QFile::encodeName(other.filePath(u"IMG_0002.JPG"_qs)).constData(), 0644), 0);
    const ValidationOutcome checked =
        awaitTask(ValidationService().validate(QUrl::fromLocalFile(other.path()), [] { return true; }));
    ASSERT_EQ(checked.failed.size(), 1);
    EXPECT_EQ(checked.failed[0].message(), u"Couldn't read this file"_qs);
}
