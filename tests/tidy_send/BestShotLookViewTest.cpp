#include "tidy_send/BestShotLookView.h"

#include "SimilarShots.h"

#include "support/SteppedTime.h"
#include "browsing/ExcludedBadge.h"
#include "browsing/FullsizeImageView.h"
#include "look/HiddenShortcuts.h"
#include "support/AsyncTest.h"
#include "tidy_send/BestTag.h"
#include "tidy_send/KeepCheck.h"
#include "tidy_send/LookRoundBtn.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class BestShotLookViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::showActive(window, {900, 700}));
    }

    BestShotLookView *makeView(BestShotGroup shown, int at)
    {
        group = std::move(shown);
        pos = at;
        BestShotLookView::Inputs inputs;
        inputs.group = {[this] { return group; }, [this](BestShotGroup next) { group = std::move(next); }};
        inputs.rotations = rotations;
        inputs.pos = {[this] { return pos; }, [this](int next) { pos = next; }};
        inputs.onClose = [this] { ++closes; };
        auto *view = new BestShotLookView(std::move(inputs), &window, Animation::easeOut(0.25), time.ticker);
        view->show();
        QCoreApplication::sendPostedEvents();
        time.step(300ms);
        return view;
    }

    void press(Qt::Key key) { QTest::keyClick(&window, key); }

    test::SteppedTime time;
    test::ShotFolder shots;
    QWidget window;
    BestShotGroup group{{}, std::nullopt};
    QHash<QUuid, int> rotations;
    int pos = 0;
    int closes = 0;
};

TEST_F(BestShotLookViewTest, ArrowsAndRoundButtonsStopAtBothEndsWithoutWrapping)
{
    BestShotLookView *view = makeView(shots.group(QStringLiteral("walk"), 3, 0), 0);
    EXPECT_EQ(view->titleText(), QStringLiteral("walk-1.jpg · 1 / 3"));
    EXPECT_FALSE(view->previousButton()->isEnabled());
    EXPECT_DOUBLE_EQ(view->previousButton()->drawnOpacity(), 0.35);
    EXPECT_TRUE(view->nextButton()->isEnabled());

    press(Qt::Key_Left);
    QTest::mouseClick(view->previousButton(), Qt::LeftButton);
    EXPECT_EQ(pos, 0);
    press(Qt::Key_Right);
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(view->titleText(), QStringLiteral("walk-2.jpg · 2 / 3"));
    EXPECT_TRUE(view->previousButton()->isEnabled());
    QTest::mouseClick(view->nextButton(), Qt::LeftButton);
    EXPECT_EQ(pos, 2);
    EXPECT_FALSE(view->nextButton()->isEnabled());
    EXPECT_FALSE(view->shortcuts()->isEnabled(BestShotLookView::nextShortcut));
    EXPECT_TRUE(view->shortcuts()->isEnabled(BestShotLookView::previousShortcut));
    press(Qt::Key_Right);
    view->showNext();
    EXPECT_EQ(pos, 2);
    press(Qt::Key_Left);
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(closes, 0);
}

TEST_F(BestShotLookViewTest, GroupOfOnePhotoOffersNoWayToMove)
{
    // A name that looks like a placeholder is shown as it is.
    MediaItems one{{QUuid::createUuid(), shots.photo(QStringLiteral("solo%2.jpg")), MediaItem::Kind::photo}};
    BestShotLookView *view = makeView(BestShotGroup(one, std::nullopt), 0);
    EXPECT_EQ(view->titleText(), QStringLiteral("solo%2.jpg · 1 / 1"));
    EXPECT_FALSE(view->previousButton()->isEnabled());
    EXPECT_FALSE(view->nextButton()->isEnabled());
    press(Qt::Key_Right);
    press(Qt::Key_Left);
    EXPECT_EQ(pos, 0);
}

TEST_F(BestShotLookViewTest, BestTagMarksOnlyTheProposedShot)
{
    BestShotLookView *view = makeView(shots.group(QStringLiteral("a"), 3, 1), 0);
    EXPECT_FALSE(view->showsBestTag());
    view->showNext();
    EXPECT_TRUE(view->showsBestTag());
    view->showNext();
    EXPECT_FALSE(view->showsBestTag());

    group = shots.group(QStringLiteral("b"), 2, std::nullopt);
    for (int at : {0, 1}) {
        pos = at;
        view->refresh();
        EXPECT_FALSE(view->showsBestTag());
    }
}

TEST_F(BestShotLookViewTest, SpaceAndCheckFlipTheShownPhotoAndTheBadgeFollows)
{
    BestShotLookView *view = makeView(shots.group(QStringLiteral("a"), 2, 0), 0);
    EXPECT_FALSE(view->showsExcludedBadge());
    EXPECT_TRUE(view->keepCheck()->isKept());
    press(Qt::Key_Space);
    EXPECT_EQ(group.keep, (QList<bool>{false, false}));
    EXPECT_TRUE(view->showsExcludedBadge());
    EXPECT_FALSE(view->keepCheck()->isKept());
    // The look shows the new flag at once; only the cards ease.
    EXPECT_EQ(view->keepCheck()->keptProgress(), 0.0);
    QTest::mouseClick(view->keepCheck(), Qt::LeftButton);
    EXPECT_EQ(group.keep, (QList<bool>{true, false}));
    EXPECT_FALSE(view->showsExcludedBadge());

    view->showNext();
    EXPECT_TRUE(view->showsExcludedBadge());
    EXPECT_EQ(view->keepCheck()->keptProgress(), 0.0);
    press(Qt::Key_Space);
    press(Qt::Key_Space);
    EXPECT_EQ(group.keep, (QList<bool>{true, false}));
    EXPECT_EQ(closes, 0);
}

TEST_F(BestShotLookViewTest, EscapeCloseButtonAndBackdropCloseButNotTheContent)
{
    BestShotLookView *view = makeView(shots.group(QStringLiteral("a"), 2, 0), 0);
    press(Qt::Key_Escape);
    EXPECT_EQ(closes, 1);
    QTest::mouseClick(view->closeButton(), Qt::LeftButton);
    EXPECT_EQ(closes, 2);
    // The padding below the photo row is backdrop.
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() / 2, view->height() - 6));
    EXPECT_EQ(closes, 3);

    QTest::mouseClick(view->photoView(), Qt::LeftButton, {}, view->photoView()->rect().center());
    QTest::mouseClick(view->keepCheck(), Qt::LeftButton);
    EXPECT_EQ(closes, 3);
    // Moving is not closing either, at the ends included.
    QTest::mouseClick(view->previousButton(), Qt::LeftButton);
    EXPECT_EQ(closes, 3);
}

TEST_F(BestShotLookViewTest, ClicksOnTheTitleRowAreItsOwnAndNeverClose)
{
    BestShotLookView *view = makeView(shots.group(QStringLiteral("t"), 2, 0), 0);
    press(Qt::Key_Space); // the best shot, not kept: the title row shows every piece
    ASSERT_TRUE(view->showsBestTag() && view->showsExcludedBadge());
    QList<QWidget *> pieces;
    for (QLabel *label : view->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        pieces << label; // the symbol and the file name
    pieces << view->findChild<BestTag *>() << view->findChild<ExcludedBadge *>();
    ASSERT_EQ(pieces.size(), 4);
    for (QWidget *piece : pieces) {
        ASSERT_TRUE(piece && piece->isVisible());
        QTest::mouseClick(piece, Qt::LeftButton);
    }
    EXPECT_EQ(closes, 0);
    // The room between the title and the close button is still backdrop.
    const QRect title = view->findChild<ExcludedBadge *>()->geometry();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() / 2, title.center().y()));
    EXPECT_EQ(closes, 1);
}

TEST_F(BestShotLookViewTest, PhotoIsShownTurnedByItsRotationWithTheCheckOnItsCorner)
{
    BestShotGroup shown = shots.group(QStringLiteral("a"), 2, 0);
    rotations.insert(shown.items[1].id, 90);
    BestShotLookView *view = makeView(shown, 0);
    FullsizeImageView *photo = view->photoView();
    EXPECT_EQ(photo->url(), group.items[0].url);
    EXPECT_EQ(photo->rotationDegrees(), 0);
    press(Qt::Key_Right);
    EXPECT_EQ(photo->url(), group.items[1].url);
    EXPECT_EQ(photo->rotationDegrees(), 90);
    ASSERT_TRUE(test::spinUntil([photo] { return !photo->isLoading(); }));
    // A 4 : 3 photo turned upright leaves room at its sides; the check follows its corner.
    const QRectF panel = photo->panelRect();
    EXPECT_LT(panel.width(), panel.height());
    const QPoint corner = photo->mapTo(view, panel.topLeft().toPoint());
    const QPoint check = view->keepCheck()->mapTo(view, QPoint(KeepCheck::bleed, KeepCheck::bleed));
    EXPECT_EQ(check - corner, QPoint(10, 10));
    time.step(500ms); // the picture's and the check's fades
    EXPECT_TRUE(view->grab().save(test::galleryPath(QStringLiteral("look-turned.png"))));

    // The room beside the photo is backdrop.
    QTest::mouseClick(photo, Qt::LeftButton, {}, QPoint(2, photo->height() / 2));
    EXPECT_EQ(closes, 1);
}

TEST_F(BestShotLookViewTest, RoundButtonBrightensUnderThePointer)
{
    BestShotLookView *view = makeView(shots.group(QStringLiteral("a"), 2, 0), 0);
    LookRoundBtn *next = view->nextButton();
    EXPECT_DOUBLE_EQ(next->circleOpacity(), 0.12);
    test::sendEnter(next);
    time.step(60ms);
    EXPECT_GT(next->circleOpacity(), 0.12);
    EXPECT_LT(next->circleOpacity(), 0.22);
    time.step(150ms);
    EXPECT_DOUBLE_EQ(next->circleOpacity(), 0.22);
    test::sendLeave(next);
    time.step(200ms);
    EXPECT_DOUBLE_EQ(next->circleOpacity(), 0.12);
    EXPECT_EQ(next->sizeHint(), QSize(52, 52));
    EXPECT_EQ(view->closeButton()->sizeHint(), QSize(40, 40));
}

TEST_F(BestShotLookViewTest, NothingReactsOnTheWayOut)
{
    QPointer<BestShotLookView> view = makeView(shots.group(QStringLiteral("a"), 3, 0), 1);
    view->leave();
    press(Qt::Key_Space);
    press(Qt::Key_Right);
    press(Qt::Key_Escape);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, view->height() - 5));
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(group.keep, (QList<bool>{true, false, false}));
    EXPECT_EQ(closes, 0);
    time.step(300ms);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);
}

} // namespace
} // namespace pomelark
