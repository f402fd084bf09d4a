#include "tidy_send/BestShotConfirmView.h"

#include "SimilarShots.h"

#include "look/PomelarkButton.h"
#include "support/SteppedTime.h"
#include "support/AsyncTest.h"
#include "browsing/FullsizeImageView.h"
#include "tidy_send/BestShotCard.h"
#include "tidy_send/BestShotLookView.h"
#include "tidy_send/GroupCard.h"
#include "tidy_send/KeepCheck.h"
#include "tidy_send/LookRoundBtn.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class BestShotConfirmViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::showActive(window, {900, 700}));
    }

    BestShotConfirmView *makeView()
    {
        BestShotConfirmView::Inputs inputs;
        inputs.groups = {[this] { return groups; },
                         [this](QList<BestShotGroup> next) {
                             groups = std::move(next);
                             ++writes;
                         }};
        inputs.rotations = rotations;
        inputs.onConfirm = [this] { ++confirms; };
        inputs.onCancel = [this] { ++cancels; };
        auto *view = new BestShotConfirmView(std::move(inputs), &window, time.ticker);
        view->show();
        QCoreApplication::sendPostedEvents(); // the layout settles
        time.step(500ms);
        return view;
    }

    BestShotCard *card(BestShotConfirmView *view, int group, int index)
    {
        return view->groupCards().at(group)->cards().at(index);
    }

    void clickPicture(BestShotCard *card) { QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(60, 80)); }

    test::SteppedTime time;
    test::ShotFolder shots;
    QWidget window;
    QList<BestShotGroup> groups;
    QHash<QUuid, int> rotations;
    int writes = 0;
    int confirms = 0;
    int cancels = 0;
};

TEST_F(BestShotConfirmViewTest, TitleCountsGroupsNotPhotosAndOnlyLaterGroupsHaveSeparators)
{
    for (const char *prefix : {"a", "b", "c"})
        groups.append(shots.group(QString::fromLatin1(prefix), 4, 0));
    BestShotConfirmView *view = makeView();
    EXPECT_EQ(view->titleText(), QStringLiteral("Found 3 groups of similar photos"));
    EXPECT_EQ(view->groupCards().size(), 3);
    EXPECT_EQ(view->separatorCount(), 2);

    groups = {shots.group(QStringLiteral("d"), 2, 1)};
    view->refresh();
    EXPECT_EQ(view->titleText(), QStringLiteral("Found 1 groups of similar photos"));
    EXPECT_EQ(view->separatorCount(), 0);
    EXPECT_EQ(view->groupCards().size(), 1);
}

TEST_F(BestShotConfirmViewTest, ExcludeCountFollowsEveryKeepChangeAndZeroDisablesConfirm)
{
    groups = {shots.group(QStringLiteral("a"), 4, 1), shots.group(QStringLiteral("b"), 3, 2)};
    BestShotConfirmView *view = makeView();
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Exclude 5 from sending"));
    EXPECT_TRUE(view->confirmButton()->isEnabled());
    EXPECT_TRUE(card(view, 0, 1)->isBest());
    EXPECT_FALSE(card(view, 0, 0)->isBest());

    QTest::mouseClick(card(view, 0, 0)->keepCheck(), Qt::LeftButton);
    EXPECT_EQ(groups[0].keep, (QList<bool>{true, true, false, false}));
    EXPECT_TRUE(card(view, 0, 0)->isKept());
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Exclude 4 from sending"));

    // "Keep all" touches its own group only.
    QTest::mouseClick(view->groupCards()[1]->keepAllButton(), Qt::LeftButton);
    EXPECT_EQ(groups[1].keep, (QList<bool>{true, true, true}));
    EXPECT_EQ(groups[0].keep, (QList<bool>{true, true, false, false}));
    EXPECT_FALSE(view->groupCards()[1]->keepAllButton()->isEnabled());
    QTest::mouseClick(view->groupCards()[0]->keepAllButton(), Qt::LeftButton);
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Exclude 0 from sending"));
    EXPECT_FALSE(view->confirmButton()->isEnabled());
    QTest::mouseClick(view->confirmButton(), Qt::LeftButton);
    EXPECT_EQ(confirms, 0);
    EXPECT_EQ(cancels, 0);
}

TEST_F(BestShotConfirmViewTest, GroupWithoutBestShotStartsAllKeptAndMayBeExcludedWhole)
{
    groups = {shots.group(QStringLiteral("a"), 3, std::nullopt), shots.group(QStringLiteral("b"), 2, 0)};
    BestShotConfirmView *view = makeView();
    GroupCard *faceless = view->groupCards()[0];
    EXPECT_TRUE(faceless->showsNoFacesHint());
    EXPECT_FALSE(view->groupCards()[1]->showsNoFacesHint());
    EXPECT_FALSE(faceless->keepAllButton()->isEnabled());
    for (BestShotCard *shot : faceless->cards())
        EXPECT_FALSE(shot->isBest());

    QTest::mouseClick(faceless->cards()[2]->keepCheck(), Qt::LeftButton);
    EXPECT_TRUE(faceless->keepAllButton()->isEnabled());
    QTest::mouseClick(faceless->cards()[0]->keepCheck(), Qt::LeftButton);
    QTest::mouseClick(faceless->cards()[1]->keepCheck(), Qt::LeftButton);
    EXPECT_EQ(groups[0].keep, (QList<bool>{false, false, false}));
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Exclude 4 from sending"));
    QTest::mouseClick(view->confirmButton(), Qt::LeftButton);
    EXPECT_EQ(confirms, 1);
    EXPECT_EQ(cancels, 0);
}

TEST_F(BestShotConfirmViewTest, BackdropAndNotNowCancelWhileThePanelTakesItsClicks)
{
    groups = {shots.group(QStringLiteral("a"), 2, 0)};
    BestShotConfirmView *view = makeView();
    const QRect panel = view->panelGeometry();
    QTest::mouseClick(view->panel(), Qt::LeftButton, {}, QPoint(panel.width() / 2, 10));
    EXPECT_EQ(cancels, 0);
    // The outer margin beside the card is backdrop too.
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(panel.left() - 10, panel.center().y()));
    EXPECT_EQ(cancels, 1);

    QAbstractButton *notNow = nullptr;
    for (auto *button : view->panel()->findChildren<PomelarkButton *>())
        if (button->text() == QStringLiteral("Not now"))
            notNow = button;
    ASSERT_NE(notNow, nullptr);
    QTest::mouseClick(notNow, Qt::LeftButton);
    EXPECT_EQ(cancels, 2);
    EXPECT_EQ(confirms, 0);
    EXPECT_EQ(writes, 0);

    // The main view drops its groups as it removes the overlay; the panel fades out unchanged.
    view->leave();
    groups.clear();
    view->refresh();
    EXPECT_EQ(view->groupCards().size(), 1);
    EXPECT_EQ(view->titleText(), QStringLiteral("Found 1 groups of similar photos"));
}

TEST_F(BestShotConfirmViewTest, LookOpensAtTheClickedPhotoAndItsChangesShowInTheRow)
{
    groups = {shots.group(QStringLiteral("a"), 3, 0), shots.group(QStringLiteral("b"), 4, 1)};
    BestShotConfirmView *view = makeView();
    clickPicture(card(view, 1, 2));
    ASSERT_TRUE(view->look().has_value());
    EXPECT_EQ(view->look()->groupIndex, 1);
    EXPECT_EQ(view->look()->pos, 2);
    QPointer<BestShotLookView> look = view->lookView();
    ASSERT_TRUE(look);
    EXPECT_EQ(look->geometry(), view->rect());
    EXPECT_EQ(look->titleText(), QStringLiteral("b-3.jpg · 3 / 4"));
    EXPECT_LT(look->presence(), 0.01);
    time.step(300ms);
    EXPECT_DOUBLE_EQ(look->presence(), 1.0);

    // Keep the shown photo and move on: the row and the count follow at once.
    look->toggleKeep();
    EXPECT_TRUE(groups[1].keep[2]);
    EXPECT_TRUE(card(view, 1, 2)->isKept());
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Exclude 4 from sending"));
    look->showNext();
    EXPECT_EQ(view->look()->pos, 3);
    EXPECT_EQ(look->titleText(), QStringLiteral("b-4.jpg · 4 / 4"));

    QTest::mouseClick(look->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(view->look().has_value());
    EXPECT_EQ(view->lookView(), nullptr);
    // The way out ignores what is still pressed on it.
    look->toggleKeep();
    EXPECT_TRUE(groups[1].keep[2]);
    // Opened again at once, the new look has the keys to itself.
    clickPicture(card(view, 0, 0));
    ASSERT_TRUE(view->lookView());
    ASSERT_NE(view->lookView(), look);
    const bool wasKept = groups[0].keep[0];
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_NE(groups[0].keep[0], wasKept);
    time.step(300ms);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(look);
    EXPECT_EQ(cancels, 0);
    EXPECT_EQ(confirms, 0);
}

TEST_F(BestShotConfirmViewTest, LongListScrollsInsideAPanelNoWiderThanItsLimit)
{
    window.resize(1400, 900);
    for (int i = 0; i < 6; ++i)
        groups.append(shots.group(QStringLiteral("g%1").arg(i), 3, 0));
    BestShotConfirmView *view = makeView();
    EXPECT_EQ(view->panelGeometry().width(), 620);
    EXPECT_EQ(view->groupList()->height(), BestShotConfirmView::maxListHeight);
    EXPECT_GT(view->groupList()->verticalScrollBar()->maximum(), 0);

    // The wheel over a strip of cards scrolls the list, not the strip.
    BestShotCard *shot = card(view, 0, 1);
    const QPointF at = QRectF(shot->rect()).center();
    QWheelEvent wheel(at, shot->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel); // only the window system's wheel events travel up
    qApp->notify(shot, &wheel); // sendEvent would make it a program's event again
    EXPECT_GT(view->groupList()->verticalScrollBar()->value(), 0);

    groups = {shots.group(QStringLiteral("short"), 2, 0)};
    view->refresh();
    QCoreApplication::sendPostedEvents();
    EXPECT_LT(view->groupList()->sizeHint().height(), BestShotConfirmView::maxListHeight);
}

TEST_F(BestShotConfirmViewTest, RotationsReachTheCards)
{
    groups = {shots.group(QStringLiteral("a"), 2, 0)};
    rotations.insert(groups[0].items[1].id, 90);
    BestShotConfirmView *view = makeView();
    EXPECT_EQ(card(view, 0, 0)->rotationDegrees(), 0);
    EXPECT_EQ(card(view, 0, 1)->rotationDegrees(), 90);
    view->setRotations({{groups[0].items[0].id, 270}});
    EXPECT_EQ(card(view, 0, 0)->rotationDegrees(), 270);
    EXPECT_EQ(card(view, 0, 1)->rotationDegrees(), 0);
}

TEST_F(BestShotConfirmViewTest, GalleryPictures)
{
    window.resize(900, 720);
    groups = {shots.group(QStringLiteral("beach"), 4, 1), shots.group(QStringLiteral("dinner"), 3, std::nullopt),
              shots.group(QStringLiteral("park"), 5, 2)};
    groups[1].keep[2] = false;
    rotations.insert(groups[2].items[0].id, 90);
    BestShotConfirmView *view = makeView();
    ASSERT_TRUE(test::spinUntil([&] {
        for (GroupCard *row : view->groupCards())
            for (BestShotCard *shot : row->cards())
                if (!shot->image())
                    return false;
        return true;
    }));
    test::sendEnter(card(view, 0, 2));
    time.step(300ms);
    EXPECT_TRUE(window.grab().save(test::galleryPath(QStringLiteral("similar-shots.png"))));

    clickPicture(card(view, 0, 1));
    ASSERT_TRUE(test::spinUntil([view] { return !view->lookView()->photoView()->isLoading(); }));
    time.step(500ms);
    EXPECT_TRUE(window.grab().save(test::galleryPath(QStringLiteral("similar-shots-look.png"))));
}

} // namespace
} // namespace pomelark
