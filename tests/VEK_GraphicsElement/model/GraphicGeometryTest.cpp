#include "VEK_GraphicsElement/SGraphicGeometry.h"

#include <gtest/gtest.h>

using G = SGraphicGeometry;

namespace {
const SRectFloat box{10, 20, 100, 40};
}

TEST(GraphicGeometry, TurnedOutlinesPutTheirNarrowSideApexOrCentreWhereTheQuadrantSays) {
    G::Outline trapez = G::outline(4, 1, box);
    ASSERT_EQ(trapez.segments.size(), 1u);
    const auto& top = trapez.segments[0].points;
    EXPECT_EQ(top[0], (SPointFloat{35, 20})); // x + 25
    EXPECT_EQ(top[1], (SPointFloat{85, 20})); // x + 75
    EXPECT_EQ(G::outline(4, 2, box).segments[0].points[1], (SPointFloat{110, 30}));

    EXPECT_EQ(G::outline(7, 2, box).segments[0].points[1], (SPointFloat{110, 40})); // apex right
    EXPECT_EQ(G::outline(7, 3, box).segments[0].points[2], (SPointFloat{60, 60}));  // apex at the bottom

    const G::Segment half = G::outline(5, 1, box).segments[0];
    EXPECT_EQ(half.type, G::Segment::Pie);
    EXPECT_EQ(half.box, (SRectFloat{10, 20, 100, 80}));
    EXPECT_EQ(half.startAngle, 180);
    const G::Segment quarter = G::outline(6, 4, box).segments[0];
    EXPECT_EQ(quarter.box, (SRectFloat{10, 20, 200, 80}));
    EXPECT_EQ(quarter.startAngle, 180);

    // Outside 1 to 4 a turnable outline is empty; the triangle collapses to a point.
    EXPECT_TRUE(G::outline(5, 0, box).segments.empty());
    EXPECT_EQ(G::outline(7, 9, box).segments[0].points[1], (SPointFloat{0, 0}));
}

TEST(GraphicGeometry, RoundedRectanglesShapeEightAndThePipe) {
    EXPECT_EQ(G::cornerRadius(3, 100, 40), 20); // the short sides become half circles
    EXPECT_FLOAT_EQ(G::cornerRadius(2, 100, 40), 40.0f / 6);
    G::Outline round = G::outline(3, 1, box);
    ASSERT_EQ(round.segments.size(), 8u);
    EXPECT_EQ(round.segments[0].box, (SRectFloat{10, 20, 40, 40}));
    EXPECT_EQ(round.segments[1].points[0], (SPointFloat{30, 20}));

    EXPECT_FALSE(G::outline(8, 1, box).exists);
    EXPECT_EQ(G::outline(42, 1, box).segments[0].type, G::Segment::Rectangle);

    G::Outline pipe = G::outline(9999, 1, box);
    EXPECT_TRUE(pipe.winding);
    EXPECT_EQ(pipe.segments.back().type, G::Segment::Close);
    // Thickness: a tenth of the longer side, along the bottom from the left edge.
    EXPECT_EQ(pipe.segments[0].points[0], (SPointFloat{10, 50}));
}

TEST(GraphicGeometry, LightsAndShadowsComeFromTheLightsSide) {
    G::Gradient g;
    ASSERT_TRUE(G::gradient(1, g));
    EXPECT_EQ(g.mode, 1);
    EXPECT_TRUE(g.highlightFirst);
    ASSERT_TRUE(G::gradient(3, g));
    EXPECT_EQ(g.mode, 0);
    EXPECT_FALSE(g.highlightFirst);
    EXPECT_FALSE(G::gradient(0, g));
    EXPECT_FALSE(G::gradient(9, g));

    EXPECT_EQ(G::shadowOffset(2), (SPointFloat{-5, 5}));
    EXPECT_EQ(G::shadowOffset(8), (SPointFloat{5, 5}));
    EXPECT_EQ(G::shadowOffset(9), (SPointFloat{0, 0}));
    EXPECT_EQ(G::centreLightBox(box), (SRectFloat{-40, 0, 200, 80}));

    EXPECT_FLOAT_EQ(G::shadowFocusScales(100, 40).x, 0.8f);
    EXPECT_FLOAT_EQ(G::shadowFocusScales(100, 40).y, 0.5f);
    EXPECT_EQ(G::shadowFocusScales(19, 40).x, 0);
    EXPECT_EQ(G::shadowFocusScales(0, 0).y, 0);
}
