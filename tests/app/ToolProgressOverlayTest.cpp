#include "app/InactiveCover.h"
#include "app/ToolProgressOverlay.h"
#include "look/ActivitySpinner.h"
#include "look/Palette.h"

#include "support/SteppedTime.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class Overlays : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(700, 520);
        window.show();
    }

    test::SteppedTime time;
    QWidget window;
};

TEST_F(Overlays, ProgressCardIsCentredShowsTheCountAndSwallowsClicks)
{
    auto *overlay = new ToolProgressOverlay(QStringLiteral("Finding similar photos..."), 0, 12, &window, time.ticker);
    overlay->show();
    time.step(400ms);
    EXPECT_EQ(overlay->geometry(), window.rect());
    EXPECT_EQ(overlay->countText(), QStringLiteral("0 / 12"));
    overlay->setProgress(7, 12);
    EXPECT_EQ(overlay->countText(), QStringLiteral("7 / 12"));
    EXPECT_NEAR(overlay->cardGeometry().center().x(), window.width() / 2, 1);
    EXPECT_NEAR(overlay->cardGeometry().center().y(), window.height() / 2, 1);

    // A click on the dimmed window must not reach the grid and start something else.
    bool reached = false;
    struct Probe : QWidget {
        bool *reached;
        explicit Probe(bool *flag, QWidget *parent) : QWidget(parent), reached(flag) {}
        void mousePressEvent(QMouseEvent *) override { *reached = true; }
    };
    auto *below = new Probe(&reached, &window);
    below->setGeometry(window.rect());
    below->show();
    overlay->raise();
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(reached);
}

TEST_F(Overlays, SpinnerTurnsOnlyWhileShown)
{
    auto *spinner = new ActivitySpinner(ActivitySpinner::Size::large, Palette::accent(), &window, time.ticker);
    spinner->show();
    const int first = spinner->leadingSpoke();
    time.step(250ms);
    EXPECT_NE(spinner->leadingSpoke(), first);
    spinner->hide();
    EXPECT_FALSE(time.ticker.isRunning());
}

TEST_F(Overlays, InactiveCoverFrostsWhatLiesBeneathAndFollowsItsSize)
{
    auto *grid = new QWidget(&window);
    grid->setGeometry(window.rect());
    grid->setAutoFillBackground(true);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Window, Qt::red);
    grid->setPalette(palette);
    grid->show();

    auto *cover = new InactiveCover(grid, time.ticker);
    cover->show();
    time.step(400ms);
    EXPECT_EQ(cover->geometry(), grid->rect());
    ASSERT_FALSE(cover->frosted().isNull());
    // The copy is of the grid, not of the cover drawn over it.
    EXPECT_EQ(QColor(cover->frosted().pixel(3, 3)), QColor(Qt::red));

    grid->resize(400, 300);
    EXPECT_EQ(cover->size(), QSize(400, 300));

    QPointer<InactiveCover> watched = cover;
    cover->leave();
    time.step(400ms);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(watched);
}

} // namespace
} // namespace pomelark
