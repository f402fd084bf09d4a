#include "support/SteppedTime.h"

#include "look/CountLabel.h"
#include "look/IconBtn.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/SelectToggle.h"
#include "look/ShadowUnderlay.h"
#include "look/ToolIconBtn.h"
#include "look/TooltipBubble.h"
#include "look/TooltipPlacement.h"
#include "look/TuppoTooltip.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace std::chrono_literals;

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(520, 360);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        pointerAt({500, 340}); // start outside every control
    }

    template <typename Widget>
    Widget *place(Widget *widget, QPoint at)
    {
        widget->move(at);
        widget->resize(widget->sizeHint());
        widget->show();
        return widget;
    }

    // Real pointer moves through the window, so Qt itself sends enter and leave.
    void pointerAt(QPoint inWindow) { QTest::mouseMove(window.windowHandle(), inWindow); }
    void pointerInto(QWidget *w) { pointerAt(w->mapTo(&window, w->rect().center())); }
    void pointerOut() { pointerAt({500, 340}); }

    test::SteppedTime time;
    QWidget window;
};

} // namespace

TEST_F(Controls, NoTipForAPassShorterThanTheDelay)
{
    auto *button = place(new ToolIconBtn(QStringLiteral("rotate.right"), QStringLiteral("Stand photos up"), true, {},
                                         &window, time.ticker),
                         {40, 40});
    pointerInto(button);
    EXPECT_TRUE(button->isHover());
    EXPECT_TRUE(button->tooltip()->isWaiting());
    time.step(250ms);
    pointerOut();
    time.step(500ms);
    EXPECT_FALSE(button->tooltip()->showTip());
    EXPECT_EQ(button->tooltip()->bubble(), nullptr);
    EXPECT_FALSE(time.ticker.isRunning());
}

TEST_F(Controls, TipAppearsAtTheDelayBelowTheTrailingCornerAndFades)
{
    auto *button = place(new ToolIconBtn(QStringLiteral("square.on.square"), QStringLiteral("Tidy similar shots"),
                                         true, {}, &window, time.ticker),
                         {200, 40});
    pointerInto(button);
    time.step(288ms);
    EXPECT_FALSE(button->tooltip()->showTip());
    time.step(16ms);
    ASSERT_TRUE(button->tooltip()->showTip());
    TooltipBubble *bubble = button->tooltip()->bubble();
    ASSERT_NE(bubble, nullptr);
    EXPECT_LT(bubble->bubbleOpacity(), 0.5); // fading in
    time.step(160ms);
    EXPECT_EQ(bubble->bubbleOpacity(), 1.0);

    const QRect control(button->mapTo(&window, QPoint(0, 0)), button->size());
    EXPECT_DOUBLE_EQ(bubble->bubbleRect().right(), control.x() + control.width());
    EXPECT_DOUBLE_EQ(bubble->bubbleRect().bottom(), control.y() + control.height() + TuppoTooltip::offsetBelow);
    EXPECT_TRUE(bubble->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(bubble->parentWidget(), &window);

    pointerOut();
    EXPECT_FALSE(button->tooltip()->showTip());
    time.step(48ms);
    ASSERT_NE(button->tooltip()->bubble(), nullptr); // still fading out
    EXPECT_LT(bubble->bubbleOpacity(), 1.0);
    EXPECT_GT(bubble->bubbleOpacity(), 0.0);
    time.step(120ms);
    EXPECT_EQ(button->tooltip()->bubble(), nullptr);
}

TEST_F(Controls, EnteringAgainRestartsTheWholeDelay)
{
    auto *button = place(new IconBtn(QStringLiteral("gearshape"), QStringLiteral("Settings"), 38, 19, 12, {}, &window,
                                     time.ticker),
                         {40, 40});
    pointerInto(button);
    time.step(200ms);
    pointerOut();
    pointerInto(button);
    time.step(200ms);
    EXPECT_FALSE(button->tooltip()->showTip()); // 400 ms in all, but only 200 since entering
    time.step(112ms);
    EXPECT_TRUE(button->tooltip()->showTip());
}

TEST_F(Controls, TipFollowsItsControlUnderARestingPointerAndGoesWhenTheControlMovesAway)
{
    // Qt tells a control of the pointer only when the pointer moves; here only the control moves.
    auto *holder = new QWidget(&window);
    holder->setGeometry(100, 60, 200, 200);
    holder->show();
    auto *button = place(new IconBtn(QStringLiteral("chevron.right"), QStringLiteral("Next"), 38, 19, 12, {}, holder,
                                     time.ticker),
                         {20, 20});
    pointerAt(button->mapTo(&window, QPoint(5, 5)));
    pointerAt(button->mapTo(&window, QPoint(30, 30)));
    time.step(320ms);
    TuppoTooltip *tip = button->tooltip();
    ASSERT_NE(tip->bubble(), nullptr);
    const auto underButton = [&] {
        const QRectF control(button->mapTo(&window, QPoint(0, 0)), button->size());
        return tip->bubble() && tip->bubble()->bubbleRect().right() == control.right()
            && tip->bubble()->bubbleRect().bottom() == control.bottom() + TuppoTooltip::offsetBelow;
    };

    button->move(16, 16);
    EXPECT_TRUE(tip->showTip());
    EXPECT_TRUE(underButton()) << "moved by itself";
    holder->move(98, 58);
    EXPECT_TRUE(underButton()) << "moved with what it lies in";

    holder->move(78, 58); // the pointer, last seen at (30, 30) rather than where it came in, is now past its edge
    EXPECT_FALSE(tip->showTip());
    EXPECT_FALSE(button->isHover());
    time.step(160ms);
    EXPECT_EQ(tip->bubble(), nullptr);

    holder->move(98, 58); // back under the pointer: a new wait, as on entering
    EXPECT_TRUE(button->isHover());
    EXPECT_TRUE(tip->isWaiting());
    time.step(320ms);
    EXPECT_TRUE(underButton());

    // Qt tells the pointer's leave while the button is half destroyed: nothing of it may start to move then.
    delete button;
    EXPECT_FALSE(time.ticker.isRunning());
}

TEST_F(Controls, DisabledToolButtonShowsNoHoverIgnoresClicksButShowsItsTip)
{
    auto *button = place(new ToolIconBtn(QStringLiteral("rotate.right"), QStringLiteral("Stand photos up"), false, {},
                                         &window, time.ticker),
                         {40, 40});
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    pointerInto(button);
    EXPECT_FALSE(button->isHover());
    time.step(320ms);
    EXPECT_EQ(button->hoverProgress(), 0.0);
    EXPECT_EQ(button->fillColor().rgba(), Palette::surface().rgba());
    EXPECT_TRUE(button->tooltip()->showTip());
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, button->mapTo(&window, button->rect().center()));
    EXPECT_EQ(clicks.count(), 0);

    // Enabled under a resting pointer, it takes the hover look at once.
    button->setEnabled(true);
    EXPECT_TRUE(button->isHover());
    time.step(160ms);
    EXPECT_EQ(button->fillColor().rgba(), Palette::accentSoft().rgba());
    EXPECT_EQ(button->strokeColor().rgba(), Palette::accent().rgba());
}

TEST_F(Controls, PressDraggedOutAndBackIn)
{
    int actions = 0;
    auto *button = place(new PomelarkButton(ButtonStyle::primary(), QStringLiteral("Send"), QStringLiteral("paperplane"),
                                            [&] { ++actions; }, &window, time.ticker),
                         {40, 120});
    const QPoint inside = button->mapTo(&window, button->rect().center());
    const QPoint outside = inside + QPoint(0, 80);

    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, inside);
    time.step(160ms);
    EXPECT_DOUBLE_EQ(button->drawnScale(), 0.97);
    EXPECT_EQ(button->drawnFill().rgba(), Palette::accentDeep().rgba());

    QTest::mouseMove(window.windowHandle(), outside);
    EXPECT_FALSE(button->isDown());
    time.step(64ms);
    EXPECT_GT(button->drawnScale(), 0.97); // easing back out
    time.step(100ms);
    EXPECT_DOUBLE_EQ(button->drawnScale(), 1.0);

    QTest::mouseMove(window.windowHandle(), inside);
    EXPECT_TRUE(button->isDown());
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(actions, 1);

    // Let go outside: no action.
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, inside);
    QTest::mouseMove(window.windowHandle(), outside);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, outside);
    EXPECT_EQ(actions, 1);
}

TEST_F(Controls, ButtonStylesDimScaleAndFillAsTheirStyleSays)
{
    auto *primary = place(new PomelarkButton(ButtonStyle::primary(), QStringLiteral("Go"), {}, {}, &window, time.ticker), {10, 10});
    auto *secondary = place(new PomelarkButton(ButtonStyle::secondary(), QStringLiteral("Go"), {}, {}, &window, time.ticker), {10, 60});
    auto *ghost = place(new PomelarkButton(ButtonStyle::ghost(), QStringLiteral("Go"), {}, {}, &window, time.ticker), {10, 110});
    for (PomelarkButton *b : {primary, secondary, ghost}) {
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
        b->setEnabled(false);
    }
    EXPECT_DOUBLE_EQ(primary->drawnOpacity(), 0.45);
    EXPECT_DOUBLE_EQ(secondary->drawnOpacity(), 0.45);
    EXPECT_DOUBLE_EQ(ghost->drawnOpacity(), 1.0);

    secondary->setEnabled(true);
    ghost->setEnabled(true);
    QTest::mousePress(secondary, Qt::LeftButton);
    QTest::mousePress(ghost, Qt::LeftButton);
    time.step(160ms);
    EXPECT_EQ(secondary->drawnFill().rgba(), Palette::accentSoft().rgba());
    EXPECT_DOUBLE_EQ(secondary->drawnScale(), 0.97);
    EXPECT_EQ(ghost->drawnFill().rgba(), Palette::accentSoft().rgba());
    EXPECT_DOUBLE_EQ(ghost->drawnScale(), 1.0);
    QTest::mouseRelease(secondary, Qt::LeftButton);
    QTest::mouseRelease(ghost, Qt::LeftButton);

    // Sizes follow the label and padding, in pixel-sized fonts.
    EXPECT_EQ(primary->font().pixelSize(), 14);
    EXPECT_EQ(ghost->font().pixelSize(), 12);
    EXPECT_GT(primary->sizeHint().height(), 14 + 20);
    EXPECT_LT(primary->sizeHint().height(), 14 + 20 + 8);
}

TEST_F(Controls, PrimaryShadowLiesJustBelowTheButtonAndFollowsIt)
{
    auto *button = place(new PomelarkButton(ButtonStyle::primary(), QStringLiteral("Send"), {}, {}, &window, time.ticker), {100, 100});
    const auto underlays = window.findChildren<ShadowUnderlay *>();
    ASSERT_EQ(underlays.size(), 1);
    ShadowUnderlay *shadow = underlays.first();
    EXPECT_TRUE(shadow->geometry().contains(button->geometry()));
    EXPECT_GT(shadow->width(), button->width());
    EXPECT_TRUE(shadow->testAttribute(Qt::WA_TransparentForMouseEvents));
    const auto children = window.children();
    EXPECT_EQ(children.indexOf(shadow) + 1, children.indexOf(button)); // stacked right under it
    button->move(150, 150);
    EXPECT_EQ(shadow->geometry().center(), button->geometry().center());
    button->hide();
    EXPECT_FALSE(shadow->isVisible());
    delete button;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.findChildren<ShadowUnderlay *>().isEmpty());

    // No shadow for the secondary style.
    place(new PomelarkButton(ButtonStyle::secondary(), QStringLiteral("Send"), {}, {}, &window, time.ticker), {10, 10});
    EXPECT_TRUE(window.findChildren<ShadowUnderlay *>().isEmpty());
}

TEST_F(Controls, SelectToggleStatesAndTips)
{
    auto *toggle = place(new SelectToggle(false, true, {}, &window, time.ticker), {40, 40});
    EXPECT_EQ(toggle->iconColor().rgba(), Palette::ink().rgba());
    EXPECT_EQ(toggle->tooltip()->text(), QStringLiteral("Select several — choose which to drop or re-add"));
    pointerInto(toggle);
    time.step(160ms);
    EXPECT_EQ(toggle->iconColor().rgba(), Palette::accentDeep().rgba());
    EXPECT_EQ(toggle->fillColor().rgba(), Palette::accentSoft().rgba());

    toggle->setActive(true);
    EXPECT_EQ(toggle->tooltip()->text(), QStringLiteral("Done selecting"));
    time.step(160ms);
    EXPECT_EQ(toggle->iconColor().rgba(), QColor(Qt::white).rgba());
    EXPECT_EQ(toggle->fillColor().rgba(), Palette::accent().rgba());
    pointerOut();
    time.step(160ms);
    EXPECT_EQ(toggle->fillColor().rgba(), Palette::accent().rgba()); // same hovered or not
    EXPECT_EQ(toggle->strokeColor().rgba(), Palette::accent().rgba());
}

TEST_F(Controls, IconButtonFillsUnderThePointerAndLongTipsStayOnOneLine)
{
    const QString longHelp = QStringLiteral("Tidy similar shots — keep just the best of each burst");
    auto *button = place(new IconBtn(QStringLiteral("folder"), longHelp, 26, 16, 8, {}, &window, time.ticker), {40, 40});
    EXPECT_EQ(button->sizeHint(), QSize(26, 26));
    EXPECT_EQ(button->fillColor().alpha(), 0);
    pointerInto(button);
    time.step(320ms);
    EXPECT_EQ(button->fillColor().rgba(), Palette::accentSoft().rgba());
    EXPECT_EQ(button->iconColor().rgba(), Palette::accentDeep().rgba());
    TooltipBubble *bubble = button->tooltip()->bubble();
    ASSERT_NE(bubble, nullptr);
    EXPECT_GT(bubble->bubbleRect().width(), 4 * button->width());
    EXPECT_LT(bubble->bubbleRect().height(), 30); // one line of 11 px text and padding
}

TEST(TooltipPlacement, BelowWhereItFitsElseAboveOrBackInsideTheWindow)
{
    const QSizeF bubble(100, 24);
    const QRectF window(0, 0, 600, 500);
    const struct {
        const char *name;
        QRectF control;
        QRectF window;
        bool rightToLeft;
        QRectF expected;
    } cases[] = {
        {"room below", {300, 100, 40, 40}, window, false, {240, 154, 100, 24}},
        {"just fits below", {300, 422, 40, 40}, window, false, {240, 476, 100, 24}},
        {"bottom edge: above", {300, 440, 40, 40}, window, false, {240, 402, 100, 24}},
        {"leading edge", {10, 100, 40, 40}, window, false, {0, 154, 100, 24}},
        {"trailing edge, right to left", {560, 440, 40, 40}, window, true, {500, 402, 100, 24}},
        {"room neither below nor above", {300, 10, 40, 40}, {0, 0, 600, 60}, false, {240, 36, 100, 24}},
        {"wider than the window", {10, 10, 40, 40}, {0, 0, 80, 200}, false, {0, 64, 100, 24}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tooltipPlacement(c.control, bubble, c.window, c.rightToLeft, TuppoTooltip::offsetBelow), c.expected)
            << c.name;
}

TEST(CountLabel, MutedColours)
{
    CountLabel plain(QStringLiteral("photo.fill"), QStringLiteral("12 photos"));
    CountLabel muted(QStringLiteral("questionmark"), QStringLiteral("3 skipped"), true);
    EXPECT_EQ(plain.iconColor().rgba(), Palette::inkSecondary().rgba());
    EXPECT_EQ(plain.textColor().rgba(), Palette::ink().rgba());
    EXPECT_EQ(muted.iconColor().rgba(), Palette::inkTertiary().rgba());
    EXPECT_EQ(muted.textColor().rgba(), Palette::inkSecondary().rgba());
    EXPECT_GT(plain.sizeHint().width(), 15 + 6 + 30);
}
