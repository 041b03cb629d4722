#include "svg_fill.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <numeric>

namespace {

using Ring = std::vector<Point>;

double cross(Point o, Point a, Point b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool same(Point a, Point b)
{
    return a.x == b.x && a.y == b.y;
}

// True when the segments cross at a point inside both (touching ends do not count).
bool segments_cross(Point a, Point b, Point c, Point d)
{
    if (same(a, c) || same(a, d) || same(b, c) || same(b, d))
        return false;
    const double d1 = cross(c, d, a), d2 = cross(c, d, b);
    const double d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    // A vertex lying on the other segment blocks the bridge as well.
    auto on = [](Point p, Point q, Point r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && on(c, d, a)) || (d2 == 0 && on(c, d, b)) || (d3 == 0 && on(a, b, c)) ||
           (d4 == 0 && on(a, b, d));
}

bool crosses_ring(Point a, Point b, const Ring& ring)
{
    for (std::size_t i = 0, n = ring.size(); i < n; ++i)
        if (segments_cross(a, b, ring[i], ring[(i + 1) % n]))
            return true;
    return false;
}

// Splices the hole into the outline with a bridge from the hole's rightmost vertex to
// the nearest outline vertex it can see. False when no such vertex exists.
bool bridge_hole(Ring& outline, const Ring& hole, const std::vector<const Ring*>& others)
{
    const std::size_t m = static_cast<std::size_t>(
        std::max_element(hole.begin(), hole.end(),
                         [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }) -
        hole.begin());
    const Point from = hole[m];
    std::vector<std::size_t> order(outline.size());
    std::iota(order.begin(), order.end(), 0);
    auto distance = [&](std::size_t i) { return std::hypot(outline[i].x - from.x, outline[i].y - from.y); };
    std::sort(order.begin(), order.end(),
              [&](std::size_t i, std::size_t j) { return distance(i) < distance(j); });
    for (std::size_t p : order) {
        const Point to = outline[p];
        bool blocked = crosses_ring(from, to, outline) || crosses_ring(from, to, hole);
        for (const Ring* other : others)
            blocked = blocked || crosses_ring(from, to, *other);
        if (blocked)
            continue;
        Ring joined(outline.begin(), outline.begin() + static_cast<std::ptrdiff_t>(p) + 1);
        for (std::size_t k = 0; k <= hole.size(); ++k)
            joined.push_back(hole[(m + k) % hole.size()]);
        joined.insert(joined.end(), outline.begin() + static_cast<std::ptrdiff_t>(p), outline.end());
        outline = std::move(joined);
        return true;
    }
    return false;
}

struct Region {
    Ring ring;
    int orientation;   // +1 counter-clockwise, -1 clockwise
    std::vector<std::size_t> holes;
    bool is_hole = false;
    bool is_outline = false;
    std::size_t parent = SIZE_MAX;   // innermost outline around a hole
};

// Marks each ring as an outline (filled inside, empty outside), a hole (the reverse) or
// neither (inside already filled area), following the fill rule.
void classify(std::vector<Region>& regions, bool even_odd)
{
    for (std::size_t i = 0; i < regions.size(); ++i) {
        int depth = 0, winding = 0;
        std::size_t innermost = SIZE_MAX;
        double innermost_area = INFINITY;
        for (std::size_t j = 0; j < regions.size(); ++j) {
            if (i == j || !point_in_polygon(regions[j].ring, regions[i].ring[0]))
                continue;
            ++depth;
            winding += regions[j].orientation;
            // Of the rings around this one, the smallest is the nearest.
            const double area = std::fabs(signed_area(regions[j].ring));
            if (area < innermost_area) {
                innermost = j;
                innermost_area = area;
            }
        }
        const bool filled_outside = even_odd ? depth % 2 == 1 : winding != 0;
        const bool filled_inside = even_odd ? depth % 2 == 0 : winding + regions[i].orientation != 0;
        regions[i].is_outline = !filled_outside && filled_inside;
        regions[i].is_hole = filled_outside && !filled_inside;
        regions[i].parent = innermost;
    }
}

}   // namespace

FillPolygons fill_polygons(const std::vector<std::vector<Point>>& outlines, bool even_odd)
{
    FillPolygons result;
    std::vector<Region> regions;
    for (const Ring& ring : outlines) {
        const double area = signed_area(ring);
        if (ring.size() >= 3 && area != 0)
            regions.push_back(Region{ring, area > 0 ? 1 : -1, {}});
        else
            ++result.empty_rings;
    }
    classify(regions, even_odd);
    // A hole belongs to the nearest outline around it; a hole whose nearest enclosing
    // ring is not an outline sits in filled area drawn by a wider ring.
    for (std::size_t i = 0; i < regions.size(); ++i) {
        Region& region = regions[i];
        if (region.is_hole) {
            std::size_t parent = region.parent;
            while (parent != SIZE_MAX && !regions[parent].is_outline)
                parent = regions[parent].parent;
            if (parent != SIZE_MAX)
                regions[parent].holes.push_back(i);
        }
    }
    for (Region& region : regions) {
        if (!region.is_outline)
            continue;
        Ring outline = region.ring;
        if (region.orientation < 0)
            std::reverse(outline.begin(), outline.end());
        // Rightmost holes first, so later bridges need not cross earlier ones.
        std::sort(region.holes.begin(), region.holes.end(), [&](std::size_t a, std::size_t b) {
            auto right = [&](std::size_t k) {
                double x = -INFINITY;
                for (Point p : regions[k].ring)
                    x = std::max(x, p.x);
                return x;
            };
            return right(a) > right(b);
        });
        std::vector<Ring> holes;
        for (std::size_t h : region.holes) {
            holes.push_back(regions[h].ring);
            if (regions[h].orientation > 0)
                std::reverse(holes.back().begin(), holes.back().end());
        }
        for (std::size_t k = 0; k < holes.size(); ++k) {
            std::vector<const Ring*> remaining;
            for (std::size_t j = k + 1; j < holes.size(); ++j)
                remaining.push_back(&holes[j]);
            if (!bridge_hole(outline, holes[k], remaining))
                ++result.unjoined_holes;
        }
        result.polygons.push_back(std::move(outline));
    }
    return result;
}
