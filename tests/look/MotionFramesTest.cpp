#include "look/HopWiggleMotion.h"
#include "look/MotionFrame.h"
#include "look/OtherMotions.h"
#include "look/PeekNodSnipMotion.h"
#include "look/PixelCharacter.h"
#include "look/TuppoMotionKind.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace pomelark;

namespace {

constexpr double tol = 1e-3;
constexpr qreal px = 4;

double at(double ms)
{
    return ms / 1000.0;
}

void expectSamePose(const MotionFrame &a, const MotionFrame &b, double tolerance = 1e-6)
{
    EXPECT_EQ(a.expr, b.expr);
    EXPECT_NEAR(a.sx, b.sx, tolerance);
    EXPECT_NEAR(a.sy, b.sy, tolerance);
    EXPECT_NEAR(a.tx, b.tx, tolerance);
    EXPECT_NEAR(a.ty, b.ty, tolerance);
    EXPECT_NEAR(a.rot, b.rot, tolerance);
    ASSERT_EQ(a.accessories.size(), b.accessories.size());
    for (size_t i = 0; i < a.accessories.size(); ++i) {
        EXPECT_NEAR(a.accessories[i].opacity, b.accessories[i].opacity, tolerance) << "accessory " << i;
        EXPECT_NEAR(a.accessories[i].x, b.accessories[i].x, tolerance);
        EXPECT_NEAR(a.accessories[i].y, b.accessories[i].y, tolerance);
        EXPECT_NEAR(a.accessories[i].scale, b.accessories[i].scale, tolerance);
        EXPECT_NEAR(a.accessories[i].rotation, b.accessories[i].rotation, tolerance);
    }
}

struct BodyMotion {
    const char *name;
    std::function<MotionFrame(double, qreal)> frame;
    double period;     // after which every value repeats
    double settledAt;  // from when (delays passed)
    size_t accessories;
    qreal headroom;
};

const std::vector<BodyMotion> &bodyMotions()
{
    static const std::vector<BodyMotion> motions{
        {"hum", Motions::hum, 26.0, 1.7, 3, 7},  // notes loop 2.6 s, sway 2 s
        {"blow", Motions::blow, 2.8, 0, 4, 7},
        {"stamp", Motions::stamp, 2.0, 0, 4, 9},
        {"stretch", Motions::stretch, 2.9, 0, 3, 9},
        {"doze", Motions::doze, 3.4, 0, 3, 7},
        {"aww", Motions::aww, 1.8, 0, 1, 7},
        {"search", [](double t, qreal p) { return Motions::search(t, p).frame; }, 3.4, 0, 0, 7},
    };
    return motions;
}

} // namespace

TEST(MotionKinds, NamesOrderAndLookUp)
{
    const auto &all = allMotionKinds();
    ASSERT_EQ(all.size(), 12u);
    EXPECT_EQ(all.front(), TuppoMotionKind::Hop);
    EXPECT_EQ(all.back(), TuppoMotionKind::Aww);
    QStringList names;
    for (TuppoMotionKind kind : all) {
        names << rawValue(kind);
        EXPECT_EQ(motionKindFromRawValue(rawValue(kind)), kind);
    }
    EXPECT_EQ(names.join(u','), u"hop,wiggle,peek,hum,blow,stamp,stretch,snip,search,nod,doze,aww"_qs);
    EXPECT_FALSE(motionKindFromRawValue(u"Hop").has_value());
    EXPECT_FALSE(motionKindFromRawValue(u"").has_value());

    EXPECT_EQ(paletteNamed(u"mint"_qs), PixelCharacter::mascotPalettes().value(u"mint"_qs));
    EXPECT_EQ(paletteNamed(u"plaid"_qs), PixelCharacter::mascotPalettes().value(u"lavender"_qs));
}

TEST(MotionClock, LoopPositionStaysInsideEveryTable)
{
    EXPECT_NEAR(loopMilliseconds(2.5, 2.3), 200, 1e-9);
    // A negative elapsed time (a clock set back) still lands inside the loop.
    EXPECT_NEAR(loopMilliseconds(-0.1, 2.3), 2200, 1e-9);
    expectSamePose(Motions::blow(-0.2, px), Motions::blow(2.6, px));
    EXPECT_EQ(hopState(-0.1).expression, u"happy"_qs);
    // Right at a period's end, rounding can reach the end itself: the last row holds.
    for (double period : {2.3, 2.9, 3.4, 7.34}) {
        const double justBefore = std::nextafter(period, 0.0);
        EXPECT_LE(loopMilliseconds(justBefore, period), period * 1000);
        EXPECT_GE(loopMilliseconds(justBefore, period), period * 1000 - 1e-6);
    }
    const HopState end = hopState(std::nextafter(2.3, 0.0));
    EXPECT_EQ(end.expression, u"happy"_qs);
    EXPECT_DOUBLE_EQ(end.scaleY, 1);
    EXPECT_EQ(wiggleFrame(std::nextafter(7.34, 0.0)).expression, u"blink"_qs);
    EXPECT_EQ(Motions::stretch(std::nextafter(2.9, 0.0), px).expr, u"happy"_qs);
}

TEST(HopMotion, PosesAtTheListedTimes)
{
    const HopState start = hopState(0);
    EXPECT_EQ(start.expression, u"happy"_qs);
    EXPECT_NEAR(start.offsetY, 0, tol);
    EXPECT_NEAR(start.scaleX, 1, tol);
    EXPECT_NEAR(start.scaleY, 1, tol);
    EXPECT_NEAR(start.shadowScaleX, 1, tol);
    EXPECT_NEAR(start.shadowOpacity, 0.18, tol);

    const HopState top = hopState(at(1450));
    EXPECT_EQ(top.expression, u"blink"_qs);
    EXPECT_NEAR(top.offsetY, -58, tol);
    EXPECT_NEAR(top.scaleX, 1, tol);
    EXPECT_NEAR(top.scaleY, 1, tol);
    EXPECT_NEAR(top.shadowScaleX, 0.66, tol);
    EXPECT_NEAR(top.shadowOpacity, 0.08, tol);

    const HopState landing = hopState(at(1750));
    EXPECT_EQ(landing.expression, u"blink"_qs);
    EXPECT_NEAR(landing.scaleX, 1.1, tol);
    EXPECT_NEAR(landing.scaleY, 0.88, tol);
    EXPECT_EQ(hopState(at(1900)).expression, u"happy"_qs);

    const HopState again = hopState(2.3);
    EXPECT_EQ(again.expression, start.expression);
    EXPECT_NEAR(again.scaleY, start.scaleY, 1e-9);
    EXPECT_NEAR(again.offsetY, start.offsetY, 1e-9);
}

TEST(HopMotion, TheCrouchSnapsIntoTheJumpAndTheLandingIsContinuous)
{
    const HopState crouchEnd = hopState(at(1149.999));
    const HopState jumpStart = hopState(at(1150));
    EXPECT_NEAR(crouchEnd.scaleX, 1.16, tol);
    EXPECT_NEAR(crouchEnd.scaleY, 0.8, tol);
    EXPECT_NEAR(jumpStart.scaleX, 0.9, tol);
    EXPECT_NEAR(jumpStart.scaleY, 1.12, tol);
    const HopState jumpEnd = hopState(at(1749.999));
    EXPECT_NEAR(jumpEnd.scaleX, 1.1, tol);
    EXPECT_NEAR(jumpEnd.scaleY, 0.88, tol);
    const HopState landEnd = hopState(at(1979.999));
    EXPECT_NEAR(landEnd.scaleX, 1, tol);
    EXPECT_NEAR(landEnd.scaleY, 1, tol);
}

TEST(WiggleMotion, FacesFollowTheTimetableAndTheSwayDrifts)
{
    EXPECT_EQ(wiggleLoopMilliseconds(), 7340);
    const std::pair<double, const char16_t *> faces[] = {
        {0.0, u"happy"}, {2.0, u"blink"}, {2.2, u"happy"}, {4.0, u"wink"},
        {6.5, u"uwu"},   {7.2, u"blink"}, {7.5, u"happy"}, {7.34 + 4.0, u"wink"},
    };
    for (const auto &[t, face] : faces)
        EXPECT_EQ(wiggleFrame(t).expression, QString::fromUtf16(face)) << t;

    const WiggleFrame start = wiggleFrame(0);
    EXPECT_NEAR(start.sway, 0, tol);
    EXPECT_NEAR(start.angle, 0, tol);
    const double quarter = (2 * M_PI / 0.0022) / 4 / 1000;  // seconds to the first extreme
    EXPECT_NEAR(wiggleFrame(quarter).sway, 0.8, tol);
    EXPECT_NEAR(wiggleFrame(quarter).angle, 5.0, tol);
    EXPECT_NEAR(wiggleFrame(3 * quarter).angle, -5.0, tol);
    // The sway is not tied to the face loop.
    EXPECT_GT(std::abs(wiggleFrame(1.0).sway - wiggleFrame(1.0 + 7.34).sway), 0.05);
}

TEST(BodyMotions, HumAndBlowAtTheListedTimes)
{
    const MotionFrame hum0 = Motions::hum(0, px);
    EXPECT_EQ(hum0.expr, u"uwu"_qs);
    EXPECT_NEAR(hum0.sy, 1.05, tol);
    EXPECT_NEAR(hum0.tx, 0, tol);
    EXPECT_NEAR(hum0.rot, 0, tol);
    for (const AccessoryFrame &note : hum0.accessories)
        EXPECT_NEAR(note.opacity, 0, tol);
    const MotionFrame hum1 = Motions::hum(1.0, px);
    EXPECT_NEAR(hum1.accessories[0].opacity, 1, tol);
    EXPECT_NEAR(hum1.accessories[1].opacity, (0.1 / 2.6) / 0.18, tol);
    EXPECT_NEAR(hum1.accessories[2].opacity, 0, tol);
    EXPECT_NEAR(hum1.accessories[0].x, 2 * px + (1 / 2.6 - 0.5) * 10, tol);
    EXPECT_NEAR(hum1.accessories[0].y, 6 - 46 / 2.6 - px, tol);

    EXPECT_NEAR(Motions::blow(at(1300), px).accessories[0].opacity, 0, tol);
    const MotionFrame blow = Motions::blow(at(1600), px);
    const AccessoryFrame &puff = blow.accessories[0];
    EXPECT_NEAR(puff.opacity, 1, tol);
    EXPECT_NEAR(puff.x, 3.4 * px + 30, tol);
    EXPECT_NEAR(puff.y, -1.5 * px - 6.75, tol);
    EXPECT_NEAR(puff.scale, 1.25, tol);
    EXPECT_EQ(blow.expr, u"blow"_qs);
    // The deliberate snap from the held breath into the blow.
    EXPECT_NEAR(Motions::blow(at(1249), px).sx, 0.96, tol);
    EXPECT_NEAR(Motions::blow(at(1251), px).sx, 1.0, 0.01);
}

TEST(BodyMotions, StampStretchDozeAwwAndSearchAtTheListedTimes)
{
    const MotionFrame stamp = Motions::stamp(at(950), px);
    EXPECT_EQ(stamp.expr, u"blink"_qs);
    EXPECT_NEAR(stamp.accessories[0].opacity, 0.55, tol);
    EXPECT_NEAR(stamp.accessories[2].opacity, 0.8, tol);
    EXPECT_NEAR(stamp.accessories[3].scale, 1.2, tol);
    EXPECT_NEAR(stamp.accessories[2].x, -2 * px - 10, tol);
    EXPECT_NEAR(stamp.accessories[1].y, 4.5 * px, tol);

    const MotionFrame stretch = Motions::stretch(at(1400), px);
    EXPECT_EQ(stretch.expr, u"blink"_qs);
    EXPECT_NEAR(stretch.ty, -20, tol);
    EXPECT_NEAR(stretch.sx, 0.8, tol);
    EXPECT_NEAR(stretch.sy, 1.36, tol);
    // The drop ends squashed and snaps to rest.
    const MotionFrame dropEnd = Motions::stretch(at(1899.999), px);
    EXPECT_NEAR(dropEnd.ty, 4, tol);
    EXPECT_NEAR(dropEnd.sx, 1.13, tol);
    EXPECT_NEAR(Motions::stretch(at(1900), px).ty, 0, tol);

    bool anyVisible = false;
    for (const AccessoryFrame &z : Motions::doze(at(1899), px).accessories)
        anyVisible = anyVisible || z.opacity > 0;
    EXPECT_TRUE(anyVisible);
    for (const AccessoryFrame &z : Motions::doze(at(1900), px).accessories)
        EXPECT_EQ(z.opacity, 0);

    const MotionFrame squish = Motions::aww(at(80), px);
    EXPECT_EQ(squish.expr, u"uwu"_qs);
    EXPECT_NEAR(squish.sx, 0.94, tol);
    EXPECT_NEAR(squish.sy, 1.1, tol);
    EXPECT_EQ(Motions::aww(at(600), px).expr, u"happy"_qs);

    const Motions::SearchFrame left = Motions::search(at(1000), px);
    EXPECT_EQ(left.d, -1);
    EXPECT_NEAR(left.frame.tx, -0.6 * px, tol);
    EXPECT_NEAR(left.frame.rot, -5, tol);
    const Motions::SearchFrame right = Motions::search(at(2000), px);
    EXPECT_EQ(right.d, 1);
    EXPECT_NEAR(right.frame.tx, 0.6 * px, tol);
    EXPECT_NEAR(right.frame.rot, 5, tol);
}

TEST(BodyMotions, SearchEasesEachStepOverAThirdOfASecond)
{
    // Halfway through the ease from 0 to −1 the standard ease-in-out is at half.
    EXPECT_NEAR(Motions::searchShown(at(800 + 175), px).rot, -2.5, 0.01);
    const double early = Motions::searchShown(at(850), px).rot;
    EXPECT_LT(early, 0);
    EXPECT_GT(early, -1);
    EXPECT_NEAR(Motions::searchShown(at(1150), px).rot, -5, tol);
    EXPECT_NEAR(Motions::searchShown(at(1500 + 175), px).rot, -2.5, 0.01);  // back towards 0
    EXPECT_NEAR(Motions::searchShown(at(2600 + 175), px).tx, 0.3 * px, 0.01);
    // Between steps the shown pose is the step's own.
    for (double ms : {0.0, 400.0, 1300.0, 1860.0, 2400.0, 3300.0})
        expectSamePose(Motions::searchShown(at(ms), px), Motions::search(at(ms), px).frame);
    // Continuous: no frame-to-frame jump larger than the ease's steepest step.
    double previous = Motions::searchShown(0, px).rot;
    for (double ms = 0; ms < 3400; ms += 1000.0 / 60) {
        const double now = Motions::searchShown(at(ms), px).rot;
        EXPECT_LT(std::abs(now - previous), 0.6) << ms;
        previous = now;
    }
}

TEST(BodyMotions, RepeatAccessoriesStayInRange)
{
    for (const BodyMotion &motion : bodyMotions()) {
        SCOPED_TRACE(motion.name);
        for (double t = 0; t < 6; t += 0.0173) {
            const MotionFrame f = motion.frame(t, px);
            ASSERT_EQ(f.accessories.size(), motion.accessories);
            EXPECT_EQ(f.headroom, motion.headroom);
            EXPECT_EQ(f.shadowOpacity, 0.16);
            EXPECT_EQ(f.shadowScaleX, 1.0);
            for (size_t i = 0; i < f.accessories.size(); ++i) {
                EXPECT_EQ(f.accessories[i].id, int(i));
                EXPECT_GE(f.accessories[i].opacity, 0);
                EXPECT_LE(f.accessories[i].opacity, 1);
            }
        }
        // Away from phase boundaries (odd sample times), a period later is the same pose.
        for (double t = motion.settledAt + 0.0137; t < motion.settledAt + 4; t += 0.0731)
            expectSamePose(motion.frame(t, px), motion.frame(t + motion.period, px), 1e-6);
    }
}

TEST(OwnMotions, PeekNodAndSnipAtTheListedTimes)
{
    const PeekFrame peek0 = peekFrame(0, px);
    EXPECT_NEAR(peek0.r, -3, tol);
    EXPECT_NEAR(peek0.x, -4 * px, tol);
    EXPECT_NEAR(peek0.y, 4 - px, tol);
    EXPECT_NEAR(peek0.a, -8, tol);
    EXPECT_EQ(peek0.g, 0);
    const PeekFrame peekMid = peekFrame(1.25, px);
    EXPECT_NEAR(peekMid.r, 3, tol);
    EXPECT_NEAR(peekMid.x, 4 * px, tol);
    EXPECT_NEAR(peekMid.y, -5 - px, tol);
    EXPECT_NEAR(peekMid.a, 6, tol);
    EXPECT_EQ(peekMid.g, 1);
    EXPECT_EQ(peekFrame(0.42 * 2.5, px).g, 0);
    EXPECT_EQ(peekFrame(0.66 * 2.5, px).g, 0);

    const NodFrame bottom = nodFrame(at(300));
    EXPECT_NEAR(bottom.n, 9, tol);
    EXPECT_NEAR(bottom.v, 3, tol);
    EXPECT_NEAR(nodFrame(at(750)).n, 9 * smoothstep(0.5), tol);
    for (double ms : {1200.0, 1700.0, 2199.0}) {
        EXPECT_EQ(nodFrame(at(ms)).n, 0);
        EXPECT_EQ(nodFrame(at(ms)).v, 0);
    }
    EXPECT_EQ(nodBadge(0.5, 1.1).opacity, 0);
    const BadgeFrame badge = nodBadge(1.1, 0);
    EXPECT_NEAR(badge.opacity, 1, tol);
    EXPECT_NEAR(badge.scale, 0.85, tol);
    EXPECT_NEAR(badge.y, -7, tol);
    EXPECT_NEAR(nodFrame(1.1).badges[0].y, -7, tol);

    const SnipFrame snip0 = snipFrame(0);
    EXPECT_NEAR(snip0.o, 0, tol);
    EXPECT_NEAR(snip0.snippets[0].opacity, 0.85, tol);
    EXPECT_EQ(snip0.snippets[0].spin, 0);
    EXPECT_EQ(snip0.snippets[0].fall, 0);
    const SnipFrame snip700 = snipFrame(at(700));
    EXPECT_EQ(snip700.snippets[0].opacity, 0);
    EXPECT_EQ(snip700.snippets[1].opacity, 0);
    EXPECT_GT(snipFrame(at(1000)).snippets[1].opacity, 0);
    EXPECT_EQ(snip700.snippets[1].x, 4);
}

TEST(OwnMotions, RepeatAfterTheirLoops)
{
    for (double t = 1.1137; t < 5; t += 0.0913) {
        const PeekFrame a = peekFrame(t, px), b = peekFrame(t + 2.5, px);
        EXPECT_NEAR(a.x, b.x, 1e-6);
        EXPECT_NEAR(a.r, b.r, 1e-6);
        const NodFrame n = nodFrame(t), m = nodFrame(t + 2.2);
        EXPECT_NEAR(n.n, m.n, 1e-6);
        EXPECT_NEAR(n.badges[1].opacity, m.badges[1].opacity, 1e-6);
        EXPECT_NEAR(n.badges[0].y, m.badges[0].y, 1e-6);
        const SnipFrame s = snipFrame(t), r = snipFrame(t + 1.6);
        EXPECT_NEAR(s.o, r.o, 1e-6);
        EXPECT_NEAR(s.snippets[1].fall, r.snippets[1].fall, 1e-6);
        for (const BadgeFrame &badge : n.badges) {
            EXPECT_GE(badge.opacity, 0);
            EXPECT_LE(badge.opacity, 1);
        }
    }
}
