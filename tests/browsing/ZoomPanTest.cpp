#include "browsing/ZoomPan.h"

#include <gtest/gtest.h>

#include <limits>

namespace pomelark {
namespace {

ZoomPan panel600x400()
{
    ZoomPan state;
    state.setPanelSize({600, 400});
    return state;
}

TEST(ZoomPanTest, PinchesEndWithinOneToEightAndZoomingBackToOneRecentres)
{
    ZoomPan state = panel600x400();
    state.commitZoom(3);
    state.commitPan({200, -100});
    ASSERT_EQ(state.pan(), QPointF(200, -100));

    state.setGestureZoom(0.2);
    EXPECT_DOUBLE_EQ(state.effectiveZoom(), 1.0); // shown clamped while pinching
    state.commitZoom(0.2);
    EXPECT_DOUBLE_EQ(state.zoom(), 1.0);
    EXPECT_DOUBLE_EQ(state.gestureZoom(), 1.0);
    EXPECT_EQ(state.pan(), QPointF());

    state.setGestureZoom(20);
    EXPECT_DOUBLE_EQ(state.effectiveZoom(), 8.0);
    state.commitZoom(20);
    EXPECT_DOUBLE_EQ(state.zoom(), 8.0);

    // A broken gesture value must not poison the state.
    state.commitZoom(std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(state.zoom(), 1.0);
}

TEST(ZoomPanTest, PanStopsWhereThePictureStillCoversThePanel)
{
    ZoomPan state = panel600x400();
    state.commitZoom(2);
    state.commitPan({1000, -1000});
    EXPECT_EQ(state.pan(), QPointF(300, -200));
    EXPECT_EQ(state.panInFlight(), QPointF());

    // A drag in progress shows only as far as the limits allow, from the committed pan.
    state.setPanInFlight({-50, 900});
    EXPECT_EQ(state.effectivePan(), QPointF(250, 200));
    EXPECT_TRUE(state.scrollBy({-700, 0}));
    EXPECT_EQ(state.pan(), QPointF(-300, -200));
}

TEST(ZoomPanTest, AtOneTimesNothingMovesAndScrollsPassOn)
{
    ZoomPan state = panel600x400();
    state.commitPan({120, 80});
    EXPECT_EQ(state.pan(), QPointF());
    EXPECT_FALSE(state.scrollBy({0, 40}));
    EXPECT_EQ(state.pan(), QPointF());
}

TEST(ZoomPanTest, ZoomingOutWhilePannedToACornerPullsThePictureBackInside)
{
    ZoomPan state = panel600x400();
    state.commitZoom(4);
    state.commitPan({2000, 2000});
    ASSERT_EQ(state.pan(), QPointF(900, 600));
    // While the pinch runs the displayed pan already keeps the 2× limits.
    state.setGestureZoom(0.5);
    EXPECT_EQ(state.effectivePan(), QPointF(300, 200));
    state.commitZoom(0.5);
    EXPECT_DOUBLE_EQ(state.zoom(), 2.0);
    EXPECT_EQ(state.pan(), QPointF(300, 200));
}

TEST(ZoomPanTest, ResetReturnsToOneTimesCentredWithNoGesture)
{
    ZoomPan state = panel600x400();
    state.commitZoom(3);
    state.commitPan({100, 100});
    state.setGestureZoom(1.5);
    state.setPanInFlight({10, 10});
    state.reset();
    EXPECT_DOUBLE_EQ(state.effectiveZoom(), 1.0);
    EXPECT_EQ(state.effectivePan(), QPointF());
    EXPECT_EQ(state.panelSize(), QSizeF(600, 400));
}

} // namespace
} // namespace pomelark
