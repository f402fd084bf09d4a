#include "look/ConfirmationFrame.h"
#include "look/PomelarkButton.h"

#include "support/SteppedTime.h"

#include <QLabel>
#include <QPointer>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class ConfirmationFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(800, 600);
        window.show();
    }

    ConfirmationFrame *makeFrame(qreal maxWidth = 400)
    {
        auto *frame = new ConfirmationFrame(maxWidth, [this] { ++cancels; }, &window, time.ticker);
        frame->panelLayout()->addWidget(new QLabel(QStringLiteral("Exclude the 3 selected?")));
        confirm = frame->addButtonRow(QStringLiteral("Cancel"), QStringLiteral("Exclude"), [this] { ++confirms; });
        frame->show();
        time.step(500ms);
        return frame;
    }

    test::SteppedTime time;
    QWidget window;
    PomelarkButton *confirm = nullptr;
    int cancels = 0;
    int confirms = 0;
};

TEST_F(ConfirmationFrameTest, ClickOnBackdropCancelsOnceAndClickOnCardDoesNothing)
{
    ConfirmationFrame *frame = makeFrame();
    const QRect card = frame->panelGeometry();
    QTest::mouseClick(frame->panel(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(cancels, 0);
    QTest::mouseClick(frame, Qt::LeftButton, {}, card.topLeft() - QPoint(10, 10));
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(confirms, 0);
    QTest::mouseClick(confirm, Qt::LeftButton);
    EXPECT_EQ(confirms, 1);
    EXPECT_EQ(cancels, 1);
}

TEST_F(ConfirmationFrameTest, CardIsCentredAtMostItsWidthAndKeepsItsMarginInANarrowWindow)
{
    ConfirmationFrame *frame = makeFrame(400);
    EXPECT_EQ(frame->geometry(), window.rect());
    QRect card = frame->panelGeometry();
    EXPECT_EQ(card.width(), 400);
    EXPECT_NEAR(card.center().x(), window.width() / 2, 1);
    EXPECT_NEAR(card.center().y(), window.height() / 2, 1);

    window.resize(300, 600);
    card = frame->panelGeometry();
    EXPECT_EQ(frame->width(), 300);
    EXPECT_EQ(card.left(), ConfirmationFrame::windowMargin);
    EXPECT_EQ(card.width(), 300 - 2 * ConfirmationFrame::windowMargin);
}

TEST_F(ConfirmationFrameTest, FadesInThenLeavesByFadingOutAndDeletingItself)
{
    auto *frame = new ConfirmationFrame(400, [] {}, &window, time.ticker);
    frame->show();
    EXPECT_LT(frame->presence(), 0.01);
    time.step(500ms);
    EXPECT_DOUBLE_EQ(frame->presence(), 1.0);

    QPointer<ConfirmationFrame> watched = frame;
    frame->leave();
    frame->leave();
    time.step(100ms);
    ASSERT_TRUE(watched);
    EXPECT_GT(frame->presence(), 0.0);
    EXPECT_LT(frame->presence(), 1.0);
    time.step(500ms);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(watched);
}

TEST_F(ConfirmationFrameTest, TapsAndKeysDuringTheWayOutAreIgnored)
{
    ConfirmationFrame *frame = makeFrame();
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), frame);
    frame->leave();
    QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(cancels, 0);
    EXPECT_FALSE(escape->isEnabled());
}

} // namespace
} // namespace pomelark
