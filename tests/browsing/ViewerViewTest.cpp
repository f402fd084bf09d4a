#include "browsing/FullsizeImageView.h"
#include "browsing/RoundOverlayButton.h"
#include "browsing/VideoPlayerPanel.h"
#include "browsing/ViewerCheck.h"
#include "browsing/ViewerView.h"
#include "look/HiddenShortcuts.h"
#include "look/TuppoTooltip.h"
#include "platform/SystemLog.h"

#include "support/SteppedTime.h"
#include "support/WidgetEvents.h"
#include "support/GalleryPictures.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QMediaPlayer>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark::test;
using namespace std::chrono_literals;

namespace pomelark {
namespace {

class ViewerViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::showActive(window, {900, 640}));
    }

    MediaItem photo(const QString &name, QSize size = {480, 320})
    {
        return {QUuid::createUuid(), QUrl::fromLocalFile(makeJpeg(folder.filePath(name), {.size = size})),
                MediaItem::Kind::photo};
    }

    MediaItem video(const QString &name)
    {
        return {QUuid::createUuid(), QUrl::fromLocalFile(makeVideo(folder.filePath(name))), MediaItem::Kind::video};
    }

    ViewerView *open(MediaItems media, int startIndex, bool selectMode = false, QSet<QUuid> excluded = {})
    {
        index = startIndex;
        ViewerView::Inputs inputs{
            std::move(media),
            {[this] { return index; }, [this](int value) { index = value; }},
            {[this] { return rotations; }, [this](QHash<QUuid, int> value) { rotations = std::move(value); }},
            std::move(excluded),
            {[this] { return selected; }, [this](QSet<QUuid> value) { selected = std::move(value); }},
            selectMode,
            [this] { ++closes; }};
        auto *viewer = new ViewerView(std::move(inputs), &window, time.ticker);
        viewer->show();
        time.step(400ms);
        return viewer;
    }

    void save(const QString &name)
    {
        EXPECT_TRUE(window.grab().save(test::galleryPath(name)));
    }

    TempFolder folder;
    SteppedTime time;
    QWidget window;
    int index = 0;
    QHash<QUuid, int> rotations;
    QSet<QUuid> selected;
    int closes = 0;
};

TEST_F(ViewerViewTest, StepsStopAtBothEndsAndTheTitleCountsFromOne)
{
    MediaItems media;
    for (int i = 0; i < 12; ++i)
        media.append(photo(QStringLiteral("IMG_%1.jpg").arg(i + 1)));
    ViewerView *viewer = open(media, 2);
    EXPECT_EQ(viewer->titleText(), QStringLiteral("IMG_3.jpg · 3 / 12"));

    viewer->goPrevious();
    viewer->goPrevious();
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(viewer->previousButton()->isEnabled());
    EXPECT_DOUBLE_EQ(viewer->previousButton()->drawnOpacity(), 0.35);
    QTest::keyClick(&window, Qt::Key_Left);
    QTest::mouseClick(viewer->previousButton(), Qt::LeftButton);
    EXPECT_EQ(index, 0);
    QTest::keyClick(&window, Qt::Key_Right);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(viewer->photoView()->url(), media[1].url);

    index = 11;
    viewer->refresh();
    EXPECT_FALSE(viewer->nextButton()->isEnabled());
    QTest::keyClick(&window, Qt::Key_Right);
    viewer->goNext();
    EXPECT_EQ(index, 11);
    EXPECT_EQ(closes, 0);
}

TEST_F(ViewerViewTest, WithOneItemBothStepsAreInert)
{
    ViewerView *viewer = open({photo(QStringLiteral("only.jpg"))}, 0);
    EXPECT_FALSE(viewer->previousButton()->isEnabled());
    EXPECT_FALSE(viewer->nextButton()->isEnabled());
    QTest::keyClick(&window, Qt::Key_Left);
    QTest::keyClick(&window, Qt::Key_Right);
    EXPECT_EQ(index, 0);

    // An index that no longer lies within the list is never read past the end.
    viewer->setMedia({});
    viewer->rotate(90);
    viewer->toggleSelection();
    viewer->goNext();
    EXPECT_TRUE(rotations.isEmpty());
    EXPECT_TRUE(selected.isEmpty());
    EXPECT_EQ(viewer->titleText(), QStringLiteral("only.jpg · 1 / 1"));
}

TEST_F(ViewerViewTest, FourTurnsRightComeBackToZeroAndKeepTheEntry)
{
    const MediaItem item = photo(QStringLiteral("turn.jpg"));
    ViewerView *viewer = open({item}, 0);
    EXPECT_FALSE(rotations.contains(item.id));
    QList<int> seen;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(viewer->rotateButton(), Qt::LeftButton);
        seen.append(rotations.value(item.id, -1));
        EXPECT_EQ(viewer->photoView()->rotationDegrees(), seen.last());
    }
    EXPECT_EQ(seen, QList<int>({90, 180, 270, 0}));
    EXPECT_TRUE(rotations.contains(item.id));

    rotations[item.id] = 350;
    viewer->rotate(-720 + 20);
    EXPECT_EQ(rotations[item.id], 10);
}

TEST_F(ViewerViewTest, SelectionIsOfferedOnlyInSelectMode)
{
    const MediaItem first = photo(QStringLiteral("a.jpg"));
    const MediaItem second = photo(QStringLiteral("b.jpg"));
    ViewerView *viewer = open({first, second}, 0);
    EXPECT_TRUE(viewer->check()->isHidden());
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_TRUE(selected.isEmpty());

    viewer->setSelectMode(true);
    EXPECT_FALSE(viewer->check()->isHidden());
    EXPECT_FALSE(viewer->check()->isSelected());
    QTest::mouseClick(viewer->check(), Qt::LeftButton);
    EXPECT_EQ(selected, QSet<QUuid>({first.id}));
    EXPECT_TRUE(viewer->check()->isSelected());
    QTest::keyClick(&window, Qt::Key_Right);
    EXPECT_FALSE(viewer->check()->isSelected());
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(selected, QSet<QUuid>({first.id, second.id}));
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(selected, QSet<QUuid>({first.id}));
}

TEST_F(ViewerViewTest, EscapeTheCloseButtonAndTheBackdropEachCloseOnce)
{
    ViewerView *viewer = open({photo(QStringLiteral("c.jpg"), {200, 400})}, 0);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(closes, 1);
    QTest::mouseClick(viewer->closeButton(), Qt::LeftButton);
    EXPECT_EQ(closes, 2);
    QTest::mouseClick(viewer, Qt::LeftButton, {}, QPoint(viewer->width() / 2, 12));
    EXPECT_EQ(closes, 3);
    // A click on the photo itself is the photo's.
    FullsizeImageView *photoView = viewer->photoView();
    ASSERT_TRUE(spinUntil([&] { return !photoView->isLoading(); }));
    QTest::mouseClick(photoView, Qt::LeftButton, {}, photoView->panelRect().center().toPoint());
    EXPECT_EQ(closes, 3);
    // So are clicks on the header's title and on a dimmed step button.
    QWidget *title = viewer->childAt(viewer->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly)
                                         ->geometry()
                                         .center());
    ASSERT_TRUE(title);
    QTest::mouseClick(title, Qt::LeftButton);
    ASSERT_FALSE(viewer->previousButton()->isEnabled());
    QTest::mouseClick(viewer->previousButton(), Qt::LeftButton);
    EXPECT_EQ(closes, 3);
    // The room beside the fitted photo is backdrop.
    const QRectF panel = photoView->panelRect();
    ASSERT_GT(panel.left(), 20);
    QTest::mouseClick(photoView, Qt::LeftButton, {}, QPoint(int(panel.left()) / 2, photoView->height() / 2));
    EXPECT_EQ(closes, 4);
}

TEST_F(ViewerViewTest, AVideoGetsThePanelNoRotationAndSpaceOnlyOutsideSelectMode)
{
    const MediaItem still = photo(QStringLiteral("d.jpg"));
    const MediaItem clip = video(QStringLiteral("clip.mov"));
    ViewerView *viewer = open({still, clip}, 1, false, {clip.id});
    ASSERT_TRUE(viewer->videoPanel());
    EXPECT_FALSE(viewer->photoView());
    EXPECT_TRUE(viewer->rotateButton()->parentWidget()->isHidden());
    EXPECT_TRUE(viewer->showsExcludedBadge());
    EXPECT_EQ(viewer->titleText(), QStringLiteral("clip.mov · 2 / 2"));
    // Space belongs to the video panel outside select mode, to the selection in it.
    EXPECT_FALSE(viewer->shortcuts()->isEnabled(QStringLiteral("ToggleSelect")));
    viewer->setSelectMode(true);
    EXPECT_TRUE(viewer->shortcuts()->isEnabled(QStringLiteral("ToggleSelect")));
    EXPECT_FALSE(viewer->videoPanel()->shortcuts()->isEnabled(QStringLiteral("PlayPause")));
    viewer->setSelectMode(false);
    ASSERT_TRUE(spinUntil([&] { return viewer->videoPanel()->phase() == VideoPlayerPanel::Phase::playing; }, 60s));
    EXPECT_TRUE(viewer->videoPanel()->shortcuts()->isEnabled(QStringLiteral("PlayPause")));
    time.step(300ms); // the bar's fade
    save(QStringLiteral("viewer-video.png"));

    viewer->goPrevious();
    EXPECT_FALSE(viewer->videoPanel());
    ASSERT_TRUE(viewer->photoView());
    EXPECT_FALSE(viewer->rotateButton()->parentWidget()->isHidden());
    EXPECT_FALSE(viewer->showsExcludedBadge());

    // Without the rotate row Next moves down, away from the pointer resting on it, and its tip goes with it.
    RoundOverlayButton *next = viewer->nextButton();
    QTest::mouseMove(window.windowHandle(), next->mapTo(&window, next->rect().center()));
    time.step(320ms);
    ASSERT_TRUE(next->tooltip()->bubble());
    const int wasAt = next->y();
    QTest::keyClick(&window, Qt::Key_Right);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    ASSERT_GT(next->y(), wasAt + next->height() / 2);
    EXPECT_FALSE(next->tooltip()->showTip());
    EXPECT_FALSE(next->isHover());
}

TEST_F(ViewerViewTest, AVideoWithoutPictureFailsRatherThanPlayItsSoundAndClosingStopsPlayback)
{
    // Sound alone in a video's container, as a voice memo, reaches the player
    // through its copy (a damaged picture would not: its copy fails first).
    const QString path = makeVideo(folder.filePath(QStringLiteral("nopicture.mov")),
                                   {.seconds = 3.0, .picture = false});
    const MediaItem soundOnly{QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::video};
    SystemLog::Capture log;
    ViewerView *viewer = open({soundOnly, video(QStringLiteral("clip.mov"))}, 0);
    VideoPlayerPanel *panel = viewer->videoPanel();
    // Its sound plays, its picture never comes: the panel says so and the sound
    // stops, rather than "Preparing..." over a sound that space cannot pause.
    ASSERT_TRUE(spinUntil([&] { return panel->phase() != VideoPlayerPanel::Phase::preparing
                                       && panel->phase() != VideoPlayerPanel::Phase::idle; }, 60s));
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::failed);
    EXPECT_EQ(panel->failureMessage(), QStringLiteral("This video can't play right now"));
    EXPECT_FALSE(panel->player());
    EXPECT_EQ(log.lines().filter(QStringLiteral("[VideoPlayerPanel] no picture for nopicture.mov: ")).size(), 1);
    // Here the player ends at once without a sound device; with one, the sound
    // sets the clock and runs on, and this far into it without a frame it is
    // held at the start while the picture is awaited.
    PlayerTimeline timeline;
    timeline.handleTimeUpdate(PlayerTimeline::pictureGrace - 0.2);
    EXPECT_FALSE(timeline.pictureOverdue());
    timeline.handleTimeUpdate(PlayerTimeline::pictureGrace);
    EXPECT_TRUE(timeline.pictureOverdue());
    timeline.startedPlaying();
    EXPECT_FALSE(timeline.pictureOverdue());

    // Closing stops the sound as the viewer starts to go, not once it has faded.
    viewer->goNext();
    ASSERT_TRUE(spinUntil([&] { return panel->phase() == VideoPlayerPanel::Phase::playing; }, 60s));
    QPointer<QMediaPlayer> player = panel->player();
    viewer->leave();
    EXPECT_TRUE(!player || player->playbackState() == QMediaPlayer::StoppedState);
}

TEST_F(ViewerViewTest, GalleryPhotoInSelectMode)
{
    const MediaItem item = photo(QStringLiteral("IMG_0042.jpg"), {600, 400});
    selected = {item.id};
    ViewerView *viewer = open({photo(QStringLiteral("first.jpg")), item, photo(QStringLiteral("last.jpg"))}, 1, true,
                              {item.id});
    ASSERT_TRUE(spinUntil([&] { return !viewer->photoView()->isLoading(); }));
    save(QStringLiteral("viewer-photo.png"));
}

} // namespace
} // namespace pomelark
