#include "browsing/MediaGridView.h"

#include "GridFixtures.h"
#include "browsing/GridTile.h"
#include "browsing/PhotoThumbnail.h"
#include "support/AsyncTest.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace pomelark {
namespace {

using test::FakeTileSources;
using test::makeItems;

/// A grid over local state, the way the main view would hand it its values.
struct GridHarness {
    FakeTileSources fakes;
    MediaItems photos;
    MediaItems videos;
    QSet<QUuid> selected;
    bool selectMode = false;
    QStringList calls;
    std::unique_ptr<MediaGridView> grid;

    GridHarness(int photoCount, int videoCount, QSize size = {800, 600})
        : photos(makeItems(MediaItem::Kind::photo, photoCount)), videos(makeItems(MediaItem::Kind::video, videoCount))
    {
        MediaGridView::Inputs inputs;
        inputs.photos = photos;
        inputs.videos = videos;
        inputs.selectedIDs = {[this] { return selected; },
                              [this](QSet<QUuid> next) {
                                  calls << QStringLiteral("select");
                                  selected = std::move(next);
                              }};
        inputs.onEnterSelect = [this] {
            calls << QStringLiteral("enter");
            selectMode = true;
            grid->setSelectMode(true);
        };
        inputs.onOpen = [this](int index) { calls << QStringLiteral("open %1").arg(index); };
        grid = std::make_unique<MediaGridView>(std::move(inputs), nullptr, fakes.sources());
        grid->resize(size);
        grid->show();
        QApplication::processEvents();
    }

    void enterSelectMode()
    {
        selectMode = true;
        grid->setSelectMode(true);
    }
    QWidget *viewport() const { return grid->viewport(); }
    /// The centre of the item's tile in viewport coordinates.
    QPointF centre(const MediaItem &item) const
    {
        const QRectF frame = grid->tileFrame(item.id);
        return GridLayout::toViewport(frame.center(), grid->scrollOffset());
    }
    void send(QEvent::Type type, QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {})
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, viewport()->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(viewport(), &event);
    }
    void click(QPointF at, Qt::KeyboardModifiers modifiers = {})
    {
        send(QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
        send(QEvent::MouseButtonRelease, at, Qt::NoButton, modifiers);
    }
    void drag(QPointF from, QPointF to)
    {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
};

TEST(MediaGridViewTest, ClicksOpenTheViewerAndCtrlClicksToggle)
{
    GridHarness h(5, 3);
    // Videos continue the photos' indices, as in the viewer's list.
    h.click(h.centre(h.videos[2]));
    EXPECT_EQ(h.calls, QStringList{QStringLiteral("open 7")});

    // Ctrl-click outside select mode: enter first, then toggle.
    h.calls.clear();
    h.click(h.centre(h.photos[1]), Qt::ControlModifier);
    EXPECT_EQ(h.calls, (QStringList{QStringLiteral("enter"), QStringLiteral("select")}));
    EXPECT_EQ(h.selected, QSet<QUuid>{h.photos[1].id});
    EXPECT_TRUE(h.grid->tile(h.photos[1].id)->flags().isSelected);

    // In select mode: Ctrl-click deselects without entering again; plain,
    // Shift- and Alt-clicks open and leave the selection alone.
    h.calls.clear();
    h.click(h.centre(h.photos[1]), Qt::ControlModifier);
    h.click(h.centre(h.photos[3]));
    h.click(h.centre(h.photos[4]), Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(h.calls, (QStringList{QStringLiteral("select"), QStringLiteral("open 3"), QStringLiteral("open 4")}));
    EXPECT_TRUE(h.selected.isEmpty());

    // A click in a gap does nothing, nor does a press on one tile released on another.
    h.calls.clear();
    h.click({10, 10});
    h.grid->setSelectMode(false); // in select mode it would be a marquee
    h.send(QEvent::MouseButtonPress, h.centre(h.photos[0]), Qt::LeftButton);
    h.send(QEvent::MouseMove, h.centre(h.photos[2]), Qt::LeftButton);
    h.send(QEvent::MouseButtonRelease, h.centre(h.photos[2]), Qt::NoButton);
    EXPECT_TRUE(h.calls.isEmpty());
}

TEST(MediaGridViewTest, TheCheckTogglesWithoutOpening)
{
    GridHarness h(3, 0);
    h.enterSelectMode();
    const QRectF frame = h.grid->tileFrame(h.photos[0].id);
    const QPointF check = GridLayout::toViewport(frame.topLeft() + GridTile::checkFrame().center(), 0);
    h.send(QEvent::MouseMove, check, Qt::NoButton); // the check shows under the pointer
    h.click(check);
    EXPECT_EQ(h.calls, QStringList{QStringLiteral("select")});
    EXPECT_EQ(h.selected, QSet<QUuid>{h.photos[0].id});
}

TEST(MediaGridViewTest, AMarqueeDragSelectsOrDeselectsWhatItCoversWhenItEnds)
{
    GridHarness h(12, 0); // 5 columns at 800 px
    const QPointF padding(8, 8);
    // Shorter than 4 px: no marquee, nothing changes.
    h.enterSelectMode();
    h.drag(padding, padding + QPointF(2, 2));
    EXPECT_FALSE(h.grid->marquee().isActive());
    EXPECT_TRUE(h.selected.isEmpty());

    // From the padding across the first row.
    h.send(QEvent::MouseButtonPress, padding, Qt::LeftButton);
    h.send(QEvent::MouseMove, {780, 60}, Qt::LeftButton);
    ASSERT_TRUE(h.grid->marquee().isActive());
    EXPECT_EQ(h.grid->marquee().hitIDs().size(), 5);
    EXPECT_TRUE(h.selected.isEmpty()) << "the selection changes only at the end";
    EXPECT_EQ(MediaGridView::marqueeCountText(false, 5), QStringLiteral("Select 5"));
    h.send(QEvent::MouseButtonRelease, {780, 60}, Qt::NoButton);
    EXPECT_EQ(h.selected.size(), 5);
    EXPECT_FALSE(h.grid->marquee().isActive());
    EXPECT_TRUE(h.calls.filter(QStringLiteral("open")).isEmpty()) << "a drag is not a click";

    // From a selected tile down over two rows: removes the selected ones only.
    h.drag(h.centre(h.photos[0]), h.centre(h.photos[6]));
    EXPECT_EQ(h.selected, (QSet<QUuid>{h.photos[2].id, h.photos[3].id, h.photos[4].id}));

    // Leaving select mode mid-drag drops the marquee and changes nothing.
    h.send(QEvent::MouseButtonPress, padding, Qt::LeftButton);
    h.send(QEvent::MouseMove, {780, 400}, Qt::LeftButton);
    ASSERT_TRUE(h.grid->marquee().isActive());
    h.grid->setSelectMode(false);
    h.send(QEvent::MouseButtonRelease, {780, 400}, Qt::NoButton);
    EXPECT_FALSE(h.grid->marquee().isActive());
    EXPECT_FALSE(h.grid->isAutoScrolling());
    EXPECT_EQ(h.selected.size(), 3);
}

TEST(MediaGridViewTest, OutsideSelectModeADragDrawsNoMarquee)
{
    GridHarness h(0, 0);
    h.drag({10, 10}, {400, 400});
    EXPECT_FALSE(h.grid->marquee().isActive());
    h.enterSelectMode(); // an empty grid still takes a marquee anywhere
    h.send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    h.send(QEvent::MouseMove, {400, 580}, Qt::LeftButton);
    EXPECT_TRUE(h.grid->marquee().isActive());
    h.send(QEvent::MouseButtonRelease, {400, 580}, Qt::NoButton);
    EXPECT_TRUE(h.selected.isEmpty());
    EXPECT_TRUE(h.calls.isEmpty());
}

TEST(MediaGridViewTest, OnlyTilesNearTheVisibleRowsExist)
{
    GridHarness h(9'000, 1'000);
    // 5 columns, about 5 rows visible, one more made below.
    EXPECT_LE(h.grid->tileCount(), 40);
    EXPECT_NE(h.grid->tile(h.photos[0].id), nullptr);
    EXPECT_EQ(h.grid->tile(h.videos[999].id), nullptr);

    h.grid->verticalScrollBar()->setValue(h.grid->verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_LE(h.grid->tileCount(), 40);
    EXPECT_NE(h.grid->tile(h.videos[999].id), nullptr);
    EXPECT_EQ(h.grid->tile(h.photos[0].id), nullptr);
    // Frames are known for every item, built or not, so a marquee reaches them.
    EXPECT_EQ(h.grid->tileFrame(h.photos[0].id), QRectF(h.grid->layout().tileFrame(0)));
}

TEST(MediaGridViewTest, AFastScrollLeavesNoLoadsBehindForTheTilesPassedOver)
{
    FakeTileSources fakes;
    const MediaItems photos = makeItems(MediaItem::Kind::photo, 3'000);
    for (const MediaItem &photo : photos)
        fakes.hold(photo.url);
    MediaGridView grid({photos, {}, {}, {}, Binding<QSet<QUuid>>::local()}, nullptr, fakes.sources());
    grid.resize(800, 600);
    grid.show();
    QApplication::processEvents();
    // Only tiles on screen ask, and only a few at a time.
    EXPECT_EQ(fakes.thumbnailRequests.size(), TileLoadGate::maxLoading);
    const qsizetype asked = fakes.thumbnailRequests.size();

    QScrollBar *bar = grid.verticalScrollBar();
    for (int value = 0; value < bar->maximum(); value += 300) {
        bar->setValue(value);
        QApplication::processEvents();
    }
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    EXPECT_EQ(fakes.thumbnailRequests.size(), asked) << "no room while the first loads run";

    // The first loads end: the tiles now on screen load next, and nothing of the way down.
    const MediaItem &last = photos.last();
    ASSERT_TRUE(test::spinUntil([&] {
        for (const QUrl &url : std::as_const(fakes.thumbnailRequests))
            fakes.release(url);
        return fakes.thumbnailRequests.contains(last.url);
    }));
    for (qsizetype n = asked; n < fakes.thumbnailRequests.size(); ++n) {
        const QUuid id = photos[int(fakes.thumbnailRequests[n].fileName().mid(4, 4).toInt())].id;
        EXPECT_NE(grid.tile(id), nullptr) << "a load for a tile scrolled past: " << n;
    }
    fakes.release(last.url);
    ASSERT_TRUE(test::spinUntil([&] { return static_cast<PhotoThumbnail *>(grid.tile(last.id))->image().has_value(); }));
    for (const MediaItem &photo : photos)
        fakes.release(photo.url);
}

TEST(MediaGridViewTest, TilesLoadFromTheEdgeTheGridScrollsTowardsAndLoadsLeftBehindGiveWay)
{
    FakeTileSources fakes;
    const MediaItems photos = makeItems(MediaItem::Kind::photo, 300);
    for (const MediaItem &photo : photos)
        fakes.hold(photo.url);
    MediaGridView grid({photos, {}, {}, {}, Binding<QSet<QUuid>>::local()}, nullptr, fakes.sources());
    grid.resize(800, 600); // 5 columns, rows of 128 px
    grid.show();
    QApplication::processEvents();
    const auto indices = [&](const QList<QUrl> &urls, qsizetype from) {
        QList<int> found;
        for (qsizetype n = from; n < urls.size(); ++n)
            found << urls[n].fileName().mid(4, 4).toInt();
        return found;
    };
    const auto release = [&](const QList<int> &indices) {
        for (const int index : indices)
            fakes.release(photos[index].url);
    };
    // Before any scroll: from the top, in reading order.
    EXPECT_EQ(indices(fakes.thumbnailRequests, 0), (QList<int>{0, 1, 2, 3}));

    // Three rows down, rows 2 to 7 show: the first loads, queued for row 0,
    // give way undecoded; the grid moved, so the row it moves into goes first.
    grid.verticalScrollBar()->setValue(3 * 128);
    release({0, 1, 2, 3});
    ASSERT_TRUE(test::spinUntil([&] { return fakes.thumbnailRequests.size() == 8; }));
    EXPECT_EQ(indices(fakes.withdrawn(), 0), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(indices(fakes.thumbnailRequests, 4), (QList<int>{40, 41, 42, 43}));

    // At rest, what shows goes first, from the bottom row.
    release({40, 41, 42, 43});
    ASSERT_TRUE(test::spinUntil([&] { return fakes.thumbnailRequests.size() == 12; }));
    EXPECT_EQ(indices(fakes.thumbnailRequests, 8), (QList<int>{35, 36, 37, 38}));

    // Back up to rows 1 to 6: row 7's loads give way, the row above goes first.
    grid.verticalScrollBar()->setValue(3 * 128 - 200);
    release({35, 36, 37, 38});
    ASSERT_TRUE(test::spinUntil([&] { return fakes.thumbnailRequests.size() >= 16; }));
    EXPECT_EQ(indices(fakes.withdrawn(), 4), (QList<int>{35, 36, 37, 38}));
    EXPECT_EQ(indices(fakes.thumbnailRequests, 12).mid(0, 4), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(indices(fakes.decoded(), 0).mid(0, 4), (QList<int>{40, 41, 42, 43}));
    for (const MediaItem &photo : photos)
        fakes.release(photo.url);
}

TEST(MediaGridViewTest, EdgeScrollingFollowsThePointerAndGrowsTheMarquee)
{
    GridHarness h(200, 0);
    h.enterSelectMode();
    qreal pointerY = 300;
    h.grid->setPointerSource([&] { return QPointF(400, pointerY); });
    h.grid->marqueeChanged({-10, -10}, {700, 200});
    ASSERT_TRUE(h.grid->isAutoScrolling());
    const qsizetype before = h.grid->marquee().hitIDs().size();

    h.grid->autoScrollStep(); // pointer in the middle: no scroll
    EXPECT_EQ(h.grid->scrollOffset(), 0);

    pointerY = h.grid->viewport()->height() - 35;
    h.grid->autoScrollStep();
    EXPECT_EQ(h.grid->scrollOffset(), 7);
    pointerY = h.grid->viewport()->height() + 100;
    for (int tick = 0; tick < 20; ++tick)
        h.grid->autoScrollStep();
    // 7 + 20 × 14, and the marquee followed all but the last tick's scroll.
    EXPECT_EQ(h.grid->scrollOffset(), 287);
    EXPECT_EQ(h.grid->marquee().marquee()->current.y(), 200 + 273);
    EXPECT_GT(h.grid->marquee().hitIDs().size(), before);

    // The pointer moves after a scroll: its position counts once, not again at the next tick.
    h.grid->marqueeChanged({-10, -10}, {700, 500});
    pointerY = 300;
    h.grid->autoScrollStep();
    EXPECT_EQ(h.grid->marquee().marquee()->current.y(), 500);

    // Up past the top: stops at 0.
    pointerY = -50;
    for (int tick = 0; tick < 40; ++tick)
        h.grid->autoScrollStep();
    EXPECT_EQ(h.grid->scrollOffset(), 0);

    h.grid->marqueeEnded();
    EXPECT_FALSE(h.grid->isAutoScrolling());
    EXPECT_FALSE(h.selected.isEmpty());
}

TEST(MediaGridViewTest, SettersReachTheTilesOnScreen)
{
    GridHarness h(3, 1);
    const QUuid photo = h.photos[0].id;
    h.grid->setExcludedIDs({photo, h.videos[0].id});
    EXPECT_TRUE(h.grid->tile(photo)->flags().isExcluded);
    EXPECT_TRUE(h.grid->tile(h.videos[0].id)->flags().isExcluded);
    EXPECT_DOUBLE_EQ(h.grid->tile(photo)->targetOpacity(), 0.7);

    h.grid->setRotations({{photo, 90}});
    EXPECT_EQ(static_cast<PhotoThumbnail *>(h.grid->tile(photo))->rotationDegrees(), 90);
    EXPECT_EQ(static_cast<PhotoThumbnail *>(h.grid->tile(h.photos[1].id))->rotationDegrees(), 0);

    // The main view changed the selection and says so.
    h.selected = {h.photos[2].id};
    h.grid->refresh();
    EXPECT_TRUE(h.grid->tile(h.photos[2].id)->flags().isSelected);

    // A new session: tiles of items no longer there are gone.
    const MediaItems fresh = makeItems(MediaItem::Kind::photo, 2, QStringLiteral("DSC_"));
    h.grid->setMedia(fresh, {});
    EXPECT_EQ(h.grid->tile(photo), nullptr);
    EXPECT_NE(h.grid->tile(fresh[1].id), nullptr);
    EXPECT_EQ(h.grid->items().size(), 2);
}

TEST(MediaGridViewTest, ALateThumbnailForAGoneGridIsDropped)
{
    FakeTileSources fakes;
    const MediaItems photos = makeItems(MediaItem::Kind::photo, 2);
    fakes.hold(photos[0].url);
    auto grid = std::make_unique<MediaGridView>(MediaGridView::Inputs{photos, {}, {}, {}, Binding<QSet<QUuid>>::local()},
                                                nullptr, fakes.sources());
    grid->resize(400, 400);
    grid->show();
    QApplication::processEvents();
    ASSERT_EQ(fakes.thumbnailRequests.size(), 2);
    grid.reset();
    QApplication::processEvents(); // the tiles are deleted later
    fakes.release(photos[0].url); // resumes the load: it must find no tile
    SUCCEED();
}

} // namespace
} // namespace pomelark
