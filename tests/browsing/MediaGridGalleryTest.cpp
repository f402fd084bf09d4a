// Pictures of the grid and the selection bar for a person to look at.
#include "browsing/MediaGridView.h"
#include "browsing/SelectionBar.h"

#include "GridFixtures.h"
#include "services/PlaybackPrewarmer.h"
#include "support/AsyncTest.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace pomelark {
namespace {

using test::FakeTileSources;
using test::galleryPath;
using test::makeItems;

QImage grabWithBar(MediaGridView &grid, SelectionBar *bar)
{
    QImage image = grid.grab().toImage();
    if (bar) {
        // The main view lays the bar over the grid's bottom centre.
        QPainter painter(&image);
        const QImage barImage = bar->grab().toImage();
        painter.drawImage(QPointF((image.width() / image.devicePixelRatio() - bar->width()) / 2,
                                  image.height() / image.devicePixelRatio() - bar->height()),
                          barImage);
    }
    return image;
}

TEST(MediaGridGalleryTest, SavesTheGridInItsStates)
{
    FakeTileSources fakes;
    const MediaItems photos = makeItems(MediaItem::Kind::photo, 9);
    MediaItems videos;
    for (const QString &name : {QStringLiteral("MVI_0001 fails.MOV"), QStringLiteral("MVI_0002 ready.MP4"),
                               QStringLiteral("MVI_0003.MOV"), QStringLiteral("MVI_0004 a rather long name.AVI")})
        videos.append({QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/card/") + name), MediaItem::Kind::video});
    fakes.durations.insert(videos[1].url, 3599.6);
    fakes.hold(videos[3].url); // its poster never comes: the placeholder
    fakes.hold(photos[8].url); // still loading: the spinner

    test::ScriptedPreparation preparation;
    PlaybackPrewarmer prewarmer(preparation);
    prewarmer.start(videos);
    ASSERT_TRUE(test::spinUntil([&] { return prewarmer.state(videos[0].url) == PlaybackPrewarmer::State::failed; }));

    QSet<QUuid> selected{photos[1].id, photos[2].id, videos[2].id};
    MediaGridView::Inputs inputs{photos, videos, {{photos[3].id, 90}, {photos[4].id, 180}},
                                 {photos[5].id, photos[2].id, videos[2].id},
                                 {[&] { return selected; }, [&](QSet<QUuid> next) { selected = next; }},
                                 false, &prewarmer, {}, {}};

    // Each picture from a grid of its own: a selection changed by a drop
    // would show its marks half faded in.
    const auto save = [&](const QString &file, std::function<void(MediaGridView &)> drag, SelectionBar *bar) {
        MediaGridView grid(inputs, nullptr, fakes.sources());
        grid.resize(720, 480);
        grid.show();
        QApplication::processEvents();
        if (drag)
            drag(grid);
        EXPECT_TRUE(grabWithBar(grid, bar).save(galleryPath(file)));
        grid.marqueeEnded();
    };
    save(QStringLiteral("grid-normal.png"), {}, nullptr);
    inputs.selectMode = true;
    SelectionBar bar({int(selected.size()), {}, {}, {}, {}});
    save(QStringLiteral("grid-select-marquee.png"),
         [](MediaGridView &grid) { grid.marqueeChanged({-12, 250}, {400, 300}); }, &bar); // from the padding: selects
    save(QStringLiteral("grid-select-deselect-marquee.png"),
         [](MediaGridView &grid) { grid.marqueeChanged({300, 60}, {560, 200}); }, nullptr); // from a selected tile
    {
        SelectionBar empty({0, {}, {}, {}, {}});
        EXPECT_TRUE(empty.grab().save(galleryPath(QStringLiteral("selection-bar-empty.png"))));
        SelectionBar many({1234, {}, {}, {}, {}});
        EXPECT_TRUE(many.grab().save(galleryPath(QStringLiteral("selection-bar-1234.png"))));
    }

    fakes.release(videos[3].url);
    fakes.release(photos[8].url);
    test::awaitTask(prewarmer.stop());
}

} // namespace
} // namespace pomelark
