#include "browsing/SelectionBar.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace pomelark {
namespace {

using Button = SelectionBar::Button;

struct BarHarness {
    QStringList calls;
    SelectionBar bar;

    explicit BarHarness(int count)
        : bar({count, [this] { calls << QStringLiteral("exclude"); }, [this] { calls << QStringLiteral("include"); },
               [this] { calls << QStringLiteral("clear"); }, [this] { calls << QStringLiteral("done"); }})
    {
    }
    void click(QPointF at)
    {
        QMouseEvent press(QEvent::MouseButtonPress, at, bar.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, at, bar.mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(&bar, &press);
        QApplication::sendEvent(&bar, &release);
    }
};

TEST(SelectionBarTest, NothingSelectedShowsTheHintAndMutesIncludeAndExclude)
{
    BarHarness h(0);
    EXPECT_EQ(h.bar.statusText(), QStringLiteral("Select photos to exclude"));
    EXPECT_TRUE(h.bar.buttonFrame(Button::clear).isEmpty());
    EXPECT_FALSE(h.bar.isButtonEnabled(Button::include));
    EXPECT_FALSE(h.bar.isButtonEnabled(Button::exclude));
    h.click(h.bar.buttonFrame(Button::include).center());
    h.click(h.bar.buttonFrame(Button::exclude).center());
    h.click(h.bar.buttonFrame(Button::done).center());
    EXPECT_EQ(h.calls, QStringList{QStringLiteral("done")});
}

TEST(SelectionBarTest, EachButtonCallsItsOneAction)
{
    BarHarness h(1);
    EXPECT_EQ(h.bar.statusText(), QStringLiteral("1 selected"));
    for (Button button : {Button::clear, Button::include, Button::exclude, Button::done})
        h.click(h.bar.buttonFrame(button).center());
    EXPECT_EQ(h.calls, (QStringList{QStringLiteral("clear"), QStringLiteral("include"), QStringLiteral("exclude"),
                                    QStringLiteral("done")}));

    // Inside the Include capsule but beside its text still counts; a press that
    // ends on another button counts for neither.
    h.calls.clear();
    const QRectF include = h.bar.buttonFrame(Button::include);
    h.click({include.left() + 8, include.center().y()});
    QMouseEvent press(QEvent::MouseButtonPress, include.center(), include.center(), Qt::LeftButton, Qt::LeftButton, {});
    const QPointF elsewhere = h.bar.buttonFrame(Button::done).center();
    QMouseEvent release(QEvent::MouseButtonRelease, elsewhere, elsewhere, Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(&h.bar, &press);
    QApplication::sendEvent(&h.bar, &release);
    EXPECT_EQ(h.calls, QStringList{QStringLiteral("include")});
}

TEST(SelectionBarTest, TheBarGrowsWithItsCountAndLeavesTheGapBelowClickThrough)
{
    BarHarness h(3);
    const int narrow = h.bar.sizeHint().width();
    h.bar.setCount(1'234'567);
    EXPECT_GT(h.bar.sizeHint().width(), narrow);
    EXPECT_EQ(h.bar.size(), h.bar.sizeHint());
    // The 20 px under the capsule belong to whatever lies behind.
    EXPECT_EQ(h.bar.sizeHint().height() - h.bar.capsuleRect().height(), 20);
    EXPECT_FALSE(h.bar.mask().contains(QPoint(h.bar.width() / 2, h.bar.height() - 5)));
    EXPECT_TRUE(h.bar.mask().contains(QPoint(h.bar.width() / 2, 5)));
}

} // namespace
} // namespace pomelark
