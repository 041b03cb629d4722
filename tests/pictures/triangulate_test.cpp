#include "pictures/pictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using Values = std::vector<std::int32_t>;

// Twice the signed area (shoelace), positive when counter-clockwise.
std::int64_t doubled_area(const Values& points)
{
    const std::size_t n = points.size() / 2;
    std::int64_t sum = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t next = (k + 1) % n;
        sum += std::int64_t{points[2 * k]} * points[2 * next + 1] -
               std::int64_t{points[2 * next]} * points[2 * k + 1];
    }
    return sum;
}

std::int64_t triangle_doubled_area(const std::int32_t* t)
{
    return doubled_area(Values(t, t + 6));
}

Values reversed(const Values& points)
{
    Values result;
    for (std::size_t k = points.size() / 2; k-- > 0;) {
        result.push_back(points[2 * k]);
        result.push_back(points[2 * k + 1]);
    }
    return result;
}

Values cut(Values points)
{
    return triangulate_polygon(static_cast<std::int32_t>(points.size() / 2), points.data());
}

// Every triangle counter-clockwise and the triangles exactly covering the polygon's area.
void expect_partition(const Values& polygon, const Values& triangles)
{
    ASSERT_EQ(triangles.size(), 6 * (polygon.size() / 2 - 2));
    std::int64_t total = 0;
    for (std::size_t t = 0; t < triangles.size(); t += 6) {
        const std::int64_t area = triangle_doubled_area(&triangles[t]);
        EXPECT_GT(area, 0) << "triangle " << t / 6;
        total += area;
    }
    EXPECT_EQ(total, std::llabs(doubled_area(polygon)));
}

bool strictly_inside(const std::int32_t* t, std::int64_t x, std::int64_t y)
{
    for (int k = 0; k < 3; ++k) {
        const std::int64_t ax = t[2 * k], ay = t[2 * k + 1];
        const std::int64_t bx = t[(2 * k + 2) % 6], by = t[(2 * k + 3) % 6];
        if ((bx - ax) * (y - ay) - (by - ay) * (x - ax) <= 0)
            return false;
    }
    return true;
}

TEST(Triangulate, TooFewOrCollinearPointsGiveNoTriangles)
{
    EXPECT_TRUE(cut({}).empty());
    EXPECT_TRUE(cut({0, 0, 10, 0}).empty());
    EXPECT_TRUE(cut({0, 0, 10, 0, 20, 0}).empty());
    EXPECT_TRUE(cut({0, 0, 10, 0, 20, 0, 30, 0, 40, 0}).empty());
}

TEST(Triangulate, SingleTriangleComesOutCounterClockwise)
{
    const Values clockwise{0, 0, 0, 10, 10, 0};
    const Values triangles = cut(clockwise);
    ASSERT_EQ(triangles.size(), 6u);
    EXPECT_EQ(triangles, (Values{10, 0, 0, 10, 0, 0}));
}

TEST(Triangulate, ConcavePolygonSameAreaInBothDirections)
{
    // A square with a notch cut into its top edge.
    const Values notched{0, 0, 40, 0, 40, 30, 20, 10, 0, 30};
    expect_partition(notched, cut(notched));
    expect_partition(notched, cut(reversed(notched)));
}

TEST(Triangulate, EarWithAPointInsideIsNotCut)
{
    // The first corner tried, at (40,0), would swallow the reflex point (30,5).
    const Values arrow{0, 0, 40, 0, 40, 40, 30, 5, 0, 40};
    const Values triangles = cut(arrow);
    expect_partition(arrow, triangles);
    for (std::size_t t = 0; t < triangles.size(); t += 6)
        EXPECT_FALSE(strictly_inside(&triangles[t], 30, 5));
}

TEST(Triangulate, LargestElementPartitionsWithoutSwallowingVertices)
{
    Values star;
    for (int k = 0; k < 500; ++k) {
        const double radius = k % 2 ? 3000.0 : 9000.0 - 11.0 * k;
        const double angle = 2.0 * M_PI * k / 500.0;
        star.push_back(static_cast<std::int32_t>(std::lround(radius * std::cos(angle))));
        star.push_back(static_cast<std::int32_t>(std::lround(radius * std::sin(angle))));
    }
    const Values triangles = cut(star);
    expect_partition(star, triangles);
    for (std::size_t t = 0; t < triangles.size(); t += 6)
        for (std::size_t p = 0; p < star.size(); p += 2)
            ASSERT_FALSE(strictly_inside(&triangles[t], star[p], star[p + 1]))
                << "triangle " << t / 6 << " holds vertex " << p / 2;
}

// Ear clipping as plainly as it can be written: every remaining point tested against
// every candidate ear. The library's grid must give the same triangles, and fail on
// the same polygons.
Values model_triangulate(Values p)
{
    std::int32_t n = static_cast<std::int32_t>(p.size() / 2);
    if (n < 3)
        return {};
    auto x = [&](std::int32_t k) { return p[static_cast<std::size_t>(2 * k)]; };
    auto y = [&](std::int32_t k) { return p[static_cast<std::size_t>(2 * k + 1)]; };
    auto cross = [&](std::int32_t a, std::int32_t b, std::int32_t c) {   // (b - a) x (c - a)
        return (x(b) - x(a)) * (y(c) - y(a)) - (y(b) - y(a)) * (x(c) - x(a));
    };
    std::int32_t m = 0;
    std::int32_t lowest = 1000000;
    for (std::int32_t k = 0; k < n; ++k)
        if (y(k) < lowest)
            lowest = y(k), m = k;
    if (cross(m, (m + 1) % n, (m + n - 1) % n) < 0)
        p = reversed(p);
    Values out;
    std::int32_t i = 0;
    std::int32_t ears = 0;
    while (n != 2) {
        const std::int32_t a = i, b = (i + 1) % n, c = (i + 2) % n;
        bool ear = (x(b) - x(a)) * (y(c) - y(b)) - (y(b) - y(a)) * (x(c) - x(b)) > 0;
        for (std::int32_t q = 0; ear && q < n; ++q)
            if (q != a && q != b && q != c && cross(a, b, q) > 0 && cross(b, c, q) > 0 && cross(c, a, q) > 0)
                ear = false;
        if (ear) {
            out.insert(out.end(), {x(a), y(a), x(b), y(b), x(c), y(c)});
            ++ears;
            p.erase(p.begin() + 2 * b, p.begin() + 2 * b + 2);
            --n;
        }
        if (++i >= n) {
            i = 0;
            if (--ears < 0)
                return {};
        }
    }
    return out;
}

TEST(Triangulate, GridGivesTheSameTrianglesAsTestingEveryPoint)
{
    std::uint32_t state = 99;
    auto next = [&](std::int32_t low, std::int32_t high) {
        state = state * 1664525u + 1013904223u;
        return low + static_cast<std::int32_t>((state >> 8) % static_cast<std::uint32_t>(high - low + 1));
    };
    int failures = 0;
    for (int round = 0; round < 3000; ++round) {
        Values polygon;
        const std::int32_t n = next(3, 60);
        const bool star = round % 2 == 0;
        for (std::int32_t k = 0; k < n; ++k) {
            if (star) {   // simple, with repeated radii and collinear runs now and then
                const double radius = next(1, 4) * 25.0;
                const double angle = 2.0 * M_PI * k / n;
                polygon.push_back(static_cast<std::int32_t>(std::lround(radius * std::cos(angle))));
                polygon.push_back(static_cast<std::int32_t>(std::lround(radius * std::sin(angle))));
            } else {   // scattered on a small grid: crossings, duplicates, collinear points
                polygon.push_back(next(-6, 6));
                polygon.push_back(next(-6, 6));
            }
        }
        const Values expected = model_triangulate(polygon);
        failures += expected.empty();
        ASSERT_EQ(cut(polygon), expected) << "round " << round;
    }
    EXPECT_GT(failures, 100);   // the failing path is exercised too
}

}   // namespace
