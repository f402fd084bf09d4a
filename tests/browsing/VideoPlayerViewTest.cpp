#include "browsing/VideoPlayerView.h"

#include "services/PlaybackService.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QMediaPlayer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace pomelark::test;
using namespace std::chrono_literals;

namespace pomelark {
namespace {

/// ffmpeg's own decode of the clip's first picture, through 8-bit 4:2:0 if asked.
QImage ffmpegPicture(const QString &clip, QSize size, bool as420)
{
    QStringList arguments{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), clip,
                          QStringLiteral("-frames:v"), QStringLiteral("1")};
    if (as420)
        arguments << QStringLiteral("-vf") << QStringLiteral("format=yuv420p");
    arguments << QStringLiteral("-f") << QStringLiteral("rawvideo") << QStringLiteral("-pix_fmt")
              << QStringLiteral("rgb24") << QStringLiteral("-");
    QProcess ffmpeg;
    ffmpeg.start(ffmpegProgram(), arguments);
    ffmpeg.waitForFinished(60000);
    const QByteArray rgb = ffmpeg.readAllStandardOutput();
    if (rgb.size() != size.width() * size.height() * 3)
        return {};
    return QImage(reinterpret_cast<const uchar *>(rgb.constData()), size.width(), size.height(), size.width() * 3,
                  QImage::Format_RGB888)
        .copy();
}

/// Peak signal-to-noise ratio over the red, green and blue of two pictures, in
/// dB; 0 when they differ in size or one is missing.
double psnr(const QImage &shown, const QImage &expected)
{
    if (shown.isNull() || shown.size() != expected.size())
        return 0;
    const QImage a = shown.convertToFormat(QImage::Format_RGB888);
    const QImage b = expected.convertToFormat(QImage::Format_RGB888);
    double squares = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *lineA = a.constScanLine(y);
        const uchar *lineB = b.constScanLine(y);
        for (int x = 0; x < a.width() * 3; ++x)
            squares += (lineA[x] - lineB[x]) * (lineA[x] - lineB[x]);
    }
    const double meanSquare = squares / (double(a.width()) * a.height() * 3);
    return meanSquare == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / meanSquare);
}

TEST(VideoPlayerViewTest, ReportsTheFirstFrameLaterOnTheMainThreadAndAgainForANewPlayer)
{
    TempFolder folder;
    const QUrl clip = QUrl::fromLocalFile(makeVideo(folder.filePath(QStringLiteral("clip.mov"))));
    QMediaPlayer first;
    first.setSource(clip);
    int ready = 0;
    bool onMainThread = true;
    VideoPlayerView view({&first, [&] {
                              ++ready;
                              onMainThread = onMainThread && QThread::currentThread() == view.thread();
                          }});
    view.resize(320, 100);
    view.show();
    first.play();
    ASSERT_TRUE(spinUntil([&] { return ready > 0; }, 20s));
    EXPECT_TRUE(onMainThread);
    EXPECT_TRUE(view.isReadyForDisplay());
    // Fitted at the video's 4 : 3 inside a wide view.
    EXPECT_EQ(view.pictureRect(), QRectF(93.333333333333329, 0, 133.33333333333334, 100));

    // The same player again changes nothing; a new one takes the sink over.
    view.setPlayer(&first);
    EXPECT_TRUE(view.isReadyForDisplay());
    QMediaPlayer second;
    second.setSource(clip);
    view.setPlayer(&second);
    EXPECT_EQ(first.videoSink(), nullptr);
    EXPECT_FALSE(view.isReadyForDisplay());
    second.play();
    ASSERT_TRUE(spinUntil([&] { return ready > 1; }, 20s));
    EXPECT_FALSE(view.currentImage().isNull());
}

// Each camera format as the viewer plays it (the playable URL, then the player
// on this view), against ffmpeg's decode of the same file. Qt's own conversion
// crushed full range, mixed up 4:2:2 and 4:4:4 colours, showed no 10-bit
// picture and crashed on 4:2:2 H.264: formats whose frames Qt hands over whole
// now play as they are, converted here; the rest play from the copy, which is
// 8-bit 4:2:0 by design and is held to ffmpeg's decode at 4:2:0 (the bars'
// sharp colour edges alone cost a 4:4:4 source 33.5 dB there).
TEST(VideoPlayerViewTest, ShowsEveryCameraFormatAsFfmpegDecodesIt)
{
    TempFolder folder;
    PlaybackService playback(folder.filePath(QStringLiteral("copies")));
    const struct {
        const char *name;
        VideoFormat format;
        const char *pixels;
        bool copied;
        int rotation = 0;
        QSize stored{320, 240};
        const char *pixelAspect = "";
        QSize shown; ///< when not as ffmpeg decodes it: its pixels' true shape
    } clips[] = {
        {"h264.mov", VideoFormat::movH264, "yuv420p", false},
        {"hevc.mp4", VideoFormat::mp4Hevc, "yuv420p", false},
        {"h264-full-range.mov", VideoFormat::movH264, "yuvj420p", false},
        {"mjpeg-420.avi", VideoFormat::aviMjpeg, "yuvj420p", false},
        {"h264-422.mov", VideoFormat::movH264, "yuv422p", false},
        {"hevc-main10.mp4", VideoFormat::mp4Hevc, "yuv420p10le", false},
        {"h264-10bit.mov", VideoFormat::movH264, "yuv420p10le", false},
        {"mjpeg-422.avi", VideoFormat::aviMjpeg, "yuvj422p", true},
        {"mjpeg-422.mov", VideoFormat::movMjpeg, "yuvj422p", true},
        {"mjpeg-444.avi", VideoFormat::aviMjpeg, "yuvj444p", true},
        {"h264-444.mov", VideoFormat::movH264, "yuv444p", true},
        {"hevc-422-10bit.mp4", VideoFormat::mp4Hevc, "yuv422p10le", true},
        {"h264-422-10bit.mov", VideoFormat::movH264, "yuv422p10le", true},
        {"hevc-444-10bit.mp4", VideoFormat::mp4Hevc, "yuv444p10le", true},
        // Stored sideways or upside down with a display matrix, as phones do;
        // the copy comes out upright and must not be turned again.
        {"h264-turned-90.mov", VideoFormat::movH264, "yuv420p", false, 90},
        {"h264-turned-180.mov", VideoFormat::movH264, "yuv420p", false, 180},
        {"h264-turned-270.mov", VideoFormat::movH264, "yuv420p", false, 270},
        {"hevc-main10-turned-90.mp4", VideoFormat::mp4Hevc, "yuv420p10le", false, 90},
        {"hevc-main10-turned-180.mp4", VideoFormat::mp4Hevc, "yuv420p10le", false, 180},
        {"hevc-main10-turned-270.mp4", VideoFormat::mp4Hevc, "yuv420p10le", false, 270},
        {"h264-444-turned-90.mov", VideoFormat::movH264, "yuv444p", true, 90},
        // 720 × 480 in pixels 8 : 9 wide is 4 : 3 on screen, the copy included.
        {"mjpeg-8x9-pixels.avi", VideoFormat::aviMjpeg, "yuvj420p", false, 0, {720, 480}, "8/9", {640, 480}},
        {"mjpeg-422-8x9-pixels.avi", VideoFormat::aviMjpeg, "yuvj422p", true, 0, {720, 480}, "8/9", {640, 480}},
    };
    for (const auto &clip : clips) {
        SCOPED_TRACE(clip.name);
        const QUrl source = QUrl::fromLocalFile(makeVideo(
            folder.filePath(QLatin1String(clip.name)),
            {.format = clip.format, .audio = false, .size = clip.stored, .pixelFormat = QLatin1String(clip.pixels),
             .colourBars = true, .rotation = clip.rotation, .pixelAspect = QLatin1String(clip.pixelAspect)}));
        const QUrl playable = awaitTask(playback.playableURL(source));
        EXPECT_EQ(playable != source, clip.copied);
        // The player ignores the display matrix and the pixels' shape; the panel reads them as this does.
        const std::optional<MediaTrack> track = awaitTask(playback.pictureTrack(playable));
        ASSERT_TRUE(track);
        QMediaPlayer player;
        player.setSource(playable);
        bool ready = false;
        VideoPlayerView view({&player, [&] { ready = true; }, track->shape});
        // ffmpeg's decode stands the picture up but leaves its pixels' shape to
        // whoever shows it.
        const QSize decoded = clip.rotation % 180 ? clip.stored.transposed() : clip.stored;
        const QSize size = clip.shown.isEmpty() ? decoded : clip.shown;
        view.resize(size);
        view.show();
        player.play();
        ASSERT_TRUE(spinUntil([&] { return ready; }, 20s));
        const QImage expected = ffmpegPicture(source.toLocalFile(), decoded, clip.copied)
                                    .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // ffmpeg turns the stored planes before it converts them, so it
        // interpolates 10-bit chroma along the other axis (33 dB from its own
        // picture turned after converting), and another scaler than ours gives
        // the pixels their shape.
        const double least = clip.rotation || *clip.pixelAspect ? 30.0 : 35.0;
        EXPECT_GE(psnr(view.currentImage(), expected), least);
        // Painted as large as it is, and shrunk into a smaller view.
        for (const QSize shown : {size, size / 2}) {
            view.resize(shown);
            const QImage painted = view.grab().toImage();
            EXPECT_GE(psnr(painted, expected.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)), least)
                << shown.width() << " wide";
        }
    }
}

// Qt 6.4 gives its own 4:2:2 and 10-bit frames rows too short for their label.
// Such a frame is refused rather than read past its planes (libswscale would
// read on unchecked); a whole one converts.
TEST(VideoFrameConverter, ReadsAFrameOnlyAsFarAsItsPlanesHold)
{
    const struct {
        QVideoFrameFormat::PixelFormat label;
        bool whole;
    } frames[] = {
        {QVideoFrameFormat::Format_YUV420P, true}, {QVideoFrameFormat::Format_NV12, true},
        {QVideoFrameFormat::Format_P010, true},    {QVideoFrameFormat::Format_UYVY, true},
        {QVideoFrameFormat::Format_YUV422P, false}, {QVideoFrameFormat::Format_YUV420P10, false},
    };
    VideoFrameConverter converter;
    for (const auto &[label, whole] : frames) {
        QVideoFrame frame(QVideoFrameFormat(QSize(64, 48), label));
        ASSERT_TRUE(frame.map(QVideoFrame::WriteOnly));
        for (int plane = 0; plane < frame.planeCount(); ++plane)
            std::memset(frame.bits(plane), 0x80, frame.mappedBytes(plane));
        frame.unmap();
        const QImage picture = converter.convert(frame, QSize(32, 24));
        EXPECT_EQ(picture.size(), whole ? QSize(32, 24) : QSize(0, 0)) << label;
    }
}

} // namespace
} // namespace pomelark
