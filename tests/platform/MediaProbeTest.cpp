#include "platform/MediaProbe.h"

#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

QStringList codecs(const MediaInfo &info)
{
    QStringList names;
    for (const MediaTrack &track : info.tracks)
        names << track.codec;
    return names;
}

} // namespace

TEST(MediaProbe, ListsTracksOfEveryFixtureFormat)
{
    TempFolder folder;
    struct Case {
        VideoFormat format;
        bool audio;
        QString name;
        QStringList codecs;
    };
    const QList<Case> cases = {
        {VideoFormat::movH264, true, QStringLiteral("a.mov"), {QStringLiteral("h264"), QStringLiteral("aac")}},
        {VideoFormat::movH264, false, QStringLiteral("b.mov"), {QStringLiteral("h264")}},
        {VideoFormat::mp4Hevc, true, QStringLiteral("c.mp4"), {QStringLiteral("hevc"), QStringLiteral("aac")}},
        {VideoFormat::aviMjpeg, true, QStringLiteral("d.avi"), {QStringLiteral("mjpeg"), QStringLiteral("pcm_s16le")}},
        {VideoFormat::aviMpeg4, false, QStringLiteral("e.avi"), {QStringLiteral("mpeg4")}},
    };
    for (const Case &c : cases) {
        const QString path = makeVideo(folder.filePath(c.name), {.format = c.format, .audio = c.audio});
        const auto info = MediaProbe::probe(path);
        ASSERT_TRUE(info) << c.name.toStdString();
        EXPECT_EQ(codecs(*info), c.codecs) << c.name.toStdString();
        EXPECT_NEAR(info->duration, 1.0, 0.15) << c.name.toStdString();
        EXPECT_EQ(info->tracks.first().frameSize, QSize(160, 120));
    }
}

TEST(MediaProbe, RefusesWhatIsNotAVideoOfItsExtension)
{
    TempFolder folder;
    EXPECT_FALSE(MediaProbe::probe(makeJpeg(folder.filePath(QStringLiteral("photo.mov")))));
    EXPECT_FALSE(MediaProbe::probe(makeTextFile(folder.filePath(QStringLiteral("text.mp4")))));
    EXPECT_FALSE(MediaProbe::probe(makeEmptyFile(folder.filePath(QStringLiteral("zero.avi")))));
    EXPECT_FALSE(MediaProbe::probe(folder.filePath(QStringLiteral("missing.mov"))));
    // A named pipe put where a video was: its open would wait for a writer.
    const QString pipe = makeFifo(folder.filePath(QStringLiteral("pipe.mov")));
    const PipeReleaser stuck(pipe);
    EXPECT_FALSE(MediaProbe::probe(pipe));
    EXPECT_EQ(stuck.released(), 0) << "the probe waited on a named pipe";
    // A real video under an extension we do not handle.
    EXPECT_FALSE(MediaProbe::probe(makeVideo(folder.filePath(QStringLiteral("v.mkv")))));
    // An MP4 cut before its index (the index is written at the end).
    const QString cut = makeVideo(folder.filePath(QStringLiteral("cut.mp4")), {.format = VideoFormat::mp4Hevc});
    truncateFileToShare(cut, 0.6);
    EXPECT_FALSE(MediaProbe::probe(cut));
}

TEST(MediaProbe, SurvivesGarbageAfterAValidHeader)
{
    TempFolder folder;
    // Random bytes behind a QuickTime-like and an AVI-like header.
    QByteArray garbage(256 * 1024, '\0');
    quint32 state = 12345;
    for (char &byte : garbage) {
        state = state * 1664525u + 1013904223u;
        byte = char(state >> 24);
    }
    const QByteArray mov = QByteArray::fromHex("0000001466747970717420200000000071742020") + garbage;
    const QByteArray avi = QByteArray("RIFF\xff\xff\x00\x00" "AVI LIST", 16) + garbage;
    EXPECT_FALSE(MediaProbe::probe(makeTextFile(folder.filePath(QStringLiteral("g.mov")), mov)));
    const auto aviInfo = MediaProbe::probe(makeTextFile(folder.filePath(QStringLiteral("g.avi")), avi));
    EXPECT_TRUE(!aviInfo || aviInfo->tracks.size() < 100);
}

TEST(MediaProbe, EveryCameraFormatWeMakeIsPlayableButAudioAloneIsNot)
{
    TempFolder folder;
    for (const VideoFormat format : {VideoFormat::movH264, VideoFormat::mp4Hevc, VideoFormat::aviMjpeg,
                                     VideoFormat::aviMpeg4}) {
        for (const bool audio : {true, false}) {
            const QString path = makeVideo(folder.filePath(QStringLiteral("v%1%2.%3")
                                                               .arg(int(format))
                                                               .arg(audio)
                                                               .arg(format == VideoFormat::movH264   ? QStringLiteral("mov")
                                                                    : format == VideoFormat::mp4Hevc ? QStringLiteral("mp4")
                                                                                                     : QStringLiteral("avi"))),
                                           {.format = format, .audio = audio});
            const auto info = MediaProbe::probeForPlayback(path);
            ASSERT_TRUE(info);
            EXPECT_TRUE(info->isPlayable()) << path.toStdString();
            // Without its pixel format a video cannot be judged and takes the copy.
            EXPECT_FALSE(MediaProbe::probe(path)->isPlayable()) << path.toStdString();
        }
    }
    // No picture decodes, so no format to judge by: the copy will tell.
    const auto damaged = MediaProbe::probeForPlayback(
        makeVideo(folder.filePath(QStringLiteral("damaged.mov")), {.pictureDamaged = true}));
    ASSERT_TRUE(damaged);
    EXPECT_TRUE(damaged->tracks[0].pixelFormat.isEmpty());
    EXPECT_FALSE(damaged->isPlayable());
    MediaInfo audioOnly;
    audioOnly.tracks.append({MediaTrack::Type::audio, QStringLiteral("aac"), {}, true});
    EXPECT_FALSE(audioOnly.isPlayable());
    MediaInfo unknownCodec;
    unknownCodec.tracks.append({MediaTrack::Type::video, QStringLiteral("none"), QSize(10, 10), false});
    EXPECT_FALSE(unknownCodec.isPlayable());
}
