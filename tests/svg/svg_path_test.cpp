// Path data, transform lists and number syntax: every command, relative and absolute,
// with the curve points checked against values worked out by hand.
#include "svg_path.h"
#include "svg_transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

std::vector<Polyline> parse(const char* data, double tolerance = 0.05)
{
    std::vector<Polyline> lines;
    std::string error;
    EXPECT_TRUE(parse_path_data(data, tolerance, lines, error)) << data << ": " << error;
    return lines;
}

std::string parse_error(const char* data)
{
    std::vector<Polyline> lines;
    std::string error;
    EXPECT_FALSE(parse_path_data(data, 0.1, lines, error)) << data;
    return error;
}

void expect_points(const Polyline& line, std::vector<Point> expected)
{
    ASSERT_EQ(line.points.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(line.points[i].x, expected[i].x, 1e-9) << "point " << i;
        EXPECT_NEAR(line.points[i].y, expected[i].y, 1e-9) << "point " << i;
    }
}

double lowest_y(const Polyline& line)
{
    return std::min_element(line.points.begin(), line.points.end(),
                            [](Point a, Point b) { return a.y < b.y; })
        ->y;
}

double highest_y(const Polyline& line)
{
    return std::max_element(line.points.begin(), line.points.end(),
                            [](Point a, Point b) { return a.y < b.y; })
        ->y;
}

TEST(PathData, StraightCommandsAbsoluteAndRelativeAgree)
{
    const auto absolute = parse("M10 20 L30 40 H50 V60 Z");
    const auto relative = parse("m10 20 l20 20 h20 v20 z");
    ASSERT_EQ(absolute.size(), 1u);
    ASSERT_EQ(relative.size(), 1u);
    expect_points(absolute[0], {{10, 20}, {30, 40}, {50, 40}, {50, 60}});
    expect_points(relative[0], {{10, 20}, {30, 40}, {50, 40}, {50, 60}});
    EXPECT_TRUE(absolute[0].closed);
    EXPECT_TRUE(relative[0].closed);
}

TEST(PathData, CoordinatesAfterMovetoAreLinetosAndNumbersMayRunTogether)
{
    expect_points(parse("M0 0 10 0 10 10")[0], {{0, 0}, {10, 0}, {10, 10}});
    expect_points(parse("m5 5 10 0 0 10")[0], {{5, 5}, {15, 5}, {15, 15}});
    expect_points(parse("M.5.5L-1e1-2")[0], {{0.5, 0.5}, {-10, -2}});
    expect_points(parse("M1,2,3,4")[0], {{1, 2}, {3, 4}});
}

TEST(PathData, DrawingAfterClosepathStartsAtTheSubpathStart)
{
    const auto lines = parse("M10 10 L20 10 L20 20 Z l5 0");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].closed);
    expect_points(lines[1], {{10, 10}, {15, 10}});
    EXPECT_FALSE(lines[1].closed);
}

TEST(PathData, ClosingPointEqualToTheStartIsNotRepeated)
{
    expect_points(parse("M0 0 L10 0 L10 10 L0 0 Z")[0], {{0, 0}, {10, 0}, {10, 10}});
}

TEST(PathData, LoneMovetosDrawNothing)
{
    const auto lines = parse("M5 5 M10 10 L20 20 M30 30");
    ASSERT_EQ(lines.size(), 1u);
    expect_points(lines[0], {{10, 10}, {20, 20}});
}

TEST(PathData, QuadraticAndItsSmoothReflection)
{
    // The middle of M0,0 Q50,100 100,0 is (50, 50).
    const auto quadratic = parse("M0 0 Q50 100 100 0");
    EXPECT_NEAR(highest_y(quadratic[0]), 50, 0.05);
    EXPECT_NEAR(quadratic[0].points.back().x, 100, 1e-9);
    // T mirrors (25, 50) about (50, 0) to (75, -50): the second hump dips to -25.
    const auto smooth = parse("M0 0 Q25 50 50 0 T100 0");
    EXPECT_NEAR(highest_y(smooth[0]), 25, 0.05);
    EXPECT_NEAR(lowest_y(smooth[0]), -25, 0.05);
    const auto relative = parse("m0 0 q25 50 50 0 t50 0");
    EXPECT_NEAR(lowest_y(relative[0]), -25, 0.05);
}

TEST(PathData, CubicAndItsSmoothReflection)
{
    // Bernstein weights at t = 1/2: y = 3/8 * 100 + 3/8 * 100 = 75.
    EXPECT_NEAR(highest_y(parse("M0 0 C0 100 100 100 100 0")[0]), 75, 0.05);
    // S mirrors (50, 50) about (50, 0): y at the middle of the second curve is -37.5.
    const auto smooth = parse("M0 0 C0 50 50 50 50 0 S100 -50 100 0");
    EXPECT_NEAR(lowest_y(smooth[0]), -37.5, 0.05);
    EXPECT_NEAR(lowest_y(parse("m0 0 c0 50 50 50 50 0 s50 -50 50 0")[0]), -37.5, 0.05);
    // Without a cubic before it, S takes the current point as its first control.
    // y = 3 (1 - t) t^2 100 peaks at t = 2/3 with 400/9.
    EXPECT_NEAR(highest_y(parse("M0 0 S100 100 100 0")[0]), 400.0 / 9, 0.05);
}

TEST(PathData, ArcsFollowTheirFlagsAndStayOnTheCircle)
{
    // Sweep 1 turns clockwise on screen (y down): over the top, through (50, -50).
    const auto over = parse("M0 0 A50 50 0 0 1 100 0");
    EXPECT_NEAR(lowest_y(over[0]), -50, 0.06);
    const auto under = parse("M0 0 A50 50 0 0 0 100 0");
    EXPECT_NEAR(highest_y(under[0]), 50, 0.06);
    for (const Point& p : over[0].points)
        EXPECT_NEAR(std::hypot(p.x - 50, p.y), 50, 1e-6);
    // Radii too small to span the ends grow until they just do.
    const auto grown = parse("M0 0 A10 10 0 0 1 100 0");
    for (const Point& p : grown[0].points)
        EXPECT_NEAR(std::hypot(p.x - 50, p.y), 50, 1e-6);
}

TEST(PathData, ArcFlagsMayBePackedWithoutSeparators)
{
    const auto spaced = parse("M0 0 a50 50 0 1 0 100 0");
    const auto packed = parse("M0,0a50 50 0 10100 0");
    ASSERT_EQ(spaced[0].points.size(), packed[0].points.size());
    for (std::size_t i = 0; i < spaced[0].points.size(); ++i) {
        EXPECT_DOUBLE_EQ(spaced[0].points[i].x, packed[0].points[i].x);
        EXPECT_DOUBLE_EQ(spaced[0].points[i].y, packed[0].points[i].y);
    }
}

TEST(PathData, FinerToleranceGivesMorePointsWithinIt)
{
    const auto coarse = parse("M0 0 C0 100 100 100 100 0", 1.0);
    const auto fine = parse("M0 0 C0 100 100 100 100 0", 0.01);
    EXPECT_LT(coarse[0].points.size(), fine[0].points.size());
    EXPECT_NEAR(highest_y(coarse[0]), 75, 1.0);
}

TEST(PathData, ErrorsNameTheCommandAndItsPlace)
{
    EXPECT_NE(parse_error("L10 10").find("moveto"), std::string::npos);
    EXPECT_NE(parse_error("M0 0 L10").find("'L' at character 6"), std::string::npos);
    EXPECT_NE(parse_error("M0 0 X 5").find("'X' at character 6"), std::string::npos);
    EXPECT_NE(parse_error("M0 0 A5 5 0 2 0 10 10").find("'A'"), std::string::npos);
}

TEST(TransformList, EachKindMovesAPointAsExpected)
{
    struct Case {
        const char* text;
        Point in;
        Point out;
    };
    const Case cases[] = {
        {"translate(10,20) scale(2)", {1, 1}, {12, 22}},
        {"translate(5)", {1, 1}, {6, 1}},
        {"scale(2 3)", {1, 1}, {2, 3}},
        {"rotate(90)", {1, 0}, {0, 1}},
        {"rotate(90 10 10)", {20, 10}, {10, 20}},
        {"matrix(1 2 3 4 5 6)", {1, 1}, {9, 12}},
        {"skewX(45)", {0, 10}, {10, 10}},
        {"skewY(45)", {10, 0}, {10, 10}},
        {"scale(2),translate(1,1)", {0, 0}, {2, 2}},
    };
    for (const Case& c : cases) {
        Affine transform;
        std::string error;
        ASSERT_TRUE(parse_transform(c.text, transform, error)) << c.text << ": " << error;
        const Point out = apply(transform, c.in);
        EXPECT_NEAR(out.x, c.out.x, 1e-9) << c.text;
        EXPECT_NEAR(out.y, c.out.y, 1e-9) << c.text;
    }
}

TEST(TransformList, BadListsAreRejectedWithTheirPlace)
{
    for (const char* text : {"scale()", "wobble(1)", "translate(1,2", "rotate(1 2)", "matrix(1 2 3)"}) {
        Affine transform;
        std::string error;
        EXPECT_FALSE(parse_transform(text, transform, error)) << text;
        EXPECT_NE(error.find("character 1"), std::string::npos) << error;
    }
    Affine transform;
    std::string error;
    EXPECT_FALSE(parse_transform("scale(2) oops", transform, error));
    EXPECT_NE(error.find("character 10"), std::string::npos) << error;
}

}   // namespace
