// Ear clipping. The polygon is turned counter-clockwise, then corners are cut off in
// passes over the remaining points. Whether an ear is blocked depends only on whether
// some remaining point lies strictly inside it, so the points are kept in a coarse grid
// and each test looks only at the cells under the ear: the result is the same as
// testing every point, and a 500-point element stays fast.
#include "pictures/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using Wide = std::int64_t;

struct Point {
    Wide x;
    Wide y;
};

// Differences of 32-bit coordinates take 33 bits and their products 66, so a file's
// extreme coordinates need the 128-bit product to keep the sign exact.
using Product = __int128;

Product cross(Point u, Point v)
{
    return Product{u.x} * v.y - Product{u.y} * v.x;
}

Point minus(Point a, Point b)
{
    return Point{a.x - b.x, a.y - b.y};
}

bool strictly_left(Point from, Point to, Point q)
{
    return cross(minus(to, from), minus(q, from)) > 0;
}

// The remaining points bucketed by position; removed points are marked dead.
struct PointGrid {
    Wide min_x, min_y, span_x, span_y;
    Wide side;
    std::vector<std::int32_t> cell_start;   // side * side + 1 offsets into entries
    std::vector<Point> entries;
    std::vector<std::uint8_t> alive;
    std::int32_t alive_count;
};

Wide cell_coordinate(Wide v, Wide min, Wide span, Wide side)
{
    return (v - min) * side / (span + 1);
}

Wide cell_of(const PointGrid& grid, Point p)
{
    return cell_coordinate(p.y, grid.min_y, grid.span_y, grid.side) * grid.side +
           cell_coordinate(p.x, grid.min_x, grid.span_x, grid.side);
}

// Buckets the current points; entry_of[k] tells where point k went.
void build_grid(const std::vector<Point>& points, PointGrid* grid, std::vector<std::int32_t>* entry_of)
{
    const auto [min_x, max_x] =
        std::minmax_element(points.begin(), points.end(), [](Point a, Point b) { return a.x < b.x; });
    const auto [min_y, max_y] =
        std::minmax_element(points.begin(), points.end(), [](Point a, Point b) { return a.y < b.y; });
    grid->min_x = min_x->x;
    grid->min_y = min_y->y;
    grid->span_x = max_x->x - min_x->x;
    grid->span_y = max_y->y - min_y->y;
    grid->side = std::clamp<Wide>(static_cast<Wide>(std::sqrt(points.size() / 2.0)), 1, 64);
    const std::size_t cells = static_cast<std::size_t>(grid->side * grid->side);
    grid->cell_start.assign(cells + 1, 0);
    for (Point p : points)
        ++grid->cell_start[static_cast<std::size_t>(cell_of(*grid, p)) + 1];
    for (std::size_t c = 0; c < cells; ++c)
        grid->cell_start[c + 1] += grid->cell_start[c];
    std::vector<std::int32_t> fill(grid->cell_start.begin(), grid->cell_start.end() - 1);
    grid->entries.resize(points.size());
    entry_of->resize(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        const std::int32_t slot = fill[static_cast<std::size_t>(cell_of(*grid, points[k]))]++;
        grid->entries[static_cast<std::size_t>(slot)] = points[k];
        (*entry_of)[k] = slot;
    }
    grid->alive.assign(points.size(), 1);
    grid->alive_count = static_cast<std::int32_t>(points.size());
}

// Whether any remaining point lies strictly inside the counter-clockwise triangle abc,
// that is strictly left of all three of its edges.
bool ear_blocked(const PointGrid& grid, Point a, Point b, Point c)
{
    const Wide low_x = std::min({a.x, b.x, c.x});
    const Wide high_x = std::max({a.x, b.x, c.x});
    const Wide low_y = std::min({a.y, b.y, c.y});
    const Wide high_y = std::max({a.y, b.y, c.y});
    const Wide first_column = cell_coordinate(low_x, grid.min_x, grid.span_x, grid.side);
    const Wide last_column = cell_coordinate(high_x, grid.min_x, grid.span_x, grid.side);
    const Wide first_row = cell_coordinate(low_y, grid.min_y, grid.span_y, grid.side);
    const Wide last_row = cell_coordinate(high_y, grid.min_y, grid.span_y, grid.side);
    for (Wide row = first_row; row <= last_row; ++row) {
        for (Wide column = first_column; column <= last_column; ++column) {
            const auto cell = static_cast<std::size_t>(row * grid.side + column);
            for (std::int32_t e = grid.cell_start[cell]; e < grid.cell_start[cell + 1]; ++e) {
                const Point q = grid.entries[static_cast<std::size_t>(e)];
                if (grid.alive[static_cast<std::size_t>(e)] && q.x > low_x && q.x < high_x && q.y > low_y &&
                    q.y < high_y && strictly_left(a, b, q) && strictly_left(b, c, q) &&
                    strictly_left(c, a, q))
                    return true;
            }
        }
    }
    return false;
}

// Reverses the points when the corner at the lowest point turns clockwise.
void make_counter_clockwise(std::vector<Point>* points)
{
    std::size_t lowest = 0;
    Wide lowest_y = 1000000;
    for (std::size_t k = 0; k < points->size(); ++k) {
        if ((*points)[k].y < lowest_y) {
            lowest_y = (*points)[k].y;
            lowest = k;
        }
    }
    const std::size_t n = points->size();
    const Point m = (*points)[lowest];
    const Point after = (*points)[(lowest + 1) % n];
    const Point before = (*points)[(lowest + n - 1) % n];
    if (cross(minus(after, m), minus(before, m)) < 0)
        std::reverse(points->begin(), points->end());
}

void append_triangle(std::vector<std::int32_t>* triangles, Point a, Point b, Point c)
{
    for (Point p : {a, b, c}) {
        triangles->push_back(static_cast<std::int32_t>(p.x));
        triangles->push_back(static_cast<std::int32_t>(p.y));
    }
}

void write_back(const std::vector<Point>& points, std::int32_t* out)
{
    for (std::size_t k = 0; k < points.size(); ++k) {
        out[2 * k] = static_cast<std::int32_t>(points[k].x);
        out[2 * k + 1] = static_cast<std::int32_t>(points[k].y);
    }
}

}   // namespace

std::vector<std::int32_t> triangulate_polygon(std::int32_t n, std::int32_t* points)
{
    if (n < 3)
        return {};
    std::vector<Point> polygon(static_cast<std::size_t>(n));
    for (std::size_t k = 0; k < polygon.size(); ++k)
        polygon[k] = Point{points[2 * k], points[2 * k + 1]};
    make_counter_clockwise(&polygon);

    std::vector<std::int32_t> triangles;
    triangles.reserve(6 * static_cast<std::size_t>(n - 2));
    PointGrid grid;
    std::vector<std::int32_t> entry_of;
    build_grid(polygon, &grid, &entry_of);

    std::size_t i = 0;
    std::int32_t ears = 0;
    bool failed = false;
    while (polygon.size() > 2) {
        const std::size_t count = polygon.size();
        const std::size_t middle = (i + 1) % count;
        const Point a = polygon[i];
        const Point b = polygon[middle];
        const Point c = polygon[(i + 2) % count];
        if (cross(minus(b, a), minus(c, b)) > 0 && !ear_blocked(grid, a, b, c)) {
            append_triangle(&triangles, a, b, c);
            ++ears;
            grid.alive[static_cast<std::size_t>(entry_of[middle])] = 0;
            --grid.alive_count;
            polygon.erase(polygon.begin() + static_cast<std::ptrdiff_t>(middle));
            entry_of.erase(entry_of.begin() + static_cast<std::ptrdiff_t>(middle));
        }
        if (++i < polygon.size())
            continue;
        // A pass may find no ear only while earlier passes clipped more ears than
        // there have been passes; otherwise the polygon cannot be cut.
        i = 0;
        if (--ears < 0) {
            failed = true;
            break;
        }
        if (2 * static_cast<std::size_t>(grid.alive_count) < grid.entries.size())
            build_grid(polygon, &grid, &entry_of);
    }
    write_back(polygon, points);
    if (failed)
        return {};
    return triangles;
}
