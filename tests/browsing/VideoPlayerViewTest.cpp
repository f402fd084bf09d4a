#include "browsing/VideoPlayerView.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QMediaPlayer>
#include <QThread>

#include <gtest/gtest.h>

using namespace pomelark::test;
using namespace std::chrono_literals;

namespace pomelark {
namespace {

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

} // namespace
} // namespace pomelark
