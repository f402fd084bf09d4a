#include "browsing/MarqueeSelection.h"
#include "browsing/EdgeScroll.h"
#include "browsing/MarqueePainter.h"

#include <gtest/gtest.h>

namespace pomelark {
namespace {

// Three tiles in a row, 100 px wide with 20 px gaps.
struct Row {
    QList<QUuid> ids{QUuid::createUuid(), QUuid::createUuid(), QUuid::createUuid()};
    QRectF frame(int i) const { return {i * 120.0, 0, 100, 100}; }
    std::optional<QUuid> at(QPointF p) const
    {
        for (int i = 0; i < 3; ++i)
            if (frame(i).contains(p))
                return ids[i];
        return std::nullopt;
    }
    MarqueeSelection::HitTest hits() const
    {
        return [this](const QRectF &r) {
            QSet<QUuid> found;
            for (int i = 0; i < 3; ++i)
                if (MarqueeSelection::meets(frame(i), r))
                    found.insert(ids[i]);
            return found;
        };
    }
};

TEST(MarqueeSelectionTest, TheStartTileFixesWhetherTheDropAddsOrRemoves)
{
    const Row row;
    const QSet<QUuid> selected{row.ids[0], row.ids[2]};
    struct Case {
        QPointF start;
        bool deselect;
    };
    // A selected tile, an unselected one, a gap.
    for (const Case c : {Case{{10, 10}, true}, Case{{130, 10}, false}, Case{{110, 10}, false}}) {
        MarqueeSelection marquee;
        marquee.dragChanged(c.start, {350, 50}, row.at(c.start), selected, row.hits());
        ASSERT_TRUE(marquee.isActive());
        EXPECT_EQ(marquee.marquee()->deselect, c.deselect);
        // Later moves keep the mode even when the start tile's state differs now.
        marquee.dragChanged(c.start, {350, 60}, std::nullopt, {}, row.hits());
        EXPECT_EQ(marquee.marquee()->deselect, c.deselect);
        const auto next = marquee.dragEnded(selected);
        ASSERT_TRUE(next.has_value());
        if (c.deselect)
            EXPECT_TRUE(next->isEmpty()) << "removes only what is selected";
        else
            EXPECT_EQ(*next, QSet<QUuid>(row.ids.begin(), row.ids.end()));
        EXPECT_FALSE(marquee.isActive());
        EXPECT_TRUE(marquee.hitIDs().isEmpty());
    }
}

TEST(MarqueeSelectionTest, HitsFollowTheNormalisedRectangleAndTheScroll)
{
    const Row row;
    MarqueeSelection marquee;
    // Dragged up and to the left: only the middle tile.
    marquee.dragChanged({230, 90}, {215, 5}, std::nullopt, {}, row.hits());
    EXPECT_EQ(marquee.rect(), QRectF(215, 5, 15, 85));
    EXPECT_EQ(marquee.hitIDs(), QSet<QUuid>{row.ids[1]});
    // The content scrolls under a still pointer: the marquee grows with it.
    marquee.shift({-130, 0}, row.hits());
    EXPECT_EQ(marquee.hitIDs(), (QSet<QUuid>{row.ids[0], row.ids[1]}));
    // A straight vertical line still crosses the tile it lies over.
    MarqueeSelection line;
    line.dragChanged({50, 150}, {50, 60}, std::nullopt, {}, row.hits());
    EXPECT_EQ(line.hitIDs(), QSet<QUuid>{row.ids[0]});
    // Touching an edge is not meeting.
    EXPECT_FALSE(MarqueeSelection::meets(QRectF(0, 0, 100, 100), QRectF(100, 0, 10, 10)));
}

TEST(MarqueeSelectionTest, NoHitNoMarqueeAndTinyMarqueesChangeNothing)
{
    const Row row;
    MarqueeSelection marquee;
    EXPECT_FALSE(marquee.dragEnded({row.ids[0]}).has_value());
    marquee.shift({0, 20}, row.hits()); // without a marquee: nothing
    EXPECT_FALSE(marquee.isActive());

    marquee.dragChanged({105, 10}, {112, 90}, std::nullopt, {}, row.hits()); // only the gap
    EXPECT_TRUE(marquee.hitIDs().isEmpty());
    EXPECT_FALSE(marquee.dragEnded({row.ids[0]}).has_value());

    marquee.dragChanged({105, 10}, {105.5, 10.5}, std::nullopt, {}, row.hits());
    EXPECT_FALSE(marquee.isVisible()); // width plus height is 1
    marquee.dragChanged({105, 10}, {106, 10.5}, std::nullopt, {}, row.hits());
    EXPECT_TRUE(marquee.isVisible());
}

TEST(MarqueePainterTest, TheCountPillStaysOnTheVisibleGrid)
{
    const QRectF visible(0, 0, 800, 600);
    const QSizeF pill(70, 18);
    auto place = [&](QRectF marquee) { return MarqueePainter::countLabelRect(marquee, pill, visible); };
    // With room above, it floats over the top-leading corner.
    EXPECT_EQ(place({100, 200, 300, 100}), QRectF(QPointF(100, 176), pill));
    EXPECT_EQ(place({100, 24, 300, 100}), QRectF(QPointF(100, 0), pill));
    // A drag from the first row has no room above: the pill sits just inside.
    EXPECT_EQ(place({100, 10, 300, 100}), QRectF(QPointF(106, 16), pill));
    // The marquee's top scrolled out of sight: under the grid's top edge.
    EXPECT_EQ(place({100, -300, 300, 500}), QRectF(QPointF(106, 6), pill));
    // Dragged out past a side, it stays in.
    EXPECT_EQ(place({-40, 200, 300, 100}).left(), 0);
    EXPECT_EQ(place({760, 200, 300, 100}).right(), 800);
}

TEST(EdgeScrollTest, SpeedGrowsAcrossTheBandsAndCapsBeyondTheEdges)
{
    const double h = 500;
    EXPECT_DOUBLE_EQ(EdgeScroll::speed(h - 35, h), 7);    // half-way into the bottom band
    EXPECT_DOUBLE_EQ(EdgeScroll::speed(h + 200, h), 14);  // below the edge
    EXPECT_DOUBLE_EQ(EdgeScroll::speed(35, h), -7);
    EXPECT_DOUBLE_EQ(EdgeScroll::speed(-300, h), -14);    // above the top
    EXPECT_DOUBLE_EQ(EdgeScroll::speed(70, h), 0);        // inner border of the top band
    EXPECT_DOUBLE_EQ(EdgeScroll::speed(h - 70, h), 0);
    EXPECT_DOUBLE_EQ(EdgeScroll::speed(250, h), 0);
    // A viewport shorter than both bands: the bottom band wins.
    EXPECT_GT(EdgeScroll::speed(50, 100), 0);

    EXPECT_DOUBLE_EQ(EdgeScroll::nextOffset(5, -14, 2000, 500), 0);
    EXPECT_DOUBLE_EQ(EdgeScroll::nextOffset(1495, 14, 2000, 500), 1500);
    EXPECT_DOUBLE_EQ(EdgeScroll::nextOffset(100, 7, 2000, 500), 107);
    EXPECT_DOUBLE_EQ(EdgeScroll::nextOffset(0, 14, 300, 500), 0); // nothing to scroll
}

} // namespace
} // namespace pomelark
