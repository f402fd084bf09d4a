#include "support/SteppedTime.h"

#include "look/MotionPainter.h"
#include "look/TuppoHop.h"
#include "look/TuppoMotionView.h"
#include "look/TuppoWiggle.h"

#include <QMoveEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace std::chrono_literals;

namespace {

constexpr double frameSeconds = 1.0 / 60;

class MotionViewTest : public testing::Test {
protected:
    MotionViewTest() : pauser(time.clock) {}

    void showAndSettle(QWidget &widget)
    {
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        QCoreApplication::processEvents();
        // Showing the window may have reported a move: let it settle.
        time.clock.advance(1s);
        pauser.settle();
    }

    // A drag of the view's window pauses every motion until it settles.
    void startDrag(QWidget &widget)
    {
        QMoveEvent move(QPoint(40, 40), QPoint(0, 0));
        QCoreApplication::sendEvent(widget.windowHandle(), &move);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    test::SteppedTime time;
    MascotPauser pauser;
};

// Whether anything opaque was drawn outside `inside` on `image`.
bool drawsOutside(const QImage &image, const QRect &inside)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > 8 && !inside.contains(x, y))
                return true;
        }
    }
    return false;
}

} // namespace

TEST_F(MotionViewTest, KindChangeRestartsTheClockAndOtherChangesDoNot)
{
    TuppoMotionView view(TuppoMotionKind::Hop, u"lavender"_qs, 4, nullptr, time.ticker, pauser);
    showAndSettle(view);
    const double base = view.shownElapsed();
    time.step(1s);
    EXPECT_NEAR(view.shownElapsed() - base, 1.0, frameSeconds);

    view.setKind(TuppoMotionKind::Nod);
    EXPECT_EQ(view.shownElapsed(), 0);
    time.step(500ms);
    EXPECT_NEAR(view.shownElapsed(), 0.5, frameSeconds);

    view.setKind(TuppoMotionKind::Nod);
    view.setPaletteName(u"mint"_qs);
    view.setPixelSize(3);
    time.step(500ms);
    EXPECT_NEAR(view.shownElapsed(), 1.0, frameSeconds);

    view.setKind(TuppoMotionKind::Hop);
    EXPECT_EQ(view.shownElapsed(), 0);
    EXPECT_EQ(view.sizeHint(), QSizeF(18 * 3 + 2 * 2, 22 * 3 + (64 - 2.8 * 3) + 3).toSize());
}

TEST_F(MotionViewTest, PausedViewKeepsItsLastFrameAndResumesAtTheCurrentTime)
{
    TuppoMotionView view(TuppoMotionKind::Blow, u"lavender"_qs, 4, nullptr, time.ticker, pauser);
    showAndSettle(view);
    time.step(1200ms);
    const double before = view.shownElapsed();
    const QImage shownBefore = view.grab().toImage();

    startDrag(view);
    ASSERT_TRUE(pauser.paused());
    time.step(300ms);
    EXPECT_EQ(view.shownElapsed(), before);
    // A repaint while paused draws the same pose, not the current time's.
    EXPECT_EQ(view.grab().toImage(), shownBefore);

    time.step(100ms);
    pauser.settle();
    ASSERT_FALSE(pauser.paused());
    // Time passed while paused is not subtracted.
    EXPECT_NEAR(view.shownElapsed(), before + 0.4, frameSeconds);
}

TEST_F(MotionViewTest, HiddenViewsTakeNoFramesAndTheWiggleRunsAtThirty)
{
    TuppoWiggle wiggle(u"pink"_qs, 4, false, nullptr, time.ticker, pauser);
    int frames = 0;
    showAndSettle(wiggle);
    double last = wiggle.shownElapsed();
    for (int i = 0; i < 60; ++i) {
        time.step(std::chrono::nanoseconds(1s) / 60);
        if (wiggle.shownElapsed() != last)
            ++frames;
        last = wiggle.shownElapsed();
    }
    EXPECT_NEAR(frames, 30, 1);

    wiggle.hide();
    time.step(500ms);
    EXPECT_EQ(wiggle.shownElapsed(), last);
    EXPECT_FALSE(time.ticker.isRunning());
}

TEST_F(MotionViewTest, HopAndWiggleKeepTheirLensChoice)
{
    TuppoHop bare(u"lavender"_qs, 4, false, nullptr, time.ticker, pauser);
    EXPECT_FALSE(bare.showLens());
    TuppoMotionView view(TuppoMotionKind::Wiggle, u"lavender"_qs, 4, nullptr, time.ticker, pauser);
    EXPECT_TRUE(view.showLens());
}

// Everything a motion draws, over its whole loop, stays inside the widget.
TEST(MotionPainterTest, NothingIsClippedAtAnyTime)
{
    const PixelPalette &palette = paletteNamed(u"butter"_qs);
    for (TuppoMotionKind kind : allMotionKinds()) {
        for (qreal px : {1.0, 2.0, 4.0, 6.0, 8.0}) {
            SCOPED_TRACE(rawValue(kind).toStdString() + " at " + std::to_string(px));
            const QMarginsF bleed = MotionPainter::bleed(kind, px);
            const QSizeF frame = MotionPainter::frameSize(kind, px);
            const QSizeF widget(frame.width() + bleed.left() + bleed.right(),
                                frame.height() + bleed.top() + bleed.bottom());
            constexpr int margin = 60;
            QImage canvas((widget + QSizeF(2 * margin, 2 * margin)).toSize(), QImage::Format_ARGB32_Premultiplied);
            const QRect inside(QPoint(margin, margin), widget.toSize());
            for (double t = 0; t < 7.4; t += 0.047) {
                canvas.fill(Qt::transparent);
                QPainter painter(&canvas);
                painter.translate(margin + bleed.left(), margin + bleed.top());
                MotionPainter::paint(painter, QRectF(QPointF(), frame), kind, t, palette, px);
                painter.end();
                ASSERT_FALSE(drawsOutside(canvas, inside)) << "t " << t;
            }
        }
    }
}
