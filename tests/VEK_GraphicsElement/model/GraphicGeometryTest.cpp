#include "VEK_GraphicsElement/SGraphicGeometry.h"

#include <gtest/gtest.h>

using G = SGraphicGeometry;

namespace {
const SRectFloat box{10, 20, 100, 40};
}

// How the outlines look is left to the pixel tests; here what they cannot show.
TEST(GraphicGeometry, UnknownQuadrantsShapesAndThePipe) {
    // Outside 1 to 4 a turnable outline is empty; the triangle collapses to a point.
    EXPECT_TRUE(G::outline(5, 0, box).segments.empty());
    EXPECT_EQ(G::outline(7, 9, box).segments[0].points[1], (SPointFloat{0, 0}));
    EXPECT_FLOAT_EQ(G::cornerRadius(2, 100, 40), 40.0f / 6);
    EXPECT_FALSE(G::outline(8, 1, box).exists);
    EXPECT_EQ(G::outline(42, 1, box).segments[0].type, G::Segment::Rectangle);

    G::Outline pipe = G::outline(9999, 1, box);
    EXPECT_TRUE(pipe.winding);
    EXPECT_EQ(pipe.segments.back().type, G::Segment::Close);
    // Thickness: a tenth of the longer side, along the bottom from the left edge.
    EXPECT_EQ(pipe.segments[0].points[0], (SPointFloat{10, 50}));
}
