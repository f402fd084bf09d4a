#include "look/HiddenShortcuts.h"
#include "look/ItemOverlayBackdrop.h"

#include "support/SteppedTime.h"
#include "support/WidgetEvents.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class ItemOverlayBackdropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::showActive(window, {600, 400}));
        overlay = new ItemOverlayBackdrop([this] { ++closes; }, &window, OverlayLayer::defaultFade(), time.ticker);
        overlay->show();
        time.step(500ms);
    }

    test::SteppedTime time;
    QWidget window;
    ItemOverlayBackdrop *overlay = nullptr;
    int closes = 0;
};

TEST_F(ItemOverlayBackdropTest, ClickOnTheDarkRoomClosesAndClicksTakenOnTopDoNot)
{
    int pressed = 0;
    auto *button = new QPushButton(QStringLiteral("Next"), overlay);
    button->setGeometry(10, 10, 80, 30);
    QObject::connect(button, &QPushButton::clicked, [&] { ++pressed; });
    button->show();
    // A plain container takes no clicks, so its empty room still counts as backdrop.
    auto *row = new QWidget(overlay);
    row->setGeometry(0, 300, 600, 50);
    row->show();

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(closes, 0);
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(300, 20));
    EXPECT_EQ(closes, 1);
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(300, 150));
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(overlay->geometry(), window.rect());
}

TEST_F(ItemOverlayBackdropTest, ShortcutsRunByKeyOnlyWhileSwitchedOnAndNotOnTheWayOut)
{
    int lefts = 0;
    overlay->addShortcut(QStringLiteral("Prev"), QKeySequence(Qt::Key_Left), [&] { ++lefts; });
    overlay->addShortcut(QStringLiteral("Close"), QKeySequence(Qt::Key_Escape), [&] { ++closes; });
    EXPECT_EQ(overlay->shortcuts()->size(), QSize(0, 0));

    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_EQ(lefts, 1);
    overlay->shortcuts()->setEnabled(QStringLiteral("Prev"), false);
    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_FALSE(overlay->shortcuts()->trigger(QStringLiteral("Prev")));
    EXPECT_EQ(lefts, 1);
    // With a modifier the key is someone else's.
    overlay->shortcuts()->setEnabled(QStringLiteral("Prev"), true);
    QTest::keyClick(&window, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(lefts, 1);

    overlay->leave();
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(300, 150));
    EXPECT_EQ(closes, 0);
}

} // namespace
} // namespace pomelark
