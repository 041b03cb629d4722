#include "triangle_check.h"

#include "pictures/pictures.h"

#include <cstdlib>
#include <cstdint>

bool triangulates_exactly(const std::vector<Point>& ring)
{
    std::vector<std::int32_t> points;
    for (const Point& p : ring) {
        points.push_back(static_cast<std::int32_t>(p.x));
        points.push_back(static_cast<std::int32_t>(p.y));
    }
    const std::vector<std::int32_t> triangles =
        triangulate_polygon(static_cast<std::int32_t>(ring.size()), points.data());
    if (triangles.empty())
        return false;
    // Twice the areas, exact in 64-bit integers.
    std::int64_t covered = 0;
    for (std::size_t t = 0; t + 5 < triangles.size(); t += 6) {
        const std::int64_t ax = triangles[t + 2] - triangles[t], ay = triangles[t + 3] - triangles[t + 1];
        const std::int64_t bx = triangles[t + 4] - triangles[t], by = triangles[t + 5] - triangles[t + 1];
        covered += std::llabs(ax * by - ay * bx);
    }
    std::int64_t enclosed = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point& p = ring[i];
        const Point& q = ring[(i + 1) % ring.size()];
        enclosed += static_cast<std::int64_t>(p.x) * static_cast<std::int64_t>(q.y) -
                    static_cast<std::int64_t>(q.x) * static_cast<std::int64_t>(p.y);
    }
    return covered == std::llabs(enclosed);
}
