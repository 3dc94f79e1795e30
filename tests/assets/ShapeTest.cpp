// Distance functions and painting: inside is negative, outlines sit on the edge, light comes
// from the upper left.
#include <gtest/gtest.h>

#include "assets/pictures/Paint.h"
#include "assets/pictures/Shape.h"

namespace pictures {
namespace {

TEST(ShapeDistance, CircleIsNegativeInsideAndZeroOnTheRim) {
    const Shape c = Circle({10, 10}, 5);
    EXPECT_FLOAT_EQ(c({10, 10}), -5.0f);
    EXPECT_NEAR(c({15, 10}), 0.0f, 1e-5f);
    EXPECT_NEAR(c({10, 20}), 5.0f, 1e-5f);
    EXPECT_LE(c.bounds.x0, 5.0f);
    EXPECT_GE(c.bounds.x1, 15.0f);
}

TEST(ShapeDistance, PolygonSignFollowsTheOutlineEitherWayRound) {
    const Shape cw = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const Shape ccw = Polygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    for (const Shape* s : {&cw, &ccw}) {
        EXPECT_NEAR((*s)({5, 5}), -5.0f, 1e-4f);
        EXPECT_NEAR((*s)({13, 5}), 3.0f, 1e-4f);
        EXPECT_NEAR((*s)({13, 14}), 5.0f, 1e-4f);
    }
}

TEST(ShapeDistance, EllipseIsExactOnItsAxes) {
    const Shape e = Ellipse({0, 0}, 20, 10);
    EXPECT_NEAR(e({20, 0}), 0.0f, 1e-3f);
    EXPECT_NEAR(e({0, 10}), 0.0f, 1e-3f);
    EXPECT_LT(e({19, 0}), 0.0f);
    EXPECT_GT(e({0, 11}), 0.0f);
    // Turned a quarter, the long axis stands upright.
    const Shape t = Ellipse({0, 0}, 20, 10, 90.0f);
    EXPECT_NEAR(t({0, 20}), 0.0f, 1e-3f);
    EXPECT_GT(t({20, 0}), 0.0f);
}

TEST(ShapeDistance, CombinationsTakeMinimumMaximumAndCutOut) {
    const Shape a = Circle({0, 0}, 4);
    const Shape b = Circle({6, 0}, 4);
    EXPECT_LT(Union(a, b)({6, 0}), 0.0f);
    EXPECT_LT(Union(std::vector<Shape>{a, b})({-3, 0}), 0.0f);
    EXPECT_LT(Intersect(a, b)({3, 0}), 0.0f);
    EXPECT_GT(Intersect(a, b)({0, 0}), 0.0f);
    EXPECT_GT(Subtract(a, b)({3, 0}), 0.0f);
    EXPECT_LT(Subtract(a, b)({-2, 0}), 0.0f);
    // A smooth union fills the neck between two shapes a plain union leaves open.
    const Shape far = Circle({10, 0}, 4);
    EXPECT_GT(Union(a, far)({5, 0}), 0.0f);
    EXPECT_LT(SmoothUnion(a, far, 6.0f)({5, 0}), 0.0f);
}

TEST(ShapeDistance, BezierRunsFromStartToEnd) {
    const auto pts = Bezier({0, 0}, {5, 10}, {10, 0}, 5);
    ASSERT_EQ(pts.size(), 5u);
    EXPECT_FLOAT_EQ(pts.front().x, 0.0f);
    EXPECT_FLOAT_EQ(pts.back().x, 10.0f);
    EXPECT_FLOAT_EQ(pts[2].y, 5.0f);
}

TEST(PaintShapes, OutlineRingsTheFill) {
    Canvas c(21, 21, 0);
    Style st;
    st.outline = 1.0f;
    st.outlineIndex = 9;
    FillShape(c, Circle({10.5f, 10.5f}, 8), Ramp{{3, 4}}, st);
    EXPECT_EQ(c.At(10, 10) == 3 || c.At(10, 10) == 4, true);
    EXPECT_EQ(c.At(10, 2), 9);   // top edge
    EXPECT_EQ(c.At(18, 10), 9);  // right edge
    EXPECT_EQ(c.At(0, 0), 0);    // outside untouched
}

TEST(PaintShapes, LightComesFromTheUpperLeft) {
    Canvas c(41, 41, 0);
    Style st;
    st.outline = 0.0f;
    st.bevel = 20.0f;
    float upperLeft = 0.0f;
    float lowerRight = 0.0f;
    PaintShape(c, Circle({20.5f, 20.5f}, 19), st, [&](const Surfel& f) {
        if (f.x == 9 && f.y == 9) {
            upperLeft = f.light;
        }
        if (f.x == 31 && f.y == 31) {
            lowerRight = f.light;
        }
    });
    EXPECT_GT(upperLeft, lowerRight + 0.3f);
    EXPECT_GE(lowerRight, st.ambient - 1e-6f);
}

TEST(PaintShapes, RowsGradientRunsFromTopValueToBottomValue) {
    Canvas c(8, 16, 0);
    FillRows(c, Ramp{{1, 2, 3}}, 0, 16, 0.0f, 1.0f);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(c.At(x, 0), 1);
        EXPECT_EQ(c.At(x, 15), 3);
    }
}

}  // namespace
}  // namespace pictures
