#include "svg_simplify.h"

#include <cmath>

namespace {

double distance_to_segment(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length_squared = dx * dx + dy * dy;
    double t = length_squared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length_squared : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

void mark(const std::vector<Point>& points, std::size_t first, std::size_t last, double tolerance,
          std::vector<bool>& keep)
{
    if (last <= first + 1)
        return;
    double farthest = -1;
    std::size_t index = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double d = distance_to_segment(points[i], points[first], points[last]);
        if (d > farthest) {
            farthest = d;
            index = i;
        }
    }
    if (farthest > tolerance) {
        keep[index] = true;
        mark(points, first, index, tolerance, keep);
        mark(points, index, last, tolerance, keep);
    }
}

}   // namespace

double simplify_ring(std::vector<Point>& ring, std::size_t max_points)
{
    if (ring.size() <= max_points || ring.size() < 4)
        return 0;
    // Split the ring at its first point and the point halfway round, both kept.
    std::vector<Point> points = ring;
    points.push_back(ring[0]);
    const std::size_t half = ring.size() / 2;
    for (double tolerance = 0.5;; tolerance *= 1.25) {
        std::vector<bool> keep(points.size(), false);
        keep[0] = keep[half] = true;
        mark(points, 0, half, tolerance, keep);
        mark(points, half, points.size() - 1, tolerance, keep);
        std::vector<Point> kept;
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            if (keep[i])
                kept.push_back(points[i]);
        if (kept.size() <= max_points) {
            ring = std::move(kept);
            return tolerance;
        }
    }
}
