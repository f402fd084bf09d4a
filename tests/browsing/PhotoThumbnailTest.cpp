#include "browsing/PhotoThumbnail.h"

#include "GridFixtures.h"

#include <gtest/gtest.h>

namespace pomelark {
namespace {

using test::FakeTileSources;

QUrl photo(int n)
{
    return QUrl::fromLocalFile(QStringLiteral("/card/IMG_%1.JPG").arg(n));
}

TEST(PhotoThumbnailTest, TheCheckShowsInSelectModeAndTakesClicksOnlyWhenVisible)
{
    int activations = 0;
    int toggles = 0;
    PhotoThumbnail tile(photo(1), 0, {false, false, true}, [&] { ++activations; }, [&] { ++toggles; }, {});
    const QPointF onCheck = GridTile::checkFrame().center();

    // Hidden check (not selected, not hovered): the click goes to the tile.
    EXPECT_TRUE(tile.showsCheck());
    EXPECT_FALSE(tile.checkTakesClicks());
    EXPECT_TRUE(tile.click(onCheck));
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(toggles, 0);

    tile.setHover(true);
    EXPECT_EQ(tile.helpAt(onCheck), QStringLiteral("Select"));
    EXPECT_TRUE(tile.click(onCheck));
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(activations, 1);
    // The check does not change its own look; the grid passes new flags.
    EXPECT_FALSE(tile.flags().isSelected);
    tile.setFlags({false, true, true});
    EXPECT_EQ(tile.helpAt(onCheck), QStringLiteral("Deselect"));

    // Without a toggle action there is no check; without an activate action no click.
    PhotoThumbnail bare(photo(2), 0, {false, false, true}, {}, {}, {});
    bare.setHover(true);
    EXPECT_FALSE(bare.showsCheck());
    EXPECT_FALSE(bare.click(onCheck));
    EXPECT_FALSE(bare.click({60, 60}));
}

TEST(PhotoThumbnailTest, HoverLiftsOnlyTilesThatAreNeitherExcludedNorSelected)
{
    PhotoThumbnail tile(photo(1), 0, {}, [] {}, [] {}, {});
    tile.setHover(true);
    EXPECT_DOUBLE_EQ(tile.targetLift(), -2);
    EXPECT_DOUBLE_EQ(tile.targetShadow(), 1);

    tile.setFlags({false, true, true}); // selected: medium shadow, no lift
    EXPECT_DOUBLE_EQ(tile.targetLift(), 0);
    EXPECT_DOUBLE_EQ(tile.targetShadow(), 1);

    tile.setFlags({true, true, true}); // excluded too: dimmed, small shadow, no lift
    EXPECT_DOUBLE_EQ(tile.targetLift(), 0);
    EXPECT_DOUBLE_EQ(tile.targetShadow(), 0);
    EXPECT_DOUBLE_EQ(tile.targetOpacity(), 0.7);
    EXPECT_DOUBLE_EQ(tile.targetCheckOpacity(), 1);

    tile.setHover(false);
    tile.setFlags({false, false, true});
    EXPECT_DOUBLE_EQ(tile.targetCheckOpacity(), 0);
    EXPECT_DOUBLE_EQ(tile.targetOpacity(), 1);
}

TEST(PhotoThumbnailTest, ALateResultForAnEarlierFileIsDropped)
{
    FakeTileSources fakes;
    fakes.hold(photo(1));
    PhotoThumbnail tile(photo(1), 0, {}, {}, {}, fakes.photoLoader());
    EXPECT_FALSE(tile.image().has_value());

    tile.setUrl(photo(2)); // answers at once
    ASSERT_TRUE(tile.image().has_value());
    const QColor second = tile.image()->pixelColor(0, 0);
    fakes.release(photo(1));
    EXPECT_EQ(tile.image()->pixelColor(0, 0), second) << "the first file's picture must not replace the second's";
}

TEST(PhotoThumbnailTest, AnUndecodablePhotoKeepsThePlaceholderAndRotationTurns)
{
    auto nothing = [](QUrl) -> QCoro::Task<std::optional<QImage>> { co_return std::nullopt; };
    PhotoThumbnail tile(photo(1), 90, {}, {}, {}, nothing);
    EXPECT_FALSE(tile.image().has_value());
    EXPECT_DOUBLE_EQ(tile.drawnRotation(), 90); // the first rotation is not animated
    tile.setRotationDegrees(180);
    EXPECT_EQ(tile.rotationDegrees(), 180);
}

} // namespace
} // namespace pomelark
