#include "ScreenGallery.h"
#include "support/SteppedTime.h"

#include "app/CardMissingScreen.h"
#include "app/Paragraph.h"
#include "app/PreparingScreen.h"
#include "app/WelcomeView.h"
#include "look/IconBtn.h"
#include "look/PomelarkButton.h"
#include "look/TuppoHop.h"
#include "look/TuppoMotionView.h"

#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;
using pomelark::test::saveToGallery;
using namespace std::chrono_literals;

namespace {

class FlowScreensTest : public testing::Test {
protected:
    FlowScreensTest() : pauser(time.clock) {}

    void showAt(QWidget &screen, QSize size = {700, 520})
    {
        screen.resize(size);
        screen.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
        QCoreApplication::processEvents();
    }

    test::SteppedTime time;
    MascotPauser pauser;
};

} // namespace

TEST_F(FlowScreensTest, WelcomeButtonsOnlyCallTheirActions)
{
    int picks = 0;
    int settings = 0;
    WelcomeView welcome({[&] { ++picks; }, [&] { ++settings; }}, nullptr, time.ticker, pauser);
    showAt(welcome);
    QTest::mouseClick(welcome.pickButton(), Qt::LeftButton);
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(settings, 0);
    QTest::mouseClick(welcome.settingsButton(), Qt::LeftButton);
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(settings, 1);
    EXPECT_EQ(welcome.pickButton()->symbol(), u"folder"_qs);
    // The gear sits 16 px in from the top-right corner.
    EXPECT_EQ(welcome.settingsButton()->geometry().topRight(),
              QPoint(welcome.width() - 1 - WelcomeView::settingsInset, WelcomeView::settingsInset));
    EXPECT_EQ(welcome.tagline()->text(),
              u"Tidies up the photos & videos from your digicam\nand sends them to your Photos folder."_qs);
    saveToGallery(welcome, u"welcome"_qs);
}

TEST_F(FlowScreensTest, TheTaglineKeepsItsAuthoredLinesAndOnlyLongerTranslationsWrap)
{
    WelcomeView welcome({}, nullptr, time.ticker, pauser);
    showAt(welcome, {1400, 700});
    const Paragraph *tagline = welcome.tagline();
    const int limit = WelcomeView::taglineWidthLimit(tagline->font());
    EXPECT_GE(limit, WelcomeView::taglineMaxWidth);
    EXPECT_LE(tagline->width(), limit);
    // Its two lines as written, whatever face draws them: no line breaks early.
    const Paragraph unbounded(tagline->text(), tagline->font(), Qt::black, 4);
    EXPECT_EQ(tagline->heightForWidth(welcome.width()), unbounded.heightForWidth(welcome.width()));

    Paragraph longer(QString(u"a much longer translated tagline "_qs).repeated(6), tagline->font(), Qt::black, 4,
                     limit);
    EXPECT_EQ(longer.layoutWidth(2000), limit);
    EXPECT_GT(longer.heightForWidth(2000), 3 * QFontMetrics(tagline->font()).height()); // wrapped
}

TEST_F(FlowScreensTest, EachWelcomeHopsFromTheStartOfItsCycle)
{
    WelcomeView first({}, nullptr, time.ticker, pauser);
    showAt(first);
    // Showing the window may have reported a move, which pauses the mascot: let it settle.
    time.clock.advance(1s);
    pauser.settle();
    time.step(700ms);
    EXPECT_GT(first.mascot()->shownElapsed(), 0.5);
    WelcomeView second({}, nullptr, time.ticker, pauser);
    showAt(second);
    EXPECT_LT(second.mascot()->shownElapsed(), 0.05);
}

TEST_F(FlowScreensTest, CardMissingCoversEverythingAndGoesHome)
{
    int home = 0;
    CardMissingScreen screen({[&] { ++home; }}, nullptr, time.ticker, pauser);
    showAt(screen);
    EXPECT_TRUE(screen.autoFillBackground());
    EXPECT_EQ(screen.mascot()->kind(), TuppoMotionKind::Search);
    QTest::mouseClick(screen.backButton(), Qt::LeftButton);
    EXPECT_EQ(home, 1);
    saveToGallery(screen, u"card-missing"_qs);
}

TEST_F(FlowScreensTest, PreparingShowsCaptionsMascotAndFinale)
{
    QRandomGenerator random(3);
    PreparingScreen screen({time.clock.now(), false}, nullptr, time.ticker, pauser, &random);
    showAt(screen);
    EXPECT_EQ(screen.captionText(), u"Bringing your photos in"_qs);
    auto *motionView = qobject_cast<TuppoMotionView *>(screen.shownMascot());
    ASSERT_NE(motionView, nullptr);
    EXPECT_EQ(motionView->kind(), screen.pacer().motion());
    time.step(1500ms);
    EXPECT_NE(screen.captionText(), u"Bringing your photos in"_qs);
    EXPECT_EQ(screen.captionText(), screen.pacer().shownCaption().translated());
    time.step(2s);
    EXPECT_EQ(motionView->kind(), screen.pacer().motion());
    saveToGallery(screen, u"preparing"_qs);

    screen.setFinale(true);
    EXPECT_EQ(screen.captionText(), u"All set! Off to the workbench"_qs);
    auto *hop = qobject_cast<TuppoHop *>(screen.shownMascot());
    ASSERT_NE(hop, nullptr);
    EXPECT_TRUE(hop->isVisible());
    EXPECT_LT(hop->shownElapsed(), 0.05);
    // The two mascots cross-fade, then only the hop is left.
    EXPECT_TRUE(motionView->isVisible());
    time.step(300ms);
    EXPECT_FALSE(motionView->isVisible());
    EXPECT_EQ(hop->graphicsEffect(), nullptr);
    time.step(300ms);
    EXPECT_DOUBLE_EQ(screen.pacer().barFill(), 1.0);
    saveToGallery(screen, u"preparing-finale"_qs);
}

TEST_F(FlowScreensTest, PreparingBornInTheFinaleShowsOnlyTheHop)
{
    PreparingScreen screen({time.clock.now(), true}, nullptr, time.ticker, pauser);
    showAt(screen);
    EXPECT_EQ(screen.captionText(), u"All set! Off to the workbench"_qs);
    ASSERT_NE(qobject_cast<TuppoHop *>(screen.shownMascot()), nullptr);
    EXPECT_EQ(screen.findChildren<TuppoMotionView *>().size(), 1);
    EXPECT_FALSE(screen.findChild<TuppoMotionView *>()->isVisible());
}

TEST_F(FlowScreensTest, PreparingStartsItsLoopsWhenFirstShown)
{
    PreparingScreen screen({time.clock.now(), false}, nullptr, time.ticker, pauser);
    time.step(3s);
    EXPECT_EQ(screen.pacer().deck().captionTick(), 0);
    showAt(screen);
    EXPECT_NEAR(screen.pacer().barFill(), 0.54, 1e-9);
    time.step(1300ms);
    EXPECT_EQ(screen.pacer().deck().captionTick(), 1); // at 4.2 s
}
