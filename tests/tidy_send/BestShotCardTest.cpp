#include "tidy_send/BestShotCard.h"

#include "Gallery.h"
#include "SimilarShots.h"

#include "look/Palette.h"
#include "support/SteppedTime.h"
#include "services/ThumbnailMemoryCache.h"
#include "support/AsyncTest.h"
#include "tidy_send/KeepCheck.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class BestShotCardTest : public ::testing::Test {
protected:
    BestShotCard *makeCard(const QUrl &url, int degrees, bool kept, bool isBest)
    {
        auto *card = new BestShotCard(url, degrees, kept, isBest, [this] { ++toggles; }, [this] { ++opens; },
                                      &window, time.ticker);
        card->move(10, 10);
        return card;
    }

    bool loaded(BestShotCard *card)
    {
        return test::spinUntil([card] { return card->image().has_value(); });
    }

    /// The card's pixel at `point` of its 104 px square.
    static QRgb squarePixel(const QImage &grab, QPoint point)
    {
        return grab.pixel(point + QPoint(BestShotCard::bleed, BestShotCard::bleed));
    }

    /// A card whose photo never decodes, so its spinner stays.
    BestShotCard *makeLoadlessCard(const QString &name, bool kept)
    {
        const QString path = shots.photo(name).toLocalFile();
        test::truncateFile(path, 40);
        return makeCard(QUrl::fromLocalFile(path), 0, kept, false);
    }

    test::SteppedTime time;
    test::ShotFolder shots;
    QWidget window;
    int toggles = 0;
    int opens = 0;
};

TEST_F(BestShotCardTest, ExcludedBestShotAndKeptOrdinaryShotLookApart)
{
    BestShotCard *excludedBest = makeCard(shots.photo(QStringLiteral("a.jpg")), 0, false, true);
    BestShotCard *keptPlain = makeCard(shots.photo(QStringLiteral("b.jpg")), 0, true, false);
    window.show();
    EXPECT_DOUBLE_EQ(excludedBest->pictureOpacity(), 0.5);
    EXPECT_DOUBLE_EQ(excludedBest->borderWidth(), 2.0);
    EXPECT_EQ(excludedBest->borderColor(), Palette::line());
    EXPECT_DOUBLE_EQ(excludedBest->bestOpacity(), 0.6);
    EXPECT_EQ(excludedBest->keepCheck()->toolTip(), QStringLiteral("Keep"));

    EXPECT_DOUBLE_EQ(keptPlain->pictureOpacity(), 1.0);
    EXPECT_DOUBLE_EQ(keptPlain->borderWidth(), 2.5);
    EXPECT_EQ(keptPlain->borderColor(), Palette::accent());
    EXPECT_FALSE(keptPlain->isBest());
    EXPECT_EQ(keptPlain->keepCheck()->toolTip(), QStringLiteral("Exclude"));

    // A flag handed back eases over 0.15 s, the check with it.
    keptPlain->setKept(false);
    time.step(60ms);
    EXPECT_GT(keptPlain->pictureOpacity(), 0.5);
    EXPECT_LT(keptPlain->pictureOpacity(), 1.0);
    time.step(150ms);
    EXPECT_DOUBLE_EQ(keptPlain->pictureOpacity(), 0.5);
    EXPECT_FALSE(keptPlain->keepCheck()->isKept());
}

TEST_F(BestShotCardTest, CheckTogglesWithoutOpeningAndPictureOpensWithoutToggling)
{
    BestShotCard *card = makeCard(shots.photo(QStringLiteral("a.jpg")), 0, true, true);
    window.show();
    QTest::mouseClick(card->keepCheck(), Qt::LeftButton);
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(opens, 0);
    // The flag comes back only through the owner.
    EXPECT_TRUE(card->isKept());

    QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(60, 80));
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(toggles, 1);
    // Where the "Best" capsule sits still opens: only the check is a button.
    QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(90, 12));
    EXPECT_EQ(opens, 2);
}

TEST_F(BestShotCardTest, ShadowDeepensUnderThePointerWithoutMovingTheCard)
{
    BestShotCard *card = makeCard(shots.photo(QStringLiteral("a.jpg")), 0, true, false);
    window.show();
    const QPoint at = card->pos();
    EXPECT_EQ(card->shadow().radius, Shadows::small().radius);
    test::sendEnter(card);
    EXPECT_TRUE(card->isHover());
    time.step(60ms);
    EXPECT_GT(card->shadow().radius, Shadows::small().radius);
    EXPECT_LT(card->shadow().radius, Shadows::medium().radius);
    time.step(150ms);
    EXPECT_EQ(card->shadow().radius, Shadows::medium().radius);
    EXPECT_EQ(card->shadow().y, Shadows::medium().y);
    EXPECT_EQ(card->pos(), at);
    test::sendLeave(card);
    time.step(200ms);
    EXPECT_EQ(card->shadow().radius, Shadows::small().radius);
}

TEST_F(BestShotCardTest, PictureIsTurnedClockwiseAndStillCoversTheSquare)
{
    // The fixture photo has a red block top-left and a blue block bottom-right.
    const QUrl url = shots.photo(QStringLiteral("landscape.jpg"), {160, 120});
    BestShotCard *upright = makeCard(url, 0, true, false);
    BestShotCard *turned = makeCard(url, 90, true, false);
    turned->move(130, 10);
    window.resize(260, 130);
    window.show();
    ASSERT_TRUE(loaded(upright));
    ASSERT_TRUE(loaded(turned));
    // Loaded once, then found in the cache.
    EXPECT_TRUE(ThumbnailMemoryCache::shared().contains(url));
    EXPECT_FALSE(turned->spinner().isRunning()) << "no frames for a spinner no longer drawn";

    const QImage straight = upright->grab().toImage();
    EXPECT_TRUE(test::isBluish(squarePixel(straight, {92, 86})));
    EXPECT_FALSE(test::isBluish(squarePixel(straight, {18, 92})));

    const QImage image = turned->grab().toImage();
    EXPECT_TRUE(test::isBluish(squarePixel(image, {18, 92})));
    EXPECT_TRUE(test::isReddish(squarePixel(image, {86, 12})));
    // A landscape picture turned upright still reaches the top and bottom edges.
    EXPECT_NE(squarePixel(image, {52, 4}), squarePixel(image, {52, 99}));
    for (int y : {4, 52, 99})
        EXPECT_NE(squarePixel(image, {52, y}), Palette::accentSoft().rgb()) << y;
    EXPECT_TRUE(image.save(test::galleryPath(QStringLiteral("card-turned.png"))));
}

TEST_F(BestShotCardTest, UndecodablePhotoKeepsThePlaceholderAndIsNotCached)
{
    BestShotCard *card = makeLoadlessCard(QStringLiteral("broken.jpg"), true);
    window.show();
    // The load ends once no decode is left running for it.
    ASSERT_TRUE(test::spinUntil([] { return ThumbnailMemoryCache::shared().activeLoads() == 0; }));
    EXPECT_FALSE(card->image().has_value());
    EXPECT_FALSE(ThumbnailMemoryCache::shared().contains(card->url()));
    const QImage image = card->grab().toImage();
    EXPECT_EQ(squarePixel(image, {30, 95}), Palette::accentSoft().rgb());
    // The check and the click still work.
    QTest::mouseClick(card->keepCheck(), Qt::LeftButton);
    QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(60, 80));
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(opens, 1);
}

TEST_F(BestShotCardTest, SpinnerFadesWithThePictureAndTurnsOnlyWhileShown)
{
    BestShotCard *kept = makeLoadlessCard(QStringLiteral("kept.jpg"), true);
    BestShotCard *excluded = makeLoadlessCard(QStringLiteral("excluded.jpg"), false);
    excluded->move(130, 10);
    window.resize(260, 130);
    window.show();
    ASSERT_TRUE(test::spinUntil([] { return ThumbnailMemoryCache::shared().activeLoads() == 0; }));
    // An excluded card's picture is drawn at half strength: a spinner at full
    // strength would stand out on it as much as on a kept one.
    const int full = test::spinnerContrast(*kept, kept->square());
    ASSERT_GT(full, 40);
    const qreal faded = qreal(test::spinnerContrast(*excluded, excluded->square())) / full;
    EXPECT_GT(faded, 0.3);
    EXPECT_LT(faded, 0.7);
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("best-shot-cards-loading")));

    ASSERT_TRUE(kept->showsSpinner());
    const int spoke = kept->spinner().leadingSpoke();
    time.step(250ms);
    EXPECT_NE(kept->spinner().leadingSpoke(), spoke);
    window.hide();
    EXPECT_FALSE(kept->spinner().isRunning());
    window.show();
    EXPECT_TRUE(kept->spinner().isRunning());
}

TEST_F(BestShotCardTest, AnotherPhotoReplacesTheLoadAndTheOldResultIsDropped)
{
    const QUrl first = shots.photo(QStringLiteral("first.jpg"), {200, 100});
    const QUrl second = shots.photo(QStringLiteral("second.jpg"), {90, 120});
    BestShotCard *card = makeCard(first, 0, true, false);
    window.show();
    card->setUrl(second);
    ASSERT_TRUE(loaded(card));
    ASSERT_TRUE(test::spinUntil([] { return ThumbnailMemoryCache::shared().activeLoads() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(card->image()->size(), QSize(90, 120));
    EXPECT_EQ(card->url(), second);

    // A photo that cannot be decoded does not go on showing the one before.
    const QString broken = shots.photo(QStringLiteral("broken.jpg")).toLocalFile();
    test::truncateFile(broken, 40);
    card->setUrl(QUrl::fromLocalFile(broken));
    ASSERT_TRUE(test::spinUntil([card] { return !card->image().has_value(); }));
    EXPECT_EQ(squarePixel(card->grab().toImage(), {30, 95}), Palette::accentSoft().rgb());
}

} // namespace
} // namespace pomelark
